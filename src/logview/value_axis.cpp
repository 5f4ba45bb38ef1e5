#include "logview/value_axis.h"

#include <algorithm>
#include <cmath>

namespace zelvor::logview {

namespace {

constexpr int kMostSteps = 4;
// Quotients within this of a whole number count as whole, so that a value
// on a step's line does not add a step through rounding.
constexpr double kSlack = 1e-9;

}  // namespace

ValueAxis valueAxis(double lowest, double highest) {
    if (!std::isfinite(lowest) || !std::isfinite(highest) || highest < lowest) {
        return {-1.0, 1.0, 3};
    }
    // A flat line stands in the middle.
    if (highest == lowest) return valueAxis(lowest - 1.0, highest + 1.0);
    const double span = highest - lowest;
    double scale = std::pow(10.0, std::floor(std::log10(span / kMostSteps)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
            const double step = factor * scale;
            const double first = std::floor(lowest / step + kSlack);
            const double last = std::ceil(highest / step - kSlack);
            const double steps = last - first;
            if (steps <= kMostSteps) {
                const int lines = static_cast<int>(std::max(steps, 1.0)) + 1;
                // The ends never cut off a value by a rounding error.
                return {std::min(first * step, lowest),
                        std::max((first + lines - 1) * step, highest), lines};
            }
        }
        scale *= 10.0;
    }
}

}  // namespace zelvor::logview
