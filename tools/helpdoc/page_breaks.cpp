#include "helpdoc/page_breaks.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <cmath>

namespace zelvor::helpdoc {

namespace {

// A paragraph of up to this many lines is not split over two pages.
constexpr int kShortParagraphLines = 4;

bool isHeading(const QTextBlock& block) {
    return block.isValid() && block.blockFormat().headingLevel() > 0;
}

bool startsPage(const QTextBlock& block) {
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

QTextTable* tableOf(const QTextBlock& block) {
    return QTextCursor(block).currentTable();
}

QTextBlock firstBlockOf(const QTextTable& table) {
    return table.cellAt(0, 0).firstCursorPosition().block();
}

}  // namespace

void layOutWhole(QTextDocument& document) {
    document.markContentsDirty(0, document.characterCount());
    document.documentLayout()->documentSize();
}

qreal PageBreaks::lineTop(const QTextBlock& block, int line) const {
    // Asking for the bounds lays the block out if it is not yet.
    const QRectF bounds = document_.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    const qreal lineY = layout->lineCount() > line ? layout->lineAt(line).y() : 0.0;
    // Inside a table the layout position is relative to the cell; the
    // bounding rectangle is where the cell's row really stands.
    if (tableOf(block) != nullptr) return bounds.top() + lineY;
    // Outside, a line moves down by itself when it does not fit on the page
    // any more, while the block's position stays where the block began.
    return layout->position().y() + lineY;
}

int PageBreaks::pageAt(qreal y) const {
    // A line moved to the top of a page is placed in the layout's fixed-point
    // units and can land a fraction of a unit above the page's exact start.
    constexpr qreal kTolerance = 1.0;
    return static_cast<int>(std::floor((y + kTolerance) / pageHeight_));
}

int PageBreaks::pageOf(const QTextBlock& block) const {
    return pageAt(lineTop(block, 0));
}

int PageBreaks::pageOfLastLine(const QTextBlock& block) const {
    const int lines = block.layout()->lineCount();
    return pageAt(lineTop(block, lines > 0 ? lines - 1 : 0));
}

bool PageBreaks::headingLeftAlone(const QTextBlock& heading) const {
    if (heading.blockFormat().headingLevel() < 2) return false;  // the title stays put
    QTextBlock text = heading.next();
    while (isHeading(text)) text = text.next();
    return text.isValid() && pageOf(text) > pageOf(heading);
}

bool PageBreaks::shortTableSplit(QTextTable& table) const {
    const QTextBlock first = firstBlockOf(table);
    const QTextBlock last = table.cellAt(table.rows() - 1, 0).firstCursorPosition().block();
    if (pageOf(last) == pageOf(first)) return false;
    // A table longer than half a page may run over.
    return document_.documentLayout()->frameBoundingRect(&table).height() <= pageHeight_ / 2.0;
}

bool PageBreaks::shortParagraphSplit(const QTextBlock& block) const {
    const int lines = block.layout()->lineCount();
    return lines > 1 && lines <= kShortParagraphLines && pageOfLastLine(block) > pageOf(block);
}

// Makes the block start a new page, with the headings right above it. False
// when that page already starts there, so nothing would change.
bool PageBreaks::startPageBefore(const QTextBlock& block) {
    QTextBlock start = block;
    while (isHeading(start.previous())) start = start.previous();
    if (QTextTable* table = tableOf(start)) {
        QTextTableFormat format = table->format();
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) return false;
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        table->setFormat(format);
    } else {
        if (startsPage(start)) return false;
        QTextBlockFormat format = start.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(start).setBlockFormat(format);
    }
    layOutWhole(document_);
    return true;
}

bool PageBreaks::mendFirst() {
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        bool bad = false;
        if (QTextTable* table = tableOf(block)) {
            bad = block == firstBlockOf(*table) && table->rows() > 0 && shortTableSplit(*table);
        } else if (isHeading(block)) {
            bad = headingLeftAlone(block);
        } else {
            bad = shortParagraphSplit(block);
        }
        if (bad && startPageBefore(block)) return true;
    }
    return false;
}

}  // namespace zelvor::helpdoc
