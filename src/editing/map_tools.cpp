#include "editing/map_tools.h"

#include <algorithm>
#include <vector>

#include "editing/map_grid_model.h"
#include "model/field_table.h"

namespace zelvor::editing {

namespace {

using model::Field;
using model::InjectionMap;

constexpr int kAdvanceStepLimit = 255;
constexpr int kPercentStepLimit = 65535;

// The cells a tool acts on.
std::vector<std::size_t> wholeMap() {
    std::vector<std::size_t> cells(kMapCells);
    for (std::size_t k = 0; k < kMapCells; ++k) cells[k] = k;
    return cells;
}

std::vector<std::size_t> oneColumn(int column) {
    std::vector<std::size_t> cells;
    const int c = std::clamp(column, 0, kMapColumns - 1);
    for (int r = 0; r < kMapRows; ++r)
        cells.push_back(static_cast<std::size_t>(r * kMapColumns + c));
    return cells;
}

std::vector<std::size_t> oneCell(GridCell cell) {
    const int r = std::clamp(cell.row, 0, kMapRows - 1);
    const int c = std::clamp(cell.column, 0, kMapColumns - 1);
    return {static_cast<std::size_t>(r * kMapColumns + c)};
}

// Steps the advance bytes of the cells; true when any changed.
bool stepAdvance(const std::vector<std::size_t>& cells, int direction,
                 model::ParameterImage& image) {
    bool changed = false;
    for (std::size_t k : cells) {
        const int before = image.get(Field::ADVANCE_Cell, k);
        const int after = std::clamp(before + direction, 0, kAdvanceStepLimit);
        image.set(Field::ADVANCE_Cell, k, static_cast<unsigned>(after));
        changed = changed || after != before;
    }
    return changed;
}

// Steps the percentages of the cells; true when any changed.
bool stepPercents(InjectionMap map, const std::vector<std::size_t>& cells, int direction,
                  model::InjectionScaling& scaling) {
    model::CellPercents& percents = scaling.percents(map);
    bool changed = false;
    for (std::size_t k : cells) {
        const int before = percents[k];
        const int after = std::clamp(before + direction, 0, kPercentStepLimit);
        percents[k] = static_cast<std::uint16_t>(after);
        changed = changed || after != before;
    }
    return changed;
}

// Steps one injection map and rewrites the words of the cells that moved;
// the others keep their exact times.
void stepInjection(InjectionMap map, const std::vector<std::size_t>& cells, int direction,
                   model::ParameterImage& image, model::InjectionScaling& scaling) {
    if (stepPercents(map, cells, direction, scaling)) scaling.rewriteChangedWords(map, image);
}

void stepCells(int page, const std::vector<std::size_t>& cells, int direction,
               model::ParameterImage& image, model::InjectionScaling& scaling) {
    switch (page) {
        case kPageAdvance:
            stepAdvance(cells, direction, image);
            break;
        case kPageJet1A:
            stepInjection(InjectionMap::Jet1A, cells, direction, image, scaling);
            if (model::isCoupled(image)) {
                stepInjection(InjectionMap::Jet2A, cells, direction, image, scaling);
            }
            break;
        case kPageJet2A:
            stepInjection(InjectionMap::Jet2A, cells, direction, image, scaling);
            break;
        default:
            break;
    }
}

}  // namespace

bool stepMapTool(int page, int direction, bool all, std::optional<GridCell> runningCell,
                 model::ParameterImage& image, model::InjectionScaling& scaling) {
    if (!isMapPage(page)) return true;
    if (page == kPageJet2A && model::isCoupled(image)) return false;
    if (all) {
        stepCells(page, wholeMap(), direction, image, scaling);
        return true;
    }
    if (!runningCell) return false;
    stepCells(page, oneCell(*runningCell), direction, image, scaling);
    return true;
}

void stepMapColumn(int page, int column, int direction, model::ParameterImage& image,
                   model::InjectionScaling& scaling) {
    stepCells(page, oneColumn(column), direction, image, scaling);
}

void stepInjectionPosition(int direction, bool all, int index, model::ParameterImage& image) {
    const model::FieldDescriptor& angle = model::descriptor(Field::POSITION_A_Angle);
    const int lowest = static_cast<int>(angle.toStored(angle.range.minimum));
    const int highest = static_cast<int>(angle.toStored(angle.range.maximum));
    for (std::size_t i = 0; i < angle.count; ++i) {
        if (!all && static_cast<int>(i) != index) continue;
        const int stored = image.get(Field::POSITION_A_Angle, i);
        image.set(Field::POSITION_A_Angle, i,
                  static_cast<unsigned>(std::clamp(stored + direction, lowest, highest)));
    }
}

void setCouplingMode(std::uint8_t mode, model::ParameterImage& image) {
    image.set(Field::JET1_MISC_Jet123Mode, mode);
    if (mode == 0) return;
    for (std::size_t c = 0; c < kMapColumns; ++c) {
        image.set(Field::RPM_JET_2A_Rpm, c, image.get(Field::RPM_JET_1A_Rpm, c));
    }
}

}  // namespace zelvor::editing
