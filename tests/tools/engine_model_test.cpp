#include "sim/engine_model.h"

#include <gtest/gtest.h>

#include <set>

#include "sim/default_image.h"
#include "sim/monitor_frame.h"

namespace zelvor::sim {
namespace {

using model::Field;
using std::chrono::milliseconds;

constexpr std::array<std::uint8_t, 15> kAxis = {10, 15, 20, 25, 30,  35,  40, 50,
                                                60, 70, 80, 90, 100, 110, 125};

// Every moment of two ride cycles, a quarter second apart.
std::vector<EngineState> ride(const model::ParameterImage& image) {
    std::vector<EngineState> states;
    for (int ms = 0; ms <= 96'000; ms += 250)
        states.push_back(simulateEngine(milliseconds(ms), image));
    return states;
}

TEST(LookUpMap, HitsCellsExactlyAndInterpolatesBetweenThem) {
    std::array<double, 150> cells{};
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 15; ++c) cells[r * 15 + c] = r * 100 + c;
    }
    EXPECT_DOUBLE_EQ(lookUpMap(cells, kAxis, 3000, 20), 4 * 100 + 4);
    EXPECT_DOUBLE_EQ(lookUpMap(cells, kAxis, 12500, 100), 914);
    EXPECT_DOUBLE_EQ(lookUpMap(cells, kAxis, 3250, 20), 404.5);  // halfway to 3500 rpm
    EXPECT_DOUBLE_EQ(lookUpMap(cells, kAxis, 3000, 25), 454);    // halfway to 30 %
    // Held at the edges of the map.
    EXPECT_DOUBLE_EQ(lookUpMap(cells, kAxis, 200, 0), 0);
    EXPECT_DOUBLE_EQ(lookUpMap(cells, kAxis, 20000, 100), 914);
}

TEST(EngineModel, RideGoesThroughEveryGearWithConsistentSpeedRatio) {
    const model::ParameterImage image = builtInImage();
    std::set<int> gears;
    int highestSpeed = 0;
    int lowestRunningRpm = 100000;
    int highestRpm = 0;
    for (const EngineState& s : ride(image)) {
        gears.insert(s.gear);
        highestSpeed = std::max<int>(highestSpeed, s.roadSpeed);
        if (s.running) lowestRunningRpm = std::min<int>(lowestRunningRpm, s.rpm);
        highestRpm = std::max<int>(highestRpm, s.rpm);
        if (s.gear == 0) {
            EXPECT_EQ(s.roadSpeed, 0);
            EXPECT_EQ(s.speedRatio, 0);
        } else if (s.roadSpeed >= 20 && s.rpm > 2600) {
            const double expected = image.get(Field::GEAR_PomerRpmSpeed, s.gear - 1u);
            EXPECT_NEAR(s.speedRatio, expected, expected * 0.03)
                << "gear " << int(s.gear) << " at " << s.roadSpeed << " km/h";
        }
    }
    EXPECT_EQ(gears, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_GE(highestSpeed, 200);
    EXPECT_LT(lowestRunningRpm, 1500);
    EXPECT_GT(highestRpm, 12000);  // the rev in neutral reaches the limiters
}

TEST(EngineModel, FewerGearsAreHonoured) {
    model::ParameterImage image = builtInImage();
    image.set(Field::GEAR_PocetGear, 4);
    for (const EngineState& s : ride(image)) EXPECT_LE(s.gear, 4);
}

TEST(EngineModel, AdvanceAndInjectionComeFromTheMaps) {
    model::ParameterImage image = builtInImage();
    for (std::size_t k = 0; k < 150; ++k) {
        image.set(Field::ADVANCE_Cell, k, 25);
        image.set(Field::JET_1A_Cell, k, 4000);
        image.set(Field::JET_2A_Cell, k, 3000);
    }
    image.set(Field::ADVANCE_MISC_CylKor1, 102);  // +2 degrees
    image.set(Field::ADVANCE_MISC_CylKor2, 97);   // -3 degrees
    for (const EngineState& s : ride(image)) {
        if (!s.running) continue;
        ASSERT_EQ(s.advance1, 27);
        ASSERT_EQ(s.advance2, 22);
        ASSERT_EQ(s.injection1Us, 4000);
        ASSERT_EQ(s.injection2Us, 3000);
    }
    image.set(Field::JET1_MISC_Jet123Mode, 2);  // map 2 equals map 1
    EXPECT_EQ(simulateEngine(milliseconds(10'000), image).injection2Us, 4000);
}

TEST(EngineModel, AdvanceUsesFullThrottleRowWhenThrottleIsIgnored) {
    model::ParameterImage image = builtInImage();
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 15; ++c) image.set(Field::ADVANCE_Cell, r * 15 + c, 10u + r);
    }
    image.set(Field::ADVANCE_MISC_UseTps, 0);
    bool sawPartThrottle = false;
    for (const EngineState& s : ride(image)) {
        if (!s.running) continue;
        EXPECT_EQ(s.advance1, 19);
        sawPartThrottle |= s.throttlePermille < 900;
    }
    EXPECT_TRUE(sawPartThrottle);
    image.set(Field::ADVANCE_MISC_UseTps, 1);
    const EngineState idle = simulateEngine(milliseconds(3000), image);  // standing, closed
    EXPECT_EQ(idle.throttlePermille, 0);
    EXPECT_EQ(idle.advance1, 10);
}

TEST(EngineModel, EngineWarmsUpAndSensorsFollowTheirCurves) {
    const model::ParameterImage image = builtInImage();
    const EngineState cold = simulateEngine(milliseconds(0), image);
    const EngineState warm = simulateEngine(milliseconds(300'000), image);
    EXPECT_EQ(cold.coolantC, 20);
    EXPECT_GE(warm.coolantC, 95);
    EXPECT_GT(warm.airC, cold.airC);
    // Coolant sensor at 20 degrees: the curve's second point.
    EXPECT_EQ(cold.coolantMv, image.get(Field::WATER_TEMP_SENSOR_CidloTVoda, 1));
    EXPECT_LT(warm.coolantMv, cold.coolantMv);
    EXPECT_TRUE(warm.fan1);  // above the first fan temperature of the built-in set
    for (const EngineState& s : ride(image)) {
        if (!s.running) continue;
        EXPECT_NEAR(s.supplyMv, 13800, 300);
        EXPECT_GE(s.lambdaMv, 50);
        EXPECT_LE(s.lambdaMv, 950);
    }
}

TEST(EngineModel, LimiterFlagsFollowTheLimiterSpeeds) {
    const model::ParameterImage image = builtInImage();
    int limited = 0;
    for (const EngineState& s : ride(image)) {
        EXPECT_EQ(s.ignitionLimiter, s.rpm >= image.get(Field::LIMITER_IgnLimiter) * 100);
        EXPECT_EQ(s.retardLimiter, s.rpm >= image.get(Field::LIMITER_RetardLimiterRpm) * 100);
        limited += s.ignitionLimiter;
    }
    EXPECT_GT(limited, 0);
}

TEST(MonitorFrame, FieldsSitAtTheirOffsets) {
    EngineState e;
    e.rpm = 6123;
    e.throttlePermille = 123;  // 12.3 %
    e.gear = 3;
    e.roadSpeed = 96;
    e.speedRatio = 638;
    e.gearRatios = {1100, 800, 640, 530, 460, 400};
    e.coolantC = 85;
    e.airC = 30;
    e.advance1 = 31;
    e.advance2 = 29;
    e.injection1Us = 4040;
    e.injection2Us = 3960;
    e.supplyMv = 13800;
    e.lambdaMv = 700;
    e.shiftLight = 1;
    e.clutchPulled = true;
    e.ignitionLimiter = true;
    e.fan2 = true;
    e.running = true;
    const UnitStatus status{7, 2756, 63};
    const link::LinkFrame f = encodeMonitorFrame(e, status);
    EXPECT_TRUE(f.checkOk());
    EXPECT_EQ(f.command(), 0xB0);
    const auto& b = f.bytes();
    EXPECT_EQ(b[9], 12);
    EXPECT_EQ(b[28], 3);
    EXPECT_EQ(b[10], 31);
    EXPECT_EQ(b[11], 29);
    EXPECT_EQ(b[14], 40);
    EXPECT_EQ(b[15], 40);
    EXPECT_EQ(b[23], 185);
    EXPECT_EQ(b[24], 130);
    EXPECT_EQ(b[25], 3);
    EXPECT_EQ(b[27], 1);
    EXPECT_EQ(f.word(48), 6123);
    EXPECT_EQ(f.word(58), 700);
    EXPECT_EQ(f.word(64), 13800);
    EXPECT_EQ(f.word(76), 7);
    EXPECT_EQ(f.word(116), 96);
    EXPECT_EQ(f.word(120), 638);
    EXPECT_EQ(f.word(122), 1100);
    EXPECT_EQ(f.word(132), 400);
    EXPECT_EQ(f.word(148), 2756);
    EXPECT_EQ(b[150], 63);
    // Inputs read 0 while operated: the clutch (bit 1) is pulled, the others
    // are not; neutral (bit 2) reads 1 only in neutral.
    EXPECT_EQ(b[1], 0xFF & ~0x02 & ~0x04);
    EXPECT_EQ(b[2] & 0x38, 0x08);  // only the ignition limiter
    EXPECT_EQ(b[4] & 0x18, 0x10);  // only fan 2
}

TEST(MonitorFrame, TemperaturesNeverLookLikeSensorFaults) {
    EngineState e;
    e.coolantC = -100;
    e.airC = -45;
    const link::LinkFrame f = encodeMonitorFrame(e, UnitStatus{});
    EXPECT_NE(f.bytes()[23], 0);
    EXPECT_GT(f.bytes()[24], 60);
}

}  // namespace
}  // namespace zelvor::sim
