#include "logview/decimation.h"

#include <algorithm>
#include <cmath>

namespace zelvor::logview {

std::vector<ChartPoint> decimate(std::span<const double> times, std::span<const double> values,
                                 double from, double to, int columns) {
    std::vector<ChartPoint> points;
    const std::size_t n = std::min(times.size(), values.size());
    if (n == 0 || columns < 1 || !(to > from)) return points;
    // One sample either side of the range, so the line reaches the edges.
    auto first = static_cast<std::size_t>(
        std::lower_bound(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(n), from) -
        times.begin());
    auto last = static_cast<std::size_t>(
        std::upper_bound(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(n), to) -
        times.begin());
    if (first > 0) --first;
    if (last < n) ++last;
    if (first >= last) return points;
    points.reserve(std::min<std::size_t>(last - first, static_cast<std::size_t>(columns) * 4 + 2));

    const double width = (to - from) / columns;
    std::size_t i = first;
    while (i < last) {
        // The samples of one pixel column.
        const double column = std::floor((times[i] - from) / width);
        std::size_t end = i;
        while (end < last && std::floor((times[end] - from) / width) == column) ++end;
        std::size_t low = end;
        std::size_t high = end;
        std::size_t firstValid = end;
        std::size_t lastValid = end;
        for (std::size_t k = i; k < end; ++k) {
            if (std::isnan(values[k])) continue;
            if (firstValid == end) firstValid = k;
            lastValid = k;
            if (low == end || values[k] < values[low]) low = k;
            if (high == end || values[k] > values[high]) high = k;
        }
        if (firstValid != end) {
            std::size_t picked[4] = {firstValid, std::min(low, high), std::max(low, high),
                                     lastValid};
            std::size_t previous = end;
            for (std::size_t k : picked) {
                if (k == previous) continue;
                points.push_back({times[k], values[k]});
                previous = k;
            }
        }
        i = end;
    }
    return points;
}

}  // namespace zelvor::logview
