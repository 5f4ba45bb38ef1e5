#pragma once

#include <QRect>
#include <QSize>

namespace zelvor::print {

// Where the window's picture goes on the page: at the top left corner of the
// printable area, as large as fits with its aspect ratio kept. The height is
// tried first (full page height); when the width that gives is not smaller
// than the page width, the picture takes the full width and its height
// follows. Scaled sizes are rounded to whole printer pixels. An empty
// picture or page gives an empty rectangle.
QRect printTargetRect(QSize picture, QSize printable);

}  // namespace zelvor::print
