#pragma once

#include <span>
#include <vector>

namespace zelvor::logview {

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// The points that draw a series over [from, to] on `columns` pixel columns
// as the whole series would look: per column the first, lowest, highest and
// last sample (in time order, repeats left out), so spikes and the line's
// way from one column to the next both stay. One sample before and after
// the range keep the line running to the edges. `times` rise; a value that
// is not a number (a faulty reading) is left out. At most about 4 points
// per column whatever the length of the series.
std::vector<ChartPoint> decimate(std::span<const double> times, std::span<const double> values,
                                 double from, double to, int columns);

}  // namespace zelvor::logview
