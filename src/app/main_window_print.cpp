// The printout of the window: File > Print (Ctrl+P) and the tool button.
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include "app/main_window.h"
#include "print/print_header.h"
#include "print/printout.h"

namespace zelvor::app {

std::unique_ptr<print::PagePrinter> TFormHlav::choosePrinter() {
    if (auto printer = findPrinter_ ? findPrinter_() : nullptr) return printer;
    // Without a printer the printout can still go to a PDF file, named after
    // the parameter file on show.
    const QString base = QFileInfo(fileName()).completeBaseName();
    const QString proposed = (base.isEmpty() ? QStringLiteral("Zelvor") : base) + ".pdf";
    const QString path = dialogs_->savePrintFile(iniDir(), proposed);
    if (path.isEmpty()) return nullptr;
    return print::pdfFilePrinter(path);
}

void TFormHlav::SpeedButtonPrintClick() {
    if (printing_) return;
    const std::unique_ptr<print::PagePrinter> printer = choosePrinter();
    if (!printer) return;
    link::TransferEngine& engine = link_->transfer();
    print::Printout printout(
        this, client_, *printMode_,
        print::PrintoutSteps{.showHeader =
                                 [this, &engine](const QString& header) {
                                     // The gauge goes; the label comes back with the header.
                                     engine.hideStatus();
                                     transferPresenter_.announce(header.toStdString(),
                                                                 editing::Colour::White);
                                     engine.announce();
                                     presenter_.showTransfer(engine, transferPresenter_, printing_);
                                 },
                             .setPrinting =
                                 [this, &engine](bool printing) {
                                     printing_ = printing;
                                     engine.setPrinting(printing);
                                     presenter_.showTransfer(engine, transferPresenter_, printing_);
                                 },
                             .viewUpdate = [this] { pageView_->viewUpdate(); }});
    const QString header = print::printHeaderLine(message(i18n::MessageKey::MsgPrintDate),
                                                  QDateTime::currentDateTime(), QLocale::system());
    if (!printout.run(*printer, header)) {
        showMessage(message(i18n::MessageKey::MsgPrintError) + QStringLiteral("\n") +
                    printer->destination());
    }
}

}  // namespace zelvor::app
