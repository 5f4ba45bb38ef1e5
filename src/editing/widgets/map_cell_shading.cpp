#include "editing/widgets/map_cell_shading.h"

#include <algorithm>

namespace zelvor::widgets {

namespace {

constexpr QColor kLow{0xDC, 0xE9, 0xF5};
constexpr QColor kMiddle{0xF4, 0xEF, 0xDC};
constexpr QColor kHigh{0xF5, 0xD0, 0xC4};

}  // namespace

QColor blend(QColor a, QColor b, double share) {
    auto channel = [share](int x, int y) { return static_cast<int>(x + (y - x) * share + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

QColor shadeOf(int value, int lowest, int highest) {
    if (highest <= lowest) return kMiddle;
    const double share =
        std::clamp(static_cast<double>(value - lowest) / (highest - lowest), 0.0, 1.0);
    return share < 0.5 ? blend(kLow, kMiddle, share * 2) : blend(kMiddle, kHigh, share * 2 - 1);
}

}  // namespace zelvor::widgets
