#include "link/operating_point.h"

#include <gtest/gtest.h>

#include <array>

namespace zelvor::link {
namespace {

using model::Field;

TEST(NearestPoint, TiesGoToTheHigherPoint) {
    const std::array<int, 4> axis{1000, 2000, 3000, 4000};
    EXPECT_EQ(nearestPoint(axis, 0), 0);
    EXPECT_EQ(nearestPoint(axis, 1499), 0);
    EXPECT_EQ(nearestPoint(axis, 1500), 1);
    EXPECT_EQ(nearestPoint(axis, 3600), 3);
    EXPECT_EQ(nearestPoint(axis, 99999), 3);
    EXPECT_EQ(nearestPoint(kThrottleRows, 3), 1);
    EXPECT_EQ(nearestPoint(kThrottleRows, 4), 2);
    EXPECT_EQ(nearestPoint(kThrottleRows, 100), 9);
}

TEST(MapOperatingPoint, EachMapOnItsOwnAxisAndTheAdvanceMapWithoutThrottleAtFullRow) {
    model::ParameterImage image;
    for (std::size_t i = 0; i < 15; ++i) {
        image.set(Field::RPM_ADV_Rpm, i, 10 * (i + 1));     // 1000, 2000, ... rpm
        image.set(Field::RPM_JET_2A_Rpm, i, 20 * (i + 1));  // 2000, 4000, ... rpm
        image.set(Field::POSITION_A_Rpm, i, 5 * (i + 1));   // 500, 1000, ... rpm
    }
    image.set(Field::ADVANCE_MISC_UseTps, 1);
    LiveValues live;
    live.engineSpeed = 4000;
    live.throttlePercent = 25;

    const MapOperatingPoint advance = mapOperatingPoint(LiveMap::Advance, live, image);
    EXPECT_EQ(advance, (MapOperatingPoint{{3, 5}, 5, true}));
    EXPECT_EQ(mapOperatingPoint(LiveMap::Injection2, live, image).cell, (CurrentCell{1, 5}));
    EXPECT_EQ(mapOperatingPoint(LiveMap::Injection1, live, image).cell.column, 14)
        << "an axis of zeros: the last point";
    EXPECT_EQ(positionColumn(live, image), 7);

    image.set(Field::ADVANCE_MISC_UseTps, 0);
    live.engineSpeed = 0;
    const MapOperatingPoint stopped = mapOperatingPoint(LiveMap::Advance, live, image);
    EXPECT_EQ(stopped, (MapOperatingPoint{{0, 9}, 5, false}));
    EXPECT_EQ(mapOperatingPoint(LiveMap::Injection2, live, image).cell.row, 5)
        << "the injection maps keep the throttle row";
}

TEST(CorrectionPoints, CoolantAirAndTimeSinceStart) {
    EXPECT_EQ(coolantCorrectionPoint(90), 0);  // -10 C
    EXPECT_EQ(coolantCorrectionPoint(104), 0);
    EXPECT_EQ(coolantCorrectionPoint(105), 1);
    EXPECT_EQ(coolantCorrectionPoint(180), 3);  // 80 C, also a sensor fault
    EXPECT_EQ(coolantCorrectionPoint(224), 4);
    EXPECT_EQ(coolantCorrectionPoint(225), 5);  // from 125 C nothing
    EXPECT_EQ(coolantCorrectionPoint(230), 5);  // 130 C
    EXPECT_EQ(coolantCorrectionPoint(0), 3);
    EXPECT_EQ(airCorrectionPoint(0), 2);
    EXPECT_EQ(airCorrectionPoint(120), 1);

    // Time points 2, 10, 30, 60 s; the time is in 0.1 s.
    model::ParameterImage image;
    const unsigned times[] = {2, 10, 30, 60};
    for (std::size_t i = 0; i < 4; ++i) image.set(Field::CHOKE_SyticCas, i, times[i]);
    EXPECT_EQ(startCorrectionPoint(0, image), 0);
    EXPECT_EQ(startCorrectionPoint(10, image), 0);
    EXPECT_EQ(startCorrectionPoint(11, image), 1);
    EXPECT_EQ(startCorrectionPoint(59, image), 1);
    EXPECT_EQ(startCorrectionPoint(60, image), 2);
    EXPECT_EQ(startCorrectionPoint(449, image), 3);
    EXPECT_EQ(startCorrectionPoint(450, image), 4);
}

}  // namespace
}  // namespace zelvor::link
