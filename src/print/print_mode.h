#pragma once

#include <QAbstractSpinBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "editing/colour.h"
#include "editing/widgets/control_registry.h"

class QTabWidget;

namespace zelvor::widgets {
class MapCellGrid;
}

namespace zelvor::print {

// The window's look while a printout is taken: the editing aids listed in
// kPrintModeControls hidden, the arrows of the listed edits gone, the map
// grid's row labels on white and only the current page's tab left. Ending
// print mode gives every control back exactly the state it had, so controls
// the view rules had hidden stay hidden.
class PrintMode {
  public:
    // currentPage: the page collect and refresh act on (its tab stays).
    PrintMode(const widgets::ControlRegistry& registry, QTabWidget* pages,
              std::function<int()> currentPage);

    bool printing() const { return printing_; }
    // Sets print mode and applies it.
    void setPrinting(bool printing);

    // Brings the controls into the state print mode asks for: on, the
    // editing aids are hidden (their state remembered first); off, what was
    // remembered is given back. Applying the same mode twice changes nothing.
    void ApplyPrintMode();

  private:
    struct HiddenControl {
        QPointer<QWidget> widget;
        bool wasHidden;
    };
    struct HiddenArrows {
        QPointer<QAbstractSpinBox> box;
        QAbstractSpinBox::ButtonSymbols symbols;
    };
    struct RecolouredLabel {
        QPointer<QWidget> label;
        editing::Colour colour;
    };

    void enter();
    void leave();
    void hideControl(QWidget* widget);
    void hideArrows(QWidget* widget);

    const widgets::ControlRegistry& registry_;
    QPointer<QTabWidget> pages_;
    std::function<int()> currentPage_;
    bool printing_ = false;
    bool applied_ = false;
    std::vector<HiddenControl> controls_;
    std::vector<HiddenArrows> arrows_;
    // Cell grids whose drawn spinners are hidden.
    std::vector<QPointer<widgets::MapCellGrid>> cellGrids_;
    std::vector<RecolouredLabel> rowLabels_;
    std::vector<bool> tabsVisible_;
};

}  // namespace zelvor::print
