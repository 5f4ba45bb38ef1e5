#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <vector>

#include "helpdoc/manual_contents.h"
#include "helpdoc/manual_style.h"
#include "helpdoc/page_breaks.h"

class QPaintDevice;
class QPainter;
class QTextBlock;

namespace zelvor::helpdoc {

// A heading of the laid-out manual and the page it stands on (from 0).
struct PlacedHeading {
    QString text;
    int level;
    int page;
};

// A Markdown manual laid out on pages: styled, with its table of contents
// filled in and its pages breaking in good places (see PageBreaks).
class ManualLayout {
  public:
    // device is what the pages are drawn on (its resolution sets the units),
    // pageBody the size of the text area of one page in device units. The
    // pictures the manual names are looked up in pictureFolder and made no
    // wider than the text.
    ManualLayout(const QString& markdown, QPaintDevice& device, QSizeF pageBody,
                 const ManualStyle& style = {}, const QString& pictureFolder = {});

    int pageCount() const;
    // The text of the first level-1 heading; empty when there is none.
    QString title() const;
    std::vector<PlacedHeading> headings() const;
    const ContentsLines& contents() const { return contents_; }
    // The pictures the manual names that could not be read.
    const QStringList& missingPictures() const { return missingPictures_; }
    QTextDocument& document() { return document_; }

    // The page (from 0) on which the first line of the block stands.
    int pageOf(const QTextBlock& block) const;
    const PageBreaks& pageBreaks() const { return breaks_; }

    // Draws one page's text area with its top left corner at the painter's origin.
    void drawPage(QPainter& painter, int page) const;

  private:
    bool fillContents();

    QTextDocument document_;
    QSizeF pageBody_;
    PageBreaks breaks_;
    ContentsLines contents_;
    QStringList missingPictures_;
};

// Points to the units of a paint device.
qreal pointsToDevice(const QPaintDevice& device);

}  // namespace zelvor::helpdoc
