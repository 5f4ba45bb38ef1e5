#include "helpdoc/manual_contents.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace zelvor::helpdoc {

namespace {

struct Entry {
    QString title;
    int level;
};

QTextBlock findMarker(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 &&
            block.text().trimmed() == QLatin1String(kContentsMarker)) {
            return block;
        }
    }
    return {};
}

std::vector<Entry> headingsAfter(const QTextBlock& marker, int deepestLevel) {
    std::vector<Entry> entries;
    for (QTextBlock block = marker.next(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level >= 2 && level <= deepestLevel) entries.push_back({block.text(), level});
    }
    return entries;
}

QTextBlockFormat lineFormat(const Entry& entry, qreal lineWidth) {
    constexpr qreal toFormat = kFormatUnitsPerPoint;
    QTextBlockFormat format;
    // Chapters stand out by a little space above and bold type; sections are
    // told by their numbers, so no line is indented and every page number
    // stands at the same right-aligned tab.
    format.setTopMargin(entry.level == 2 ? 3.0 * toFormat : 0.0);
    format.setLineHeight(112.0, QTextBlockFormat::ProportionalHeight);
    format.setTabPositions({QTextOption::Tab(lineWidth, QTextOption::RightTab)});
    return format;
}

QTextCharFormat lineChars(const Entry& entry, const ManualStyle& style) {
    QTextCharFormat chars;
    chars.setFontFamilies(QStringList{style.bodyFamily});
    chars.setFontPointSize(style.contentsSize);
    chars.setFontWeight(entry.level == 2 ? QFont::Bold : QFont::Normal);
    chars.setForeground(QColor(Qt::black));
    return chars;
}

QTextCursor pageNumberOf(QTextDocument& document, const ContentsLines& lines, int index) {
    const QTextBlock block = document.findBlockByNumber(lines.firstBlock + index);
    const int tab = block.text().lastIndexOf(QLatin1Char('\t'));
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + tab + 1);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    return cursor;
}

}  // namespace

ContentsLines insertContents(QTextDocument& document, const ManualStyle& style, qreal lineWidth,
                             int deepestLevel) {
    const QTextBlock marker = findMarker(document);
    if (!marker.isValid()) return {};
    const std::vector<Entry> entries = headingsAfter(marker, deepestLevel);

    ContentsLines lines{marker.blockNumber(), static_cast<int>(entries.size())};
    QTextCursor cursor(marker);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) cursor.insertBlock();
        cursor.setBlockFormat(lineFormat(entries[i], lineWidth));
        cursor.setBlockCharFormat(lineChars(entries[i], style));
        cursor.insertText(entries[i].title + QLatin1Char('\t') + QStringLiteral("0"),
                          lineChars(entries[i], style));
    }
    const QTextBlock after = document.findBlockByNumber(lines.firstBlock + lines.count);
    if (after.isValid()) {
        QTextBlockFormat format = after.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(after).setBlockFormat(format);
    }
    return lines;
}

void writeContentsPages(QTextDocument& document, const ContentsLines& lines,
                        const std::vector<int>& pageNumbers) {
    for (int i = 0; i < lines.count && i < static_cast<int>(pageNumbers.size()); ++i) {
        QTextCursor cursor = pageNumberOf(document, lines, i);
        const QString text = QString::number(pageNumbers[static_cast<std::size_t>(i)]);
        if (cursor.selectedText() != text) cursor.insertText(text);
    }
}

QString contentsPageText(QTextDocument& document, const ContentsLines& lines, int index) {
    return pageNumberOf(document, lines, index).selectedText();
}

}  // namespace zelvor::helpdoc
