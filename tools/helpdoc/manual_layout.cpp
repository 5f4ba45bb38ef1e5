#include "helpdoc/manual_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QUrl>

#include "helpdoc/manual_pictures.h"

namespace zelvor::helpdoc {

namespace {

// Chapters and sections are listed in the contents; subsections are not.
constexpr int kDeepestContentsLevel = 3;

// Mending one page break can spoil a later one, and page numbers can change
// the contents; a few rounds settle both.
constexpr int kMaxLayoutRounds = 8;

// The French texts write the acute accent "´" for an apostrophe ("d´activation").
// Line breaking allows a break before that accent, which would leave "d" at
// the end of one line and "´activation" at the start of the next; an
// invisible word joiner between the letter and the accent forbids it.
QString keepApostrophesWithTheirLetter(const QString& markdown) {
    static const QRegularExpression letterThenAccent(QStringLiteral("(\\p{L})\u00B4"));
    QString joined = markdown;
    joined.replace(letterThenAccent, QStringLiteral("\\1\u2060\u00B4"));
    return joined;
}

}  // namespace

qreal pointsToDevice(const QPaintDevice& device) {
    return device.logicalDpiY() / 72.0;
}

ManualLayout::ManualLayout(const QString& markdown, QPaintDevice& device, QSizeF pageBody,
                           const ManualStyle& style, const QString& pictureFolder)
    : pageBody_(pageBody), breaks_(document_, pageBody.height()) {
    document_.documentLayout()->setPaintDevice(&device);
    if (!pictureFolder.isEmpty()) {
        document_.setBaseUrl(QUrl::fromLocalFile(QDir(pictureFolder).absolutePath() + u'/'));
    }
    document_.setMarkdown(keepApostrophesWithTheirLetter(markdown),
                          QTextDocument::MarkdownDialectGitHub);
    applyManualStyle(document_, style);
    const qreal lineWidth = pageBody.width() * kFormatUnitsPerPoint / pointsToDevice(device);
    missingPictures_ = fitPictures(document_, lineWidth);
    contents_ = insertContents(document_, style, lineWidth, kDeepestContentsLevel);
    document_.setPageSize(pageBody);
    layOutWhole(document_);

    for (int round = 0; round < kMaxLayoutRounds; ++round) {
        bool changed = false;
        while (breaks_.mendFirst()) changed = true;
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

int ManualLayout::pageOf(const QTextBlock& block) const {
    return breaks_.pageOf(block);
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
    if (changed) {
        writeContentsPages(document_, contents_, pageNumbers);
        layOutWhole(document_);
    }
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
