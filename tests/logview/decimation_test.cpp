// The decimated series: what the charts draw of a long log.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "logview/decimation.h"

namespace zelvor::logview {
namespace {

struct Series {
    std::vector<double> times;
    std::vector<double> values;
};

Series ramp(int count, double step = 0.055) {
    Series s;
    for (int i = 0; i < count; ++i) {
        s.times.push_back(i * step);
        s.values.push_back(std::sin(i * 0.01) * 100.0);
    }
    return s;
}

TEST(Decimation, ALongSeriesKeepsAFewPointsPerColumnAndEverySpike) {
    Series s = ramp(130'000);
    s.values[77'777] = 5000.0;   // a spike of one sample
    s.values[88'888] = -5000.0;  // and one down
    const std::vector<ChartPoint> points = decimate(s.times, s.values, 0.0, s.times.back(), 800);
    EXPECT_LE(points.size(), 800U * 4 + 2);
    EXPECT_GE(points.size(), 800U);
    bool up = false;
    bool down = false;
    for (const ChartPoint& p : points) {
        up = up || p.y == 5000.0;
        down = down || p.y == -5000.0;
    }
    EXPECT_TRUE(up);
    EXPECT_TRUE(down);
    // In time order, so the line does not run back.
    for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LE(points[i - 1].x, points[i].x);
    EXPECT_EQ(points.front().x, 0.0);
    EXPECT_EQ(points.back().x, s.times.back());
}

TEST(Decimation, ARangeInsideTheLogReachesItsEdgesAndAFewSamplesStayAsTheyAre) {
    const Series s = ramp(1000, 1.0);
    // Fewer samples than columns: every sample, one beyond each edge.
    const std::vector<ChartPoint> points = decimate(s.times, s.values, 100.5, 110.5, 500);
    ASSERT_EQ(points.size(), 12U);
    EXPECT_EQ(points.front().x, 100.0);
    EXPECT_EQ(points.back().x, 111.0);
    for (const ChartPoint& p : points) EXPECT_EQ(p.y, s.values[static_cast<std::size_t>(p.x)]);
}

TEST(Decimation, FaultyReadingsLeaveGapsAndNothingIsAskedOfAnEmptyRange) {
    Series s = ramp(100, 1.0);
    for (int i = 10; i < 20; ++i) s.values[i] = std::numeric_limits<double>::quiet_NaN();
    for (const ChartPoint& p : decimate(s.times, s.values, 0.0, 99.0, 30)) {
        EXPECT_FALSE(std::isnan(p.y));
    }
    EXPECT_TRUE(decimate(s.times, s.values, 5.0, 5.0, 30).empty());
    EXPECT_TRUE(decimate(s.times, s.values, 0.0, 99.0, 0).empty());
    EXPECT_TRUE(decimate({}, {}, 0.0, 1.0, 30).empty());
}

}  // namespace
}  // namespace zelvor::logview
