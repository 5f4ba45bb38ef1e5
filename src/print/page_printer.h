#pragma once

#include <QPixmap>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;

namespace zelvor::print {

// Where a printout goes: one picture on one page, as one document. The
// program prints to the default printer or a PDF file; tests put a recorder
// in front of a PDF file.
class PagePrinter {
  public:
    virtual ~PagePrinter() = default;

    // Draws picture on one page, placed by printTargetRect, and ends the
    // document. False when the job could not be started or finished.
    virtual bool printPage(const QPixmap& picture) = 0;
    // The printer's name or the file's path, for a message about a failure.
    virtual QString destination() const = 0;
};

// A PagePrinter on a QPrinter.
class QtPagePrinter final : public PagePrinter {
  public:
    explicit QtPagePrinter(std::unique_ptr<QPrinter> printer);
    ~QtPagePrinter() override;

    bool printPage(const QPixmap& picture) override;
    QString destination() const override;

    QPrinter& printer() { return *printer_; }

  private:
    std::unique_ptr<QPrinter> printer_;
};

// The title print jobs carry.
inline constexpr char kPrintJobTitle[] = "Zelvor Tuner parameters";

// The system's default printer at its own resolution; nullptr when the
// system has none.
std::unique_ptr<PagePrinter> defaultPrinter();
// A PDF file at path (written when the page is printed).
std::unique_ptr<PagePrinter> pdfFilePrinter(const QString& path);

// How the window finds the default printer (tests replace it).
using PrinterLookup = std::function<std::unique_ptr<PagePrinter>()>;

}  // namespace zelvor::print
