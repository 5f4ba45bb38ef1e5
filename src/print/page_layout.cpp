#include "print/page_layout.h"

#include <cstdint>

namespace zelvor::print {

namespace {

// value * numerator / denominator, rounded to the nearest whole number.
int scaled(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    return static_cast<int>((product + denominator / 2) / denominator);
}

}  // namespace

QRect printTargetRect(QSize picture, QSize printable) {
    if (picture.isEmpty() || printable.isEmpty()) return {};
    const int width = scaled(picture.width(), printable.height(), picture.height());
    if (width < printable.width()) return QRect(0, 0, width, printable.height());
    const int height = scaled(picture.height(), printable.width(), picture.width());
    return QRect(0, 0, printable.width(), height);
}

}  // namespace zelvor::print
