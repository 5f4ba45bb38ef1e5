#include "print/printout.h"

#include <QPalette>

namespace zelvor::print {

namespace {

// The window's background on white for as long as it lives; its own palette
// (or none) is put back afterwards.
class WhiteBackground {
  public:
    explicit WhiteBackground(QWidget* window)
        : window_(window),
          ownPalette_(window != nullptr && window->testAttribute(Qt::WA_SetPalette)),
          palette_(window != nullptr ? window->palette() : QPalette()) {
        if (window_ == nullptr) return;
        QPalette white = window_->palette();
        white.setColor(QPalette::Window, Qt::white);
        window_->setPalette(white);
    }
    ~WhiteBackground() {
        if (window_ == nullptr) return;
        // A window without a palette of its own follows the application's again.
        window_->setPalette(ownPalette_ ? palette_ : QPalette());
        if (!ownPalette_) window_->setAttribute(Qt::WA_SetPalette, false);
    }
    WhiteBackground(const WhiteBackground&) = delete;
    WhiteBackground& operator=(const WhiteBackground&) = delete;

  private:
    QPointer<QWidget> window_;
    bool ownPalette_;
    QPalette palette_;
};

// Print mode and the printing flag for as long as it lives.
class PrintModeOn {
  public:
    PrintModeOn(PrintMode& mode, const PrintoutSteps& steps) : mode_(mode), steps_(steps) {
        if (steps_.setPrinting) steps_.setPrinting(true);
        mode_.setPrinting(true);
    }
    ~PrintModeOn() {
        mode_.setPrinting(false);
        if (steps_.setPrinting) steps_.setPrinting(false);
    }
    PrintModeOn(const PrintModeOn&) = delete;
    PrintModeOn& operator=(const PrintModeOn&) = delete;

  private:
    PrintMode& mode_;
    const PrintoutSteps& steps_;
};

}  // namespace

Printout::Printout(QWidget* window, QWidget* clientArea, PrintMode& mode, PrintoutSteps steps)
    : window_(window), clientArea_(clientArea), mode_(mode), steps_(std::move(steps)) {}

bool Printout::run(PagePrinter& printer, const QString& header) {
    if (steps_.showHeader) steps_.showHeader(header);
    bool printed = false;
    {
        const WhiteBackground white(window_);
        const PrintModeOn printMode(mode_, steps_);
        if (clientArea_ != nullptr) printed = printer.printPage(clientArea_->grab());
    }
    if (steps_.viewUpdate) steps_.viewUpdate();
    return printed;
}

}  // namespace zelvor::print
