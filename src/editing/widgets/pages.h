#pragma once

#include <QSize>

#include "editing/page_index.h"
#include "editing/widgets/control_factory.h"

class QTabWidget;
class QWidget;

namespace zelvor::widgets {

// The space the window gives its page control and the live panel below it.
// Page contents are laid out in pixels inside a page of kPageClientSize.
inline constexpr QSize kPageControlSize{1031, 480};
inline constexpr QSize kPageClientSize{1023, 452};
inline constexpr QSize kLivePanelSize{1031, 245};

// The twelve pages in their fixed order, named TabSheet_Bike .. TabSheet_Monitor.
inline constexpr const char* kPageNames[editing::kPageCount] = {
    "TabSheet_Bike",   "TabSheet_Advance", "TabSheet_Jet1A", "TabSheet_Jet2A",
    "TabSheet_Poloha", "TabSheet_Korekce", "TabSheet_Cidla", "TabSheet_Idle",
    "TabSheet_Gas",    "TabSheet_Race",    "TabSheet_Gear",  "TabSheet_Monitor"};

// The look of the window: Fusion style and a compact font (11 px), so that
// the pixel layout of the pages fits the numbers it shows.
void applyApplicationLook();

// One builder per page: creates the page's design-time controls (group
// boxes, labels, bound edits, check boxes, radio groups, buttons, live labels)
// through the factory. The run-time table editors are built afterwards from
// their bindings (ControlFactory::tableEditors), so a page must register
// the group boxes and anchor labels they go into.
void buildBikePage(QWidget* page, ControlFactory& factory);
void buildMapPage(QWidget* page, ControlFactory& factory, int pageIndex);
void buildPositionPage(QWidget* page, ControlFactory& factory);
void buildCorrectionsPage(QWidget* page, ControlFactory& factory);
void buildSensorsPage(QWidget* page, ControlFactory& factory);
void buildIdlePage(QWidget* page, ControlFactory& factory);
void buildGasPage(QWidget* page, ControlFactory& factory);
void buildRacePage(QWidget* page, ControlFactory& factory);
void buildGearPage(QWidget* page, ControlFactory& factory);
void buildMonitorPage(QWidget* page, ControlFactory& factory);

// The live labels and gauges below the pages and the status row (status
// label with its progress gauge, connection and version labels, the two
// check boxes under the pages).
void buildLivePanel(QWidget* panel, ControlFactory& factory);

// Creates the twelve pages in the tab widget, builds every page and then the
// run-time table editors, and registers the tab widget as PageControl1.
// Returns the containers the table editors could not find (none when the
// pages are complete).
QStringList buildAllPages(QTabWidget* pageControl, ControlFactory& factory);

}  // namespace zelvor::widgets
