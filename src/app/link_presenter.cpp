#include "app/link_presenter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <array>
#include <string>

#include "editing/widgets/colours.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_grid.h"

namespace zelvor::app {

namespace {

using editing::HighlightGroup;

QWidget* groupControl(const widgets::ControlRegistry& registry, HighlightGroup group, int index) {
    const editing::GroupControl control = editing::groupControl(group, index);
    return registry.find<QWidget>(control.name, control.element);
}

void setBold(QWidget* widget, bool bold) {
    if (widget == nullptr || widget->font().bold() == bold) return;
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setVisible(QWidget* widget, bool visible) {
    if (widget != nullptr && widget->isVisibleTo(widget->parentWidget()) != visible) {
        widget->setVisible(visible);
    }
}

}  // namespace

void LinkPresenter::showTransfer(const link::TransferEngine& engine,
                                 const editing::TransferPresenter& words, bool printing) {
    const editing::StatusLabel status = words.statusLabel(engine.status());
    auto* label = registry_.find<QWidget>("LabelHlaseni");
    if (!printing) {
        widgets::setLabelText(label, QString::fromStdString(status.text));
        widgets::setBackground(label, status.background);
        setVisible(label, status.visible);
    }
    auto* gauge = registry_.find<QProgressBar>("CGaugeProgram");
    widgets::setGaugeProgress(gauge, engine.gauge().progress);
    if (!printing) setVisible(gauge, engine.gauge().visible);
    setVisible(registry_.find<QWidget>("LabelSpojeni"), engine.noConnectionVisible() && !printing);
    setVisible(registry_.find<QWidget>("LabelVersion"), engine.versionLabelVisible());
}

void LinkPresenter::showMonitor(const editing::MonitorView& view) {
    for (std::size_t i = 0; i < view.labels.size(); ++i) {
        const editing::LabelView& wanted = view.labels[i];
        const editing::LabelView* before = lastView_ ? &lastView_->labels[i] : nullptr;
        auto* label = registry_.find<QWidget>(controlName(static_cast<editing::MonitorLabel>(i)));
        if (label == nullptr) continue;
        if (before == nullptr || before->text != wanted.text) {
            widgets::setLabelText(label, QString::fromStdString(wanted.text));
        }
        if (before == nullptr || before->background != wanted.background) {
            widgets::setBackground(label, wanted.background);
        }
        if (wanted.visible) setVisible(label, *wanted.visible);
    }
    for (std::size_t i = 0; i < view.gauges.size(); ++i) {
        auto* gauge =
            registry_.find<QProgressBar>(controlName(static_cast<editing::MonitorGauge>(i)));
        widgets::setGaugeProgress(gauge, view.gauges[i].progress);
        if (view.gauges[i].fore) widgets::setGaugeColour(gauge, *view.gauges[i].fore);
    }
    for (std::size_t i = 0; i < view.edits.size(); ++i) {
        const bool changed = !lastView_ || lastView_->edits[i] != view.edits[i];
        if (changed) {
            widgets::setBackground(
                registry_.find<QWidget>(controlName(static_cast<editing::MonitorEdit>(i))),
                view.edits[i]);
        }
    }
    lastView_ = view;
}

void LinkPresenter::showHighlight(const editing::PageHighlight& highlight) {
    for (const editing::GroupHighlight& group : highlight.groups) {
        if (group.group == HighlightGroup::MapCells) {
            // The cells are one widget: it repaints the old and the new lit
            // cell only.
            if (auto* cells = registry_.find<widgets::MapCellGrid>("MapCells_Uni")) {
                cells->setLiveCell(group.lit == editing::kNotLit
                                       ? std::nullopt
                                       : std::optional(widgets::MapGrid::cellAddress(group.lit)));
            }
            continue;
        }
        for (int i = 0; i < editing::groupSize(group.group); ++i) {
            QWidget* control = groupControl(registry_, group.group, i);
            if (group.group == HighlightGroup::GearButtons) {
                setBold(control, i == group.lit);
            } else {
                widgets::setBackground(control, group.colour(i));
            }
        }
    }
}

}  // namespace zelvor::app
