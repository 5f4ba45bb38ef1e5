#pragma once

#include <QMarginsF>
#include <QPageSize>
#include <QString>

#include "helpdoc/manual_style.h"

class QIODevice;

namespace zelvor::helpdoc {

// The printed page: A4 with margins in millimetres. The lowest part of the
// area inside the margins is kept for the footer with the page number.
struct PdfPageSetup {
    QPageSize size = QPageSize(QPageSize::A4);
    QMarginsF margins = QMarginsF(22.0, 20.0, 22.0, 12.0);
    qreal footerHeight = 12.0;  // millimetres, the footer line at its top
    int resolution = 600;
};

struct PdfWriteResult {
    int pages = 0;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Lays the Markdown manual out and writes it as a PDF into out, which must be
// open for writing. Every page but the first (the title page) has a footer
// with the manual's title and "page / pages". The pictures the manual names
// are read from pictureFolder; a picture that cannot be read is an error, so
// no manual goes out with a hole where a picture belongs.
PdfWriteResult writeManualPdf(const QString& markdown, QIODevice& out,
                              const PdfPageSetup& setup = {}, const ManualStyle& style = {},
                              const QString& pictureFolder = {});

}  // namespace zelvor::helpdoc
