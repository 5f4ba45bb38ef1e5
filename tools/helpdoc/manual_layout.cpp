#include "helpdoc/manual_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextTable>
#include <cmath>

namespace zelvor::helpdoc {

namespace {

// Chapters and sections are listed in the contents; subsections are not.
constexpr int kDeepestContentsLevel = 3;

// Moving a heading to the next page can push a later one to the foot of a
// page, and page numbers can change the contents; a few rounds settle both.
constexpr int kMaxLayoutRounds = 8;

bool isHeading(const QTextBlock& block) {
    return block.blockFormat().headingLevel() > 0;
}

}  // namespace

qreal pointsToDevice(const QPaintDevice& device) {
    return device.logicalDpiY() / 72.0;
}

ManualLayout::ManualLayout(const QString& markdown, QPaintDevice& device, QSizeF pageBody,
                           const ManualStyle& style)
    : pageBody_(pageBody) {
    document_.documentLayout()->setPaintDevice(&device);
    document_.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    applyManualStyle(document_, style);
    const qreal lineWidth = pageBody.width() * kFormatUnitsPerPoint / pointsToDevice(device);
    contents_ = insertContents(document_, style, lineWidth, kDeepestContentsLevel);
    document_.setPageSize(pageBody);

    for (int round = 0; round < kMaxLayoutRounds; ++round) {
        bool changed = false;
        while (keepNextHeadingWithText()) changed = true;
        if (fillContents()) changed = true;
        if (!changed) break;
    }
}

int ManualLayout::pageCount() const {
    return document_.pageCount();
}

QString ManualLayout::title() const {
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1) return block.text();
    }
    return {};
}

std::vector<PlacedHeading> ManualLayout::headings() const {
    std::vector<PlacedHeading> placed;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0) placed.push_back({block.text(), level, pageOf(block)});
    }
    return placed;
}

qreal ManualLayout::topOf(const QTextBlock& block) const {
    // Laying the block out first makes its lines and position valid.
    const QRectF bounds = document_.documentLayout()->blockBoundingRect(block);
    // Inside a table the layout position is relative to the cell; the
    // bounding rectangle is where the cell's row really stands.
    if (QTextCursor(block).currentTable() != nullptr) return bounds.top();
    // Outside, the first line moves down by itself when it does not fit on
    // the page any more, while the block's position stays where it began.
    const QTextLayout* layout = block.layout();
    qreal top = layout->position().y();
    if (layout->lineCount() > 0) top += layout->lineAt(0).y();
    return top;
}

int ManualLayout::pageOf(const QTextBlock& block) const {
    return static_cast<int>(std::floor(topOf(block) / pageBody_.height()));
}

// Finds the first chapter or section heading whose text starts on a later
// page than the heading itself and makes that heading start a new page.
bool ManualLayout::keepNextHeadingWithText() {
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() < 2) continue;
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
        QTextBlock text = block.next();
        while (text.isValid() && isHeading(text)) text = text.next();
        if (!text.isValid() || pageOf(text) <= pageOf(block)) continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
        return true;
    }
    return false;
}

bool ManualLayout::fillContents() {
    if (!contents_.present()) return false;
    std::vector<int> pageNumbers;
    QTextBlock block = document_.findBlockByNumber(contents_.firstBlock + contents_.count);
    for (; block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level >= 2 && level <= kDeepestContentsLevel) pageNumbers.push_back(pageOf(block) + 1);
    }
    bool changed = false;
    for (int i = 0; i < contents_.count && i < static_cast<int>(pageNumbers.size()); ++i) {
        const QString number = QString::number(pageNumbers[static_cast<std::size_t>(i)]);
        if (contentsPageText(document_, contents_, i) != number) changed = true;
    }
    if (changed) writeContentsPages(document_, contents_, pageNumbers);
    return changed;
}

void ManualLayout::drawPage(QPainter& painter, int page) const {
    const QRectF area(0.0, page * pageBody_.height(), pageBody_.width(), pageBody_.height());
    painter.save();
    painter.translate(0.0, -area.top());
    painter.setClipRect(area);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = area;
    document_.documentLayout()->draw(&painter, context);
    painter.restore();
}

}  // namespace zelvor::helpdoc
