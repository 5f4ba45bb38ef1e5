#pragma once

#include <QObject>
#include <functional>

#include "editing/widgets/control_registry.h"
#include "editing/widgets/qt_control_access.h"
#include "model/parameter_image.h"

class QTabWidget;

namespace zelvor::link {
struct UnitIdentification;
}

namespace zelvor::app {

// Collect, refresh and the view update of the page on show: the only way
// controls and image meet. The current page is the page index recorded by the
// last collect, refresh or page change.
class PageView {
  public:
    struct Hooks {
        std::function<std::uint8_t()> language;
        std::function<const link::UnitIdentification&()> identification;
        // The image holds a bike this program does not know (page 0 refresh).
        std::function<void()> unknownBike;
    };

    PageView(model::ParameterImage& image, const widgets::ControlRegistry& registry,
             QTabWidget* pages, Hooks hooks);

    int currentPage() const { return currentPage_; }
    void setCurrentPage(int page) { currentPage_ = page; }

    // Controls of the visible page -> image.
    void collect();
    // Image -> controls of the visible page, then the view update.
    void refresh();
    // Visibility, enabling and marks that follow the image.
    void viewUpdate();
    // The page-change step: record the page and refresh it.
    void enterPage(int page);

  private:
    void refreshBikeExtras();

    model::ParameterImage& image_;
    const widgets::ControlRegistry& registry_;
    widgets::QtControlAccess access_;
    QTabWidget* pages_;
    Hooks hooks_;
    int currentPage_ = 7;
};

}  // namespace zelvor::app
