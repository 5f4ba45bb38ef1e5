#include "helpdoc/manual_pdf.h"

#include <QFont>
#include <QIODevice>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "helpdoc/manual_layout.h"

namespace zelvor::helpdoc {

namespace {

qreal millimetres(qreal mm, int resolution) {
    return mm / 25.4 * resolution;
}

void drawFooter(QPainter& painter, const QRectF& body, const QString& title, int page, int pages,
                const ManualStyle& style, qreal toDevice) {
    const qreal lineY = body.bottom() + 8.0 * toDevice;
    painter.save();
    painter.setPen(QPen(style.ruleColour, 0.5 * toDevice));
    painter.drawLine(QPointF(body.left(), lineY), QPointF(body.right(), lineY));
    QFont font(style.bodyFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(style.footerSize);
    painter.setFont(font);
    painter.setPen(style.footerColour);
    const QRectF textRow(body.left(), lineY + 2.0 * toDevice, body.width(),
                         style.footerSize * 2.0 * toDevice);
    painter.drawText(textRow, Qt::AlignLeft | Qt::AlignTop, title);
    painter.drawText(textRow, Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    painter.restore();
}

}  // namespace

PdfWriteResult writeManualPdf(const QString& markdown, QIODevice& out, const PdfPageSetup& setup,
                              const ManualStyle& style, const QString& pictureFolder) {
    QPdfWriter writer(&out);
    writer.setResolution(setup.resolution);
    writer.setPageLayout(
        QPageLayout(setup.size, QPageLayout::Portrait, setup.margins, QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("zelvor-helpdoc"));

    // The text area is the page inside its margins less the footer below it.
    const QRect paintRect = writer.pageLayout().paintRectPixels(setup.resolution);
    const QRectF body(0.0, 0.0, paintRect.width(),
                      paintRect.height() - millimetres(setup.footerHeight, setup.resolution));
    ManualLayout layout(markdown, writer, body.size(), style, pictureFolder);
    if (!layout.missingPictures().isEmpty()) {
        return {0, QStringLiteral("cannot read the picture %1 in %2")
                       .arg(layout.missingPictures().join(QStringLiteral(", ")),
                            pictureFolder.isEmpty() ? QStringLiteral(".") : pictureFolder)};
    }
    writer.setTitle(layout.title());

    QPainter painter;
    if (!painter.begin(&writer)) return {0, QStringLiteral("cannot start the PDF output")};
    // Pictures of the window are flat colours and small letters: kept
    // lossless they are sharper and, compressed, smaller than as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int pages = layout.pageCount();
    const qreal toDevice = pointsToDevice(writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) writer.newPage();
        layout.drawPage(painter, page);
        if (page > 0) {
            drawFooter(painter, body, layout.title(), page, pages, style, toDevice);
        }
    }
    if (!painter.end()) return {pages, QStringLiteral("cannot finish the PDF output")};
    return {pages, {}};
}

}  // namespace zelvor::helpdoc
