#include "logview/value_axis.h"

#include <gtest/gtest.h>

#include <limits>

using zelvor::logview::ValueAxis;
using zelvor::logview::valueAxis;

// Channels as a ride shows them: the axis ends on round numbers, holds every
// value, and leaves the trace most of the height.
TEST(ValueAxis, RoundEndsAroundTheValuesWithFewSteps) {
    EXPECT_EQ(valueAxis(0.0, 100.0), (ValueAxis{0.0, 100.0, 5}));         // throttle %
    EXPECT_EQ(valueAxis(1186.0, 10500.0), (ValueAxis{0.0, 15000.0, 4}));  // rpm
    EXPECT_EQ(valueAxis(30.0, 830.0), (ValueAxis{0.0, 1000.0, 5}));       // lambda mV
    EXPECT_EQ(valueAxis(24.0, 57.0), (ValueAxis{20.0, 60.0, 5}));         // coolant °C
    EXPECT_EQ(valueAxis(-12.5, 7.0), (ValueAxis{-20.0, 10.0, 4}));        // advance correction
    const ValueAxis supply = valueAxis(13.6, 13.9);                       // V, steps of 0.1
    EXPECT_DOUBLE_EQ(supply.min, 13.6);
    EXPECT_DOUBLE_EQ(supply.max, 13.9);
    EXPECT_EQ(supply.ticks, 4);
    for (const auto& [lowest, highest] :
         {std::pair{0.0, 100.0}, {1186.0, 10500.0}, {0.2, 0.7}, {-3.0, 1e6}, {99.9, 100.1}}) {
        const ValueAxis axis = valueAxis(lowest, highest);
        EXPECT_LE(axis.min, lowest);
        EXPECT_GE(axis.max, highest);
        EXPECT_GE(axis.ticks, 3) << lowest << ".." << highest;
        EXPECT_LE(axis.ticks, 5) << lowest << ".." << highest;
        // The values take more than a third of the height.
        EXPECT_GT((highest - lowest) / (axis.max - axis.min), 1.0 / 3.0)
            << lowest << ".." << highest;
    }
}

TEST(ValueAxis, FlatAndBrokenRangesStillGiveAnAxis) {
    EXPECT_EQ(valueAxis(0.0, 0.0), (ValueAxis{-1.0, 1.0, 5}));
    EXPECT_EQ(valueAxis(57.0, 57.0), (ValueAxis{56.0, 58.0, 5}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(valueAxis(nan, 3.0), (ValueAxis{-1.0, 1.0, 3}));
    EXPECT_EQ(valueAxis(5.0, 1.0), (ValueAxis{-1.0, 1.0, 3}));
}
