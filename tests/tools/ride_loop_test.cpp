// Closing the tuning loop in process: the simulated engine needs more fuel
// in a block of cells than the tune gives; logging a sweep, analysing it and
// laying in the corrections brings the tune there in three passes.
#include <gtest/gtest.h>

#include <vector>

#include "datalog/log_row.h"
#include "datalog/ride_analysis.h"
#include "datalog/tune_correction.h"
#include "link/monitor_decoder.h"
#include "model/default_set.h"
#include "model/injection.h"
#include "model/sanitizer.h"
#include "sim/sim_unit.h"

namespace zelvor::sim {
namespace {

using namespace std::chrono_literals;
using model::Field;
using model::InjectionMap;

constexpr CellBlock kBlock{2, 4, 4, 8};

bool inBlock(std::size_t k) {
    const int row = static_cast<int>(k) / 15;
    const int column = static_cast<int>(k) % 15;
    return row >= kBlock.firstRow && row <= kBlock.lastRow && column >= kBlock.firstColumn &&
           column <= kBlock.lastColumn;
}

model::CellPercents map1Percents(const model::ParameterImage& image) {
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    scaling.readPercents(InjectionMap::Jet1A, image);
    return scaling.percents(InjectionMap::Jet1A);
}

// The log a unit holding `tune` gives over `length` of the sweep, one answer
// per 55 ms tick.
datalog::RideLog logSweep(const model::ParameterImage& tune, const model::ParameterImage& need,
                          std::chrono::milliseconds from, std::chrono::milliseconds length) {
    SimUnit unit{BlockStore(tune)};
    EngineSetup setup;
    setup.sweep = RideSweep(kBlock);
    setup.probe = LambdaProbe(fuelNeedOf(need));
    unit.setEngine(std::move(setup));
    link::MonitorDecoder decoder;
    datalog::RideLog log;
    for (auto t = from; t < from + length; t += 55ms) {
        const UnitReply reply =
            unit.handle(link::LinkFrame::make(link::LinkFrame::kMonitorPoll), t);
        EXPECT_TRUE(decoder.decode(reply.bytes));
        log.rows.push_back(
            datalog::makeLogRow(decoder.sample(), decoder.live(), tune, (t - from).count()));
    }
    return log;
}

TEST(RideLoop, ThreePassesBringTheBlockWithinThreePercentAndLeaveTheRestAlone) {
    model::ParameterImage start;
    model::loadDefaultSet(start);
    model::sanitize(start);
    // The engine needs 12 % more fuel in the block.
    model::ParameterImage need = start;
    {
        model::InjectionScaling scaling;
        scaling.computeBaseTables(need);
        scaling.computeBaseTimes(need);
        scaling.readPercents(InjectionMap::Jet1A, need);
        model::CellPercents percents = scaling.percents(InjectionMap::Jet1A);
        for (std::size_t k = 0; k < 150; ++k) {
            if (inBlock(k)) percents[k] = static_cast<std::uint16_t>(percents[k] * 112 / 100);
        }
        scaling.collectMap1(percents, need);
    }
    datalog::AnalysisSettings settings;
    settings.maxStepPercent = 8;
    settings.skipAfterStartS = 0;

    model::ParameterImage tune = start;
    auto clock = 3000ms;  // the log starts somewhere in the sweep
    for (int pass = 0; pass < 3; ++pass) {
        const std::vector<datalog::RideLog> logs = {logSweep(tune, need, clock, 80s)};
        clock += 90s;
        const datalog::RideFindings findings = datalog::analyseRide(logs, tune, settings);
        const datalog::CorrectionPlan plan =
            datalog::planCorrection(tune, findings, datalog::CorrectedMaps::Map1);
        if (pass == 0) {
            EXPECT_EQ(plan.changedCells, 15) << "every cell of the block is lean";
        }
        tune = datalog::applyCorrection(tune, plan);
    }

    const model::CellPercents got = map1Percents(tune);
    const model::CellPercents needed = map1Percents(need);
    for (std::size_t k = 0; k < 150; ++k) {
        if (!inBlock(k)) {
            EXPECT_EQ(tune.get(Field::JET_1A_Cell, k), start.get(Field::JET_1A_Cell, k))
                << "cell " << k;
            continue;
        }
        EXPECT_NEAR(got[k], needed[k], needed[k] * 0.03) << "cell " << k;
    }
}

}  // namespace
}  // namespace zelvor::sim
