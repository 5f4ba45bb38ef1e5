#include "print/page_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#include "print/page_layout.h"

namespace zelvor::print {

QtPagePrinter::QtPagePrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
    printer_->setDocName(QString::fromLatin1(kPrintJobTitle));
}

QtPagePrinter::~QtPagePrinter() = default;

bool QtPagePrinter::printPage(const QPixmap& picture) {
    QPainter painter;
    if (!painter.begin(printer_.get())) return false;
    // The painter's origin is the top left corner of the printable area.
    const QRect printable = printer_->pageRect(QPrinter::DevicePixel).toRect();
    const QRect target = printTargetRect(picture.size(), printable.size());
    // The pixmap goes into the document as it is and is scaled there:
    // scaling it to printer pixels first would make the document huge.
    if (!target.isEmpty()) painter.drawPixmap(target, picture);
    const bool ended = painter.end();
    return ended && printer_->printerState() != QPrinter::Error &&
           printer_->printerState() != QPrinter::Aborted;
}

QString QtPagePrinter::destination() const {
    if (printer_->outputFormat() == QPrinter::PdfFormat) return printer_->outputFileName();
    return printer_->printerName();
}

std::unique_ptr<PagePrinter> defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<QtPagePrinter>(
        std::make_unique<QPrinter>(info, QPrinter::HighResolution));
}

namespace {

// A PDF file that replaces the file at its path only once it is complete: the
// page is printed into a temporary file beside it, which is then renamed. A
// full disk or a broken job leaves an earlier file of that name untouched.
class PdfFilePrinter final : public PagePrinter {
  public:
    explicit PdfFilePrinter(const QString& path) : path_(path) {}

    bool printPage(const QPixmap& picture) override {
        const QString part = partName();
        if (part.isEmpty()) return false;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(part);
        std::error_code error;
        if (QtPagePrinter(std::move(printer)).printPage(picture)) {
            std::filesystem::rename(part.toStdString(), path_.toStdString(), error);
            if (!error) return true;
        }
        QFile::remove(part);
        return false;
    }
    QString destination() const override { return path_; }

  private:
    // A free name beside the target. The printer creates the file itself, so
    // it gets the permissions of any new file.
    QString partName() const {
        const QFileInfo target(path_);
        QTemporaryFile reserve(
            target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX.part")));
        if (!reserve.open()) return {};
        return reserve.fileName();  // removed again when reserve goes
    }

    QString path_;
};

}  // namespace

std::unique_ptr<PagePrinter> pdfFilePrinter(const QString& path) {
    return std::make_unique<PdfFilePrinter>(path);
}

}  // namespace zelvor::print
