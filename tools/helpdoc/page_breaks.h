#pragma once

#include <QTextBlock>

class QTextDocument;
class QTextTable;

namespace zelvor::helpdoc {

// Lays the whole document out again. The layout works lazily: after a change
// it redoes only the part it is asked about and leaves blocks further on
// without lines, so they would be neither measured nor drawn.
void layOutWhole(QTextDocument& document);

// The pages of a document laid out with a page size, and the places where
// they break badly: a chapter or section heading left at the foot of a page,
// or a short table or a short paragraph split over two pages. Each is mended
// by starting a new page before it, together with the headings right above it.
class PageBreaks {
  public:
    PageBreaks(QTextDocument& document, qreal pageHeight)
        : document_(document), pageHeight_(pageHeight) {}

    // The page (from 0) on which the block's first or last line stands.
    int pageOf(const QTextBlock& block) const;
    int pageOfLastLine(const QTextBlock& block) const;

    // Starts a new page before the first bad break in reading order and lays
    // the document out again; false when there is none.
    bool mendFirst();

  private:
    qreal lineTop(const QTextBlock& block, int line) const;
    int pageAt(qreal y) const;
    bool headingLeftAlone(const QTextBlock& heading) const;
    bool shortTableSplit(QTextTable& table) const;
    bool shortParagraphSplit(const QTextBlock& block) const;
    bool startPageBefore(const QTextBlock& block);

    QTextDocument& document_;
    qreal pageHeight_;
};

}  // namespace zelvor::helpdoc
