#include "print/print_mode.h"

#include <QTabWidget>
#include <algorithm>

#include "editing/widgets/colours.h"
#include "editing/widgets/map_cell_grid.h"
#include "print/print_mode_controls.h"

namespace zelvor::print {

PrintMode::PrintMode(const widgets::ControlRegistry& registry, QTabWidget* pages,
                     std::function<int()> currentPage)
    : registry_(registry), pages_(pages), currentPage_(std::move(currentPage)) {}

void PrintMode::setPrinting(bool printing) {
    printing_ = printing;
    ApplyPrintMode();
}

void PrintMode::ApplyPrintMode() {
    if (printing_ && !applied_) {
        enter();
    } else if (!printing_ && applied_) {
        leave();
    }
}

void PrintMode::enter() {
    applied_ = true;
    for (const PrintModeControl& entry : kPrintModeControls) {
        const int first = entry.count == 0 ? -1 : 0;
        const int last = entry.count == 0 ? -1 : entry.count - 1;
        for (int element = first; element <= last; ++element) {
            auto* widget = registry_.find<QWidget>(entry.name, element);
            if (widget == nullptr) continue;
            if (entry.hide == PrintHide::Arrows) {
                hideArrows(widget);
            } else {
                hideControl(widget);
            }
        }
    }
    for (int row = 0; row < kPrintRowLabelCount; ++row) {
        auto* label = registry_.find<QWidget>(kPrintRowLabels, row);
        if (label == nullptr) continue;
        rowLabels_.push_back({label, widgets::currentBackground(label)});
        widgets::setBackground(label, editing::Colour::White);
    }
    if (pages_ == nullptr) return;
    // The tab on show keeps its place too: hiding it would switch pages.
    const int current = currentPage_ ? currentPage_() : pages_->currentIndex();
    for (int i = 0; i < pages_->count(); ++i) {
        tabsVisible_.push_back(pages_->isTabVisible(i));
        if (i != current && i != pages_->currentIndex()) pages_->setTabVisible(i, false);
    }
}

void PrintMode::hideControl(QWidget* widget) {
    controls_.push_back({widget, widget->isHidden()});
    widget->hide();
}

void PrintMode::hideArrows(QWidget* widget) {
    if (auto* cells = qobject_cast<widgets::MapCellGrid*>(widget)) {
        // The map cells draw their spinners themselves (all 150 names lead
        // to the one widget).
        if (std::find(cellGrids_.begin(), cellGrids_.end(), cells) == cellGrids_.end()) {
            cellGrids_.push_back(cells);
            cells->setSpinnersShown(false);
        }
        return;
    }
    auto* box = qobject_cast<QAbstractSpinBox*>(widget);
    if (box == nullptr) {
        // A spinner of its own: the whole control goes.
        hideControl(widget);
        return;
    }
    arrows_.push_back({box, box->buttonSymbols()});
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
}

void PrintMode::leave() {
    applied_ = false;
    // Backwards, so that a control met twice ends in its first remembered state.
    for (auto c = controls_.rbegin(); c != controls_.rend(); ++c) {
        if (c->widget != nullptr && c->widget->isHidden() != c->wasHidden) {
            c->widget->setHidden(c->wasHidden);
        }
    }
    for (auto a = arrows_.rbegin(); a != arrows_.rend(); ++a) {
        if (a->box != nullptr) a->box->setButtonSymbols(a->symbols);
    }
    for (const QPointer<widgets::MapCellGrid>& cells : cellGrids_) {
        if (cells != nullptr) cells->setSpinnersShown(true);
    }
    for (const RecolouredLabel& l : rowLabels_) {
        if (l.label != nullptr) widgets::setBackground(l.label, l.colour);
    }
    if (pages_ != nullptr) {
        const int tabs = std::min(pages_->count(), static_cast<int>(tabsVisible_.size()));
        for (int i = 0; i < tabs; ++i) {
            if (pages_->isTabVisible(i) != tabsVisible_[i])
                pages_->setTabVisible(i, tabsVisible_[i]);
        }
    }
    controls_.clear();
    arrows_.clear();
    cellGrids_.clear();
    rowLabels_.clear();
    tabsVisible_.clear();
}

}  // namespace zelvor::print
