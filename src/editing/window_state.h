#pragma once

#include <string>

#include "editing/code_page.h"
#include "editing/page_index.h"

namespace zelvor::editing {

// What the window holds beside the image: the parameter file, the page on
// show and the options of its check boxes. The widgets show it; a box the
// user toggles writes it; the tick, the change pipeline and the settings read
// it, never the widgets.
struct WindowState {
    // The parameter file last opened or saved; empty when there is none.
    std::string fileName;
    // The folder last chosen in the open or save dialog.
    std::string iniDir;
    // The page collect, refresh, tools and snapshots act on: the page last
    // entered, which a tab click changes only once the page is entered. The
    // window design shows the Idle page until the settings name another.
    int currentPage = kPageIdle;
    // "Programming after change": every recorded change is programmed at
    // once. Off at start and not kept between runs.
    bool programAfterChange = false;
    // "Extended Monitor": the live texts also show the sensor voltages.
    bool extendedMonitor = false;
    // The N2O box as it stands on its page: the live N2O label is shown while
    // it is ticked.
    bool n2oTicked = false;
    // "Ms" of the map grid: the injection maps show their times.
    bool msDisplay = false;
    // "All" of the position page: the position steps move every angle.
    bool allPosition = false;
    // "All" of the map grid, per page.
    AllFlags allFlags{};
    // The code page of the memo and of the unit's identification.
    CodePage memoCodePage = CodePage::Windows1252;
};

}  // namespace zelvor::editing
