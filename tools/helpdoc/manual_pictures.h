#pragma once

#include <QStringList>

class QTextDocument;

namespace zelvor::helpdoc {

// Loads the pictures a manual names (![text](name.png), relative to the
// document's base URL) and makes each one that is wider than a line as wide
// as the line, keeping its proportions; smaller ones keep their size. Widths
// are in format units (see kFormatUnitsPerPoint); a paragraph with a picture
// gets single line spacing. Returns the names of the pictures that could not
// be loaded; they keep no size.
QStringList fitPictures(QTextDocument& document, qreal lineWidth);

}  // namespace zelvor::helpdoc
