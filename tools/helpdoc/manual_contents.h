#pragma once

#include <QString>
#include <vector>

#include "helpdoc/manual_style.h"

class QTextDocument;

namespace zelvor::helpdoc {

// A paragraph holding only this text is replaced by the table of contents.
inline constexpr char kContentsMarker[] = "[TOC]";

// The lines of the table of contents, by block number, one per heading that
// follows the marker, in the same order as those headings.
struct ContentsLines {
    int firstBlock = -1;
    int count = 0;

    bool present() const { return firstBlock >= 0; }
};

// Replaces the marker paragraph by one line per heading of level 2 to
// deepestLevel that follows it: the heading's text, then its page number
// aligned at lineWidth (in format units, see kFormatUnitsPerPoint). The page
// numbers are placeholders until writeContentsPages fills them. The first
// block after the contents starts a new page. Nothing happens without a marker.
ContentsLines insertContents(QTextDocument& document, const ManualStyle& style, qreal lineWidth,
                             int deepestLevel);

// Writes the page numbers (as printed, starting at 1) into the contents lines.
void writeContentsPages(QTextDocument& document, const ContentsLines& lines,
                        const std::vector<int>& pageNumbers);

// The page number text of a contents line (what follows its tab).
QString contentsPageText(QTextDocument& document, const ContentsLines& lines, int index);

}  // namespace zelvor::helpdoc
