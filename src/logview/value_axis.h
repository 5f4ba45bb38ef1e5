#pragma once

namespace zelvor::logview {

// A strip chart's value axis: from `lowest` to `highest` of the values shown,
// widened to whole steps of 1, 2, 2.5 or 5 times a power of ten, with two to
// four steps between its ends, so that the trace fills most of the chart's
// height and its labels are round numbers.
struct ValueAxis {
    double min = 0.0;
    double max = 0.0;
    int ticks = 0;  // labelled lines, the ends included

    friend bool operator==(const ValueAxis&, const ValueAxis&) = default;
};

ValueAxis valueAxis(double lowest, double highest);

}  // namespace zelvor::logview
