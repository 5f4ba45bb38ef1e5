#pragma once

#include <QObject>
#include <functional>

#include "editing/code_page.h"
#include "editing/map_grid_model.h"
#include "editing/widgets/control_registry.h"
#include "editing/widgets/qt_control_access.h"
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
// controls and image meet. The current page is the page index recorded by the
// last collect, refresh or page change. The three map pages go through the
// map grid, with the injection scaling and the per-page "All" flags.
class PageView {
  public:
    struct Hooks {
        // The code page of the memo and of the unit's identification.
        std::function<editing::CodePage()> memoCodePage;
        std::function<const link::UnitIdentification&()> identification;
        // The image holds a bike this program does not know (page 0 refresh).
        std::function<void()> unknownBike;
    };

    PageView(model::ParameterImage& image, model::InjectionScaling& scaling,
             editing::AllFlags& allFlags, const widgets::ControlRegistry& registry,
             QTabWidget* pages, Hooks hooks);

    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page) { currentPage_ = page; }

    // Controls of the visible page -> image.
    void collect();
    // Image -> controls of the visible page, then the view update.
    void refresh();
    // Visibility, enabling and marks that follow the image.
    void viewUpdate();
    // The page-change step: record the page and refresh it, with the map grid
    // hidden meanwhile so that it is never seen half filled.
    void enterPage(int page);
    // The refresh with the map grid hidden meanwhile.
    void refreshWithGridHidden();

    widgets::MapGrid* mapGrid() const { return grid_; }

  private:
    editing::CodePage memoCodePage() const;
    void refreshBikeExtras();
    void refreshMapPage();

    model::ParameterImage& image_;
    model::InjectionScaling& scaling_;
    editing::AllFlags& allFlags_;
    const widgets::ControlRegistry& registry_;
    widgets::QtControlAccess access_;
    QTabWidget* pages_;
    widgets::MapGrid* grid_;
    Hooks hooks_;
    int currentPage_ = 7;
};

}  // namespace zelvor::app
