#include "editing/page_index.h"
#include "editing/widgets/map_grid.h"
#include "editing/widgets/pages.h"

namespace zelvor::widgets {

// The map pages have no controls of their own: the one grid is built on the
// advance page and moves to whichever map page is shown.
void buildMapPage(QWidget* page, ControlFactory& factory, int pageIndex) {
    if (pageIndex != editing::kPageAdvance) return;
    new MapGrid(page, factory.registry(), kPageClientSize, kPageControlSize.width());
}

}  // namespace zelvor::widgets
