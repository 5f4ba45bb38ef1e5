// The simulated unit's sweep through the cells and its lambda probe.
#include <gtest/gtest.h>

#include "model/injection.h"
#include "sim/default_image.h"
#include "sim/fuel_model.h"
#include "sim/ride_sweep.h"
#include "sim/sim_options.h"
#include "sim/sim_unit.h"

namespace zelvor::sim {
namespace {

using namespace std::chrono_literals;
using model::Field;

TEST(CellBlock, ReadsRowsAndColumnsAndRefusesWhatLiesOutsideTheMap) {
    std::string error;
    EXPECT_EQ(parseCellBlock("2-4,4-8", error), (CellBlock{2, 4, 4, 8}));
    EXPECT_EQ(parseCellBlock("3,14", error), (CellBlock{3, 3, 14, 14}));
    for (const char* bad : {"2-4", "4-2,1-3", "0-10,0-3", "0-3,0-15", "a-b,1-2", "1-2,3-", ""}) {
        EXPECT_FALSE(parseCellBlock(bad, error)) << bad;
        EXPECT_NE(error.find("R0-R1,C0-C1"), std::string::npos);
    }
}

TEST(SimOptions, TakeTheTrueMapTheSweepAndItsCells) {
    const std::vector<std::string_view> args = {"--true-map", "need.ign", "--ride=sweep", "--cells",
                                                "2-4,4-8"};
    const SimOptionsParse parse = parseSimOptions(args);
    ASSERT_TRUE(parse.options) << parse.error;
    EXPECT_EQ(parse.options->trueMapPath, "need.ign");
    EXPECT_TRUE(parse.options->sweep);
    EXPECT_EQ(parse.options->cells, (CellBlock{2, 4, 4, 8}));
    const std::vector<std::string_view> cellsAlone = {"--cells", "2-4,4-8"};
    EXPECT_EQ(parseSimOptions(cellsAlone).error, "--cells needs --ride sweep");
    const std::vector<std::string_view> otherRide = {"--ride", "track"};
    EXPECT_EQ(parseSimOptions(otherRide).error, "--ride takes sweep or road, not 'track'");
}

TEST(RideSweep, HoldsFiveSecondsAtEachMeasurableCellCentreInTurn) {
    const model::ParameterImage image = builtInImage();
    const auto rpmOf = [&](int column) {
        return image.get(Field::RPM_JET_1A_Rpm, static_cast<std::size_t>(column)) * 100.0;
    };
    const RideSweep block(CellBlock{2, 4, 4, 8});
    EXPECT_EQ(block.cellCount(), 15);
    EXPECT_EQ(block.pointAt(0ms, image).rpm, rpmOf(4));
    EXPECT_EQ(block.pointAt(0ms, image).throttlePercent, 5.0);
    EXPECT_EQ(block.pointAt(4999ms, image).rpm, rpmOf(4));
    EXPECT_EQ(block.pointAt(5000ms, image).rpm, rpmOf(5));
    EXPECT_EQ(block.pointAt(25000ms, image).throttlePercent, 10.0) << "the next row";
    EXPECT_EQ(block.pointAt(25000ms, image).rpm, rpmOf(4));
    EXPECT_EQ(block.pointAt(75000ms, image).rpm, rpmOf(4)) << "and again from the start";

    // The whole map: rows at 60 % throttle and above are left out.
    const RideSweep all;
    EXPECT_EQ(all.cellCount(), 7 * 15);
    EXPECT_EQ(RideSweep(CellBlock{7, 9, 0, 14}).cellCount(), 0);
    EXPECT_EQ(RideSweep(CellBlock{5, 9, 0, 0}).cellCount(), 2);

    const EngineState engine = block.engineAt(0ms, image);
    EXPECT_TRUE(engine.running);
    EXPECT_GE(engine.coolantC, 90) << "warm from the start";
    EXPECT_GE(engine.sinceStartTenths, 3000);
    EXPECT_EQ(engine.throttlePermille, 50);
    EXPECT_EQ(engine.rpm, rpmOf(4));
}

TEST(LambdaProbe, NarrowBandCurveSwitchesAtStoichiometric) {
    EXPECT_DOUBLE_EQ(LambdaProbe::curveMv(1.0), 450.0);
    EXPECT_LT(LambdaProbe::curveMv(0.97), 110.0);
    EXPECT_GT(LambdaProbe::curveMv(1.03), 840.0);
    EXPECT_LT(LambdaProbe::curveMv(0.995), 450.0);
    EXPECT_GT(LambdaProbe::curveMv(1.005), 450.0);
}

// Injection map 1 of an image with every cell at a percentage of its base time.
model::ParameterImage withMap1At(model::ParameterImage image, int percent) {
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    for (std::size_t k = 0; k < 150; ++k) {
        image.set(Field::JET_1A_Cell, k,
                  model::wordFromPercent(static_cast<std::uint16_t>(percent),
                                         scaling.baseTimes(model::InjectionMap::Jet1A)[k]));
    }
    return image;
}

// Share of lean readings (below 450 mV) over a minute of answers.
double leanShare(const SimUnit& unit) {
    int lean = 0;
    int count = 0;
    for (auto t = 1000ms; t < 61000ms; t += 55ms, ++count) {
        if (unit.engineAt(t).lambdaMv < 450) ++lean;
    }
    return static_cast<double>(lean) / count;
}

TEST(LambdaProbe, VoltageFollowsTheProgrammedFuelAgainstTheNeed) {
    const model::ParameterImage need = withMap1At(builtInImage(), 100);
    const auto unitRunning = [&](int percent) {
        SimUnit unit{BlockStore(withMap1At(builtInImage(), percent))};
        EngineSetup setup;
        setup.sweep = RideSweep(CellBlock{3, 3, 6, 6});
        setup.probe = LambdaProbe(fuelNeedOf(need));
        unit.setEngine(std::move(setup));
        return unit;
    };
    EXPECT_GT(leanShare(unitRunning(85)), 0.99) << "15 % short: lean";
    EXPECT_LT(leanShare(unitRunning(115)), 0.01) << "15 % over: rich";
    const double even = leanShare(unitRunning(100));
    EXPECT_GT(even, 0.4);
    EXPECT_LT(even, 0.6);
    const double slightlyLean = leanShare(unitRunning(98));
    EXPECT_GT(slightlyLean, 0.6) << "the spread from cycle to cycle shows small errors";
    EXPECT_LT(slightlyLean, 0.85);
    // Without a need the probe is the plain wave of the ride.
    SimUnit plain{BlockStore(builtInImage())};
    EXPECT_GT(leanShare(plain), 0.2);
    EXPECT_LT(leanShare(plain), 0.8);
}

TEST(LambdaProbe, TheGasOfACellReachesTheProbeOneTransportDelayLater) {
    // Cell (3, 6) is 20 % short, cell (3, 7) 20 % over what the engine
    // needs; the sweep moves from one to the other at 5 s.
    model::ParameterImage programmed = withMap1At(builtInImage(), 100);
    model::InjectionScaling scaling;
    scaling.computeBaseTables(programmed);
    scaling.computeBaseTimes(programmed);
    const auto& base = scaling.baseTimes(model::InjectionMap::Jet1A);
    // The engine runs at a column's centre but between the columns the map
    // is interpolated, so the neighbours are set too.
    for (int column : {5, 6}) {
        programmed.set(Field::JET_1A_Cell, 3 * 15 + column,
                       model::wordFromPercent(80, base[45 + column]));
    }
    for (int column : {7, 8}) {
        programmed.set(Field::JET_1A_Cell, 3 * 15 + column,
                       model::wordFromPercent(120, base[45 + column]));
    }
    SimUnit unit{BlockStore(programmed)};
    EngineSetup setup;
    setup.sweep = RideSweep(CellBlock{3, 3, 6, 7});
    setup.probe = LambdaProbe(fuelNeedOf(withMap1At(builtInImage(), 100)));
    unit.setEngine(std::move(setup));
    EXPECT_LT(unit.engineAt(5000ms).lambdaMv, 300) << "still the lean gas of the first cell";
    EXPECT_LT(unit.engineAt(5290ms).lambdaMv, 300);
    EXPECT_GT(unit.engineAt(5300ms).lambdaMv, 600) << "the rich gas arrives";
    EXPECT_EQ(unit.engineAt(5000ms).rpm, programmed.get(Field::RPM_JET_1A_Rpm, 7) * 100)
        << "while the engine already runs in the second";
}

}  // namespace
}  // namespace zelvor::sim
