#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "print/page_printer.h"
#include "print/print_mode.h"

namespace zelvor::print {

// What a printout asks of the window around it.
struct PrintoutSteps {
    // Puts the header line on the status label: white, shown, hidden again by
    // the tick after the usual 200 ticks; the transfer gauge is hidden.
    std::function<void(const QString& header)> showHeader;
    // The window's printing flag: while it is set, "No Connection" stays
    // hidden and no tick runs.
    std::function<void(bool printing)> setPrinting;
    // The view update that re-applies the visibility rules of the pages.
    std::function<void()> viewUpdate;
};

// One printout of the window: the header line on the status label, the
// window on white in print mode, a picture of its client area on one page,
// then the window as it was and the view update. The window is given back
// whether the printer succeeds or fails.
class Printout {
  public:
    Printout(QWidget* window, QWidget* clientArea, PrintMode& mode, PrintoutSteps steps);

    // False when the printer could not print the page.
    bool run(PagePrinter& printer, const QString& header);

  private:
    QPointer<QWidget> window_;
    QPointer<QWidget> clientArea_;
    PrintMode& mode_;
    PrintoutSteps steps_;
};

}  // namespace zelvor::print
