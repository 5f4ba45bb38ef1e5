#include "helpdoc/manual_style.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <array>

namespace zelvor::helpdoc {

namespace {

constexpr std::array<HeadingLook, 4> kHeadingLooks = {{
    {24.0, 30.0, 8.0},  // title
    {15.0, 18.0, 6.0},  // chapter
    {12.0, 12.0, 4.0},  // section
    {10.5, 9.0, 3.0},   // subsection
}};

QFont bodyFont(const ManualStyle& style, qreal size) {
    QFont font(style.bodyFamily);
    // Without shaping there are no ligatures, so the PDF text can be
    // searched and copied as it is written ("fi", not one glyph for both).
    font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    font.setPointSizeF(size);
    return font;
}

// The whole text of a block, as one selection.
QTextCursor selectBlock(const QTextBlock& block) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    return cursor;
}

void styleHeading(const QTextBlock& block, int level, const ManualStyle& style, qreal toFormat) {
    const HeadingLook look = headingLook(level);
    QTextCursor cursor = selectBlock(block);
    // A fresh format drops the relative size the Markdown reader gives
    // headings, which would otherwise scale the size set here once more.
    QTextCharFormat chars;
    chars.setFont(bodyFont(style, look.size));
    chars.setFontWeight(QFont::Bold);
    chars.setForeground(style.headingColour);
    cursor.setCharFormat(chars);

    QTextBlockFormat format = block.blockFormat();
    format.setTopMargin(look.spaceAbove * toFormat);
    format.setBottomMargin(look.spaceBelow * toFormat);
    format.setLineHeight(100.0, QTextBlockFormat::ProportionalHeight);
    if (level == 1) format.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(format);
}

// The line under the title: centred, larger and quieter than the text.
void styleSubtitle(const QTextBlock& block, const ManualStyle& style, qreal toFormat) {
    QTextCursor cursor = selectBlock(block);
    QTextCharFormat chars;
    chars.setFontPointSize(style.bodySize * 1.25);
    chars.setForeground(style.footerColour);
    cursor.mergeCharFormat(chars);
    QTextBlockFormat format = block.blockFormat();
    format.setAlignment(Qt::AlignHCenter);
    format.setBottomMargin(24.0 * toFormat);
    cursor.setBlockFormat(format);
}

void styleParagraph(const QTextBlock& block, const ManualStyle& style, qreal toFormat) {
    QTextBlockFormat format = block.blockFormat();
    const bool listItem = block.textList() != nullptr;
    format.setBottomMargin((listItem ? style.listItemSpace : style.paragraphSpace) * toFormat);
    format.setTopMargin(0.0);
    format.setLineHeight(style.lineHeightPercent, QTextBlockFormat::ProportionalHeight);
    QTextCursor(block).setBlockFormat(format);
}

bool isCodeLine(const QTextBlock& block) {
    return block.isValid() && block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage);
}

// A code block is one block per line: the lines sit close together on a
// light ground, with the paragraph space after the last one.
void styleCodeLine(const QTextBlock& block, const ManualStyle& style, qreal toFormat) {
    QTextBlockFormat format = block.blockFormat();
    format.setTopMargin(isCodeLine(block.previous()) ? 0.0 : 2.0 * toFormat);
    format.setBottomMargin(isCodeLine(block.next()) ? 0.0 : style.paragraphSpace * toFormat);
    format.setLineHeight(100.0, QTextBlockFormat::ProportionalHeight);
    format.setBackground(style.codeBlockColour);
    QTextCursor(block).setBlockFormat(format);

    QTextCursor cursor = selectBlock(block);
    QTextCharFormat chars;
    chars.setFontFamilies(QStringList{style.codeFamily});
    chars.setFontStyleHint(QFont::Monospace);
    chars.setFontPointSize(style.bodySize * 0.9);
    chars.setForeground(QColor(Qt::black));
    cursor.mergeCharFormat(chars);
}

// Inline code keeps its fixed-pitch font, a little smaller and darker than
// the text around it.
void styleCodeSpans(const QTextBlock& block, const ManualStyle& style, qreal size) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid() || !fragment.charFormat().fontFixedPitch()) continue;
        QTextCursor cursor(block);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontFamilies(QStringList{style.codeFamily});
        format.setFontStyleHint(QFont::Monospace);
        format.setFontPointSize(size * 0.92);
        format.setForeground(style.codeColour);
        cursor.mergeCharFormat(format);
    }
}

void styleTable(QTextTable& table, const ManualStyle& style, qreal toFormat) {
    QTextTableFormat format = table.format();
    format.setBorder(style.tableBorder * toFormat);
    format.setBorderBrush(style.ruleColour);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0.0);
    format.setCellPadding(style.cellPadding * toFormat);
    format.setTopMargin(2.0 * toFormat);
    format.setBottomMargin(8.0 * toFormat);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100.0));
    table.setFormat(format);

    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            QTextTableCell cell = table.cellAt(row, column);
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            QTextCharFormat chars;
            chars.setFontPointSize(style.tableSize);
            if (row == 0) chars.setFontWeight(QFont::Bold);
            cursor.mergeCharFormat(chars);
            // With collapsed borders each cell draws its own rules.
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            cellFormat.setBorder(style.tableBorder * toFormat);
            cellFormat.setBorderBrush(style.ruleColour);
            cellFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            cellFormat.setLeftPadding(2.0 * style.cellPadding * toFormat);
            cellFormat.setRightPadding(2.0 * style.cellPadding * toFormat);
            if (row == 0) cellFormat.setBackground(style.headerCellColour);
            cell.setFormat(cellFormat);
        }
    }
}

}  // namespace

HeadingLook headingLook(int level) {
    const std::size_t index = static_cast<std::size_t>(std::clamp(level, 1, 4) - 1);
    return kHeadingLooks[index];
}

void applyManualStyle(QTextDocument& document, const ManualStyle& style) {
    constexpr qreal toFormat = kFormatUnitsPerPoint;
    document.setDefaultFont(bodyFont(style, style.bodySize));
    document.setDocumentMargin(0.0);

    // Tables first: their cell size is what the code spans inside them scale.
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) styleTable(*table, style, toFormat);
    }
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0) {
            styleHeading(block, level, style, toFormat);
            continue;
        }
        if (isCodeLine(block)) {
            styleCodeLine(block, style, toFormat);
            continue;
        }
        const bool inTable = QTextCursor(block).currentTable() != nullptr;
        if (!inTable) styleParagraph(block, style, toFormat);
        const QTextBlock before = block.previous();
        if (!inTable && block.textList() == nullptr && before.isValid() &&
            before.blockFormat().headingLevel() == 1) {
            styleSubtitle(block, style, toFormat);
        }
        styleCodeSpans(block, style, inTable ? style.tableSize : style.bodySize);
    }
}

}  // namespace zelvor::helpdoc
