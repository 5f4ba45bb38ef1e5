#pragma once

#include <QColor>
#include <QString>

class QTextDocument;

namespace zelvor::helpdoc {

// Typography of the printed manual. Sizes and spaces are in points; the
// document is laid out on the PDF device, so a point is a printed point.
struct ManualStyle {
    QString bodyFamily = QStringLiteral("DejaVu Sans");
    QString codeFamily = QStringLiteral("DejaVu Sans Mono");
    qreal bodySize = 10.0;
    qreal tableSize = 9.0;
    qreal contentsSize = 9.5;
    qreal footerSize = 8.0;
    qreal lineHeightPercent = 115.0;
    qreal paragraphSpace = 4.0;
    qreal listItemSpace = 2.0;
    qreal cellPadding = 2.0;
    qreal tableBorder = 0.6;
    QColor headingColour = QColor(0x1d, 0x3c, 0x63);
    QColor ruleColour = QColor(0x9a, 0xa5, 0xb4);
    QColor headerCellColour = QColor(0xe4, 0xea, 0xf2);
    QColor codeColour = QColor(0x5a, 0x1e, 0x1e);
    QColor codeBlockColour = QColor(0xf2, 0xf4, 0xf7);
    QColor footerColour = QColor(0x55, 0x5d, 0x68);
};

// Looks of one heading level.
struct HeadingLook {
    qreal size;        // points
    qreal spaceAbove;  // points
    qreal spaceBelow;  // points
};

// Level 1 is the title, 2 a chapter, 3 a section, 4 a subsection; deeper
// levels look like level 4.
HeadingLook headingLook(int level);

// Lengths in text formats (margins, paddings, borders, tab stops) are pixels
// of a 96 dpi screen; the layout scales them to the device it lays out on.
inline constexpr qreal kFormatUnitsPerPoint = 96.0 / 72.0;

// Gives the document its fonts, headings, paragraph spacing, tables and code
// spans.
void applyManualStyle(QTextDocument& document, const ManualStyle& style);

}  // namespace zelvor::helpdoc
