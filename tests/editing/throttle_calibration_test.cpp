#include "editing/throttle_calibration.h"

#include <gtest/gtest.h>

#include <span>
#include <tuple>

namespace zelvor::editing {
namespace {

using model::Field;

struct Case {
    unsigned millivolts;
    bool taken;
    unsigned stored;  // when taken
};

// The closed-throttle point: 300..2500 mV, stored as mV / 10.
constexpr Case kClosed[] = {
    {299, false, 0},   {300, true, 30},  {1234, true, 123},
    {2500, true, 250}, {2501, false, 0}, {0, false, 0},
};

// The open-throttle point: 2500..4900 mV, stored as mV / 10 - 250.
constexpr Case kOpen[] = {
    {2499, false, 0},  {2500, true, 0},  {4735, true, 223},
    {4900, true, 240}, {4901, false, 0}, {65535, false, 0},
};

TEST(ThrottleCalibration, ThePointsAreTakenOnlyInsideTheirVoltageWindows) {
    for (const auto& [cases, field, take] :
         {std::tuple{std::span<const Case>(kClosed), Field::TPS_Tps0, &takeThrottleClosedPoint},
          std::tuple{std::span<const Case>(kOpen), Field::TPS_Tps100, &takeThrottleOpenPoint}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.millivolts);
            model::ParameterImage image;
            image.set(Field::TPS_Tps0, 77);
            image.set(Field::TPS_Tps100, 177);
            model::ParameterImage expected = image;
            if (c.taken) expected.set(field, c.stored);
            EXPECT_EQ(take(c.millivolts, image), c.taken);
            EXPECT_EQ(image, expected);
        }
    }
}

}  // namespace
}  // namespace zelvor::editing
