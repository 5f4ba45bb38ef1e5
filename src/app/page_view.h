#pragma once

#include <QObject>
#include <functional>

#include "editing/code_page.h"
#include "editing/map_grid_model.h"
#include "editing/shown_values.h"
#include "editing/widgets/control_registry.h"
#include "editing/widgets/qt_control_access.h"
#include "editing/window_state.h"
#include "model/injection.h"
#include "model/parameter_image.h"

class QTabWidget;

namespace zelvor::link {
struct UnitIdentification;
}

namespace zelvor::widgets {
class MapGrid;
}

namespace zelvor::app {

// Collect, refresh and the view update of the page on show: the only way
// controls and image meet. The current page is the window state's, the page
// index recorded by the last collect, refresh or page change. The three map
// pages go through the map grid, with the injection scaling and the per-page
// "All" flags of the window state; the memo and the identification are shown
// in its code page, the map grid's times while its "Ms" flag is set.
class PageView {
  public:
    struct Hooks {
        std::function<const link::UnitIdentification&()> identification;
        // The image holds a bike this program does not know (page 0 refresh).
        std::function<void()> unknownBike;
    };

    PageView(model::ParameterImage& image, model::InjectionScaling& scaling,
             editing::WindowState& window, const widgets::ControlRegistry& registry,
             QTabWidget* pages, Hooks hooks);

    // Controls of the current page -> image. The current page is the page
    // last entered: while a tab click is switching pages, a field that loses
    // the focus still commits to the page it lives on, never to the page
    // whose controls have not been filled yet.
    void collect();
    // Image -> controls of the current page, then the view update.
    void refresh();
    // Visibility, enabling and marks that follow the image.
    void viewUpdate();
    // The page-change step: record the page and refresh it, with the map grid
    // hidden meanwhile so that it is never seen half filled.
    void enterPage(int page);
    // The refresh with the map grid hidden meanwhile.
    void refreshWithGridHidden();
    // Switches to a page from the program (undo, redo, a tab that goes
    // away) and enters it. Fields that lose the focus meanwhile commit
    // nothing: the image is what the program put there.
    void showPage(int page);
    // Sets the page without the page-change step (the caller refreshes).
    void showPageQuietly(int page);
    // True while the program switches pages.
    bool switching() const { return switching_ > 0; }
    // Whether an edit of this control belongs to the current page: a field
    // on another page (its focus leaving during a switch) commits nothing.
    bool ownsControl(const QObject* control) const;

    widgets::MapGrid* mapGrid() const { return grid_; }

  private:
    int currentPage() const { return window_.currentPage; }
    void refreshBikeExtras();
    void refreshMapPage();

    model::ParameterImage& image_;
    model::InjectionScaling& scaling_;
    editing::WindowState& window_;
    const widgets::ControlRegistry& registry_;
    widgets::QtControlAccess access_;
    QTabWidget* pages_;
    widgets::MapGrid* grid_;
    Hooks hooks_;
    int switching_ = 0;
    // What the last refresh showed: a collect takes only what the user
    // changed since.
    editing::ShownValues shown_;
    editing::MapGridValues shownGrid_;
};

}  // namespace zelvor::app
