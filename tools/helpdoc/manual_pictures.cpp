#include "helpdoc/manual_pictures.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <QVariant>
#include <algorithm>

namespace zelvor::helpdoc {

namespace {

QImage pictureOf(QTextDocument& document, const QString& name) {
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.canConvert<QImage>()) return resource.value<QImage>();
    // The document reads a file into bytes; a picture it cannot decode is no picture.
    return QImage::fromData(resource.toByteArray());
}

}  // namespace

QStringList fitPictures(QTextDocument& document, qreal lineWidth) {
    QStringList missing;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage picture = pictureOf(document, format.name());
            if (picture.isNull()) {
                missing << format.name();
                continue;
            }
            // Format units are pixels of a 96 dpi screen: a picture keeps its
            // pixel size unless that is wider than the line.
            const qreal width = std::min<qreal>(picture.width(), lineWidth);
            format.setWidth(width);
            format.setHeight(width * picture.height() / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
            // Line spacing in proportion to the line would put a strip of the
            // picture's height under it.
            QTextBlockFormat spacing = block.blockFormat();
            spacing.setLineHeight(100.0, QTextBlockFormat::ProportionalHeight);
            cursor.setBlockFormat(spacing);
        }
    }
    return missing;
}

}  // namespace zelvor::helpdoc
