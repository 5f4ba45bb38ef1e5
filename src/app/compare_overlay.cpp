#include "app/compare_overlay.h"

#include <QColor>

#include "editing/map_grid_model.h"
#include "model/field_table.h"

namespace zelvor::app {

namespace {

constexpr editing::MapId kMaps[] = {editing::MapId::Advance, editing::MapId::Jet1A,
                                    editing::MapId::Jet2A};

std::size_t slotOf(editing::MapId map) {
    return static_cast<std::size_t>(map);
}

}  // namespace

void CompareOverlay::show(std::span<const compare::Difference> differences) {
    for (MapTips& tips : tips_) tips.fill(QString());
    for (const compare::Difference& d : differences) {
        for (const editing::MapId map : kMaps) {
            const std::optional<editing::MapDescriptor> shown =
                editing::mapDescriptor(editing::pageOfMap(map));
            if (!shown || shown->cells != d.field || d.index >= model::kMapCells) continue;
            const std::string_view unit = model::descriptor(d.field).unit;
            tips_[slotOf(map)][d.index] =
                QStringLiteral("Reference: %1 %2")
                    .arg(QString::fromStdString(d.reference),
                         QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size())));
        }
    }
}

std::optional<widgets::CellMark> CompareOverlay::mark(editing::MapId map,
                                                      editing::GridCell cell) const {
    if (cell.row < 0 || cell.row >= model::kMapRows || cell.column < 0 ||
        cell.column >= model::kMapColumns) {
        return std::nullopt;
    }
    const QString& tip =
        tips_[slotOf(map)][static_cast<std::size_t>(cell.row * model::kMapColumns + cell.column)];
    if (tip.isEmpty()) return std::nullopt;
    return widgets::CellMark{std::nullopt, QColor(0, 0, 255), tip};
}

int CompareOverlay::markedCells(editing::MapId map) const {
    int count = 0;
    for (const QString& tip : tips_[slotOf(map)]) count += tip.isEmpty() ? 0 : 1;
    return count;
}

}  // namespace zelvor::app
