// What a ride says per cell: filters, the probe's delay, weights and the
// suggested change.
#include <gtest/gtest.h>

#include <vector>

#include "datalog/ride_analysis.h"
#include "model/default_set.h"
#include "ride_rows.h"

namespace zelvor::datalog {
namespace {

using link::MonitorChannel;
using model::InjectionMap;
using testing::RowBuilder;

constexpr int kCell = 4 * 15 + 3;  // row 4 (20 %), column 3

model::ParameterImage tune() {
    model::ParameterImage image;
    model::loadDefaultSet(image);
    return image;
}

// Rows every 55 ms for `count` rows from `from`, each made by `make`.
template <typename Make>
void addRows(std::vector<LogRow>& rows, std::int64_t from, int count, Make make) {
    for (int i = 0; i < count; ++i) {
        RowBuilder row;
        row.at(from + i * 55);
        make(row, i);
        rows.push_back(row);
    }
}

RideFindings analyse(const std::vector<LogRow>& rows, const AnalysisSettings& settings = {}) {
    const std::vector<RideLog> logs = {RideLog{rows, {}}};
    return analyseRide(logs, tune(), settings);
}

TEST(RideAnalysis, CountsWeightedHitsMeanVoltageAndLeanShare) {
    std::vector<LogRow> rows;
    // Every fourth probe reading rich, all at the cell's centre. Row i
    // takes the reading of row i + 5 (275 ms later, the nearest to 300 ms):
    // rows 5..38 give 8 rich readings (8, 12, .. 36) and 26 lean ones.
    addRows(rows, 0, 40, [](RowBuilder& r, int i) { r.lambda(i % 4 == 0 ? 800 : 200); });
    const RideFindings findings = analyse(rows);
    const CellFinding& cell = findings.cell(InjectionMap::Jet1A, kCell);
    // The last six rows' gas reaches the probe after the log ends.
    EXPECT_EQ(findings.rows.noProbeReading, 6);
    EXPECT_DOUBLE_EQ(cell.hits, 34.0);
    EXPECT_NEAR(cell.leanShare, 26.0 / 34.0, 1e-9);
    EXPECT_NEAR(cell.meanMv, (8 * 800 + 26 * 200) / 34.0, 1e-9);
    EXPECT_EQ(cell.verdict, CellVerdict::Change);
    EXPECT_NEAR(cell.changePercent, 5.0 * (2.0 * 26.0 / 34.0 - 1.0), 1e-9);
    EXPECT_EQ(findings.cell(InjectionMap::Jet2A, kCell).hits, 34.0) << "both maps are analysed";
    EXPECT_EQ(findings.cell(InjectionMap::Jet1A, kCell + 1).verdict, CellVerdict::NoSamples);
}

TEST(RideAnalysis, SamplesWeighByTheirDistanceFromTheCellCentre) {
    EXPECT_DOUBLE_EQ(sampleWeight(RowBuilder().cell(0, 0).row().cell(1)), 1.0);
    EXPECT_DOUBLE_EQ(sampleWeight(RowBuilder().cell(0, 0, 0, 1000).row().cell(1)), 0.25);
    EXPECT_DOUBLE_EQ(sampleWeight(RowBuilder().cell(0, 0, 500, 250).row().cell(1)), 0.75);
    std::vector<LogRow> rows;
    addRows(rows, 0, 30, [](RowBuilder& r, int) { r.cell(4, 3, 0, 1000); });
    const CellFinding corner = analyse(rows).cell(InjectionMap::Jet1A, kCell);
    EXPECT_DOUBLE_EQ(corner.hits, 24 * 0.25);
    EXPECT_EQ(corner.verdict, CellVerdict::TooFewHits) << "6 weighs less than 10";
}

TEST(RideAnalysis, TheProbeReadingIsTakenOneTransportDelayLater) {
    // The engine moves from cell A to cell B at 2 s; the gas of B reaches
    // the probe 300 ms later, so the probe reads lean until 2.3 s.
    std::vector<LogRow> rows;
    for (std::int64_t t = 0; t < 4000; t += 100) {
        rows.push_back(RowBuilder().at(t).cell(4, t < 2000 ? 3 : 4).lambda(t < 2300 ? 150 : 800));
    }
    const RideFindings delayed = analyse(rows);
    EXPECT_DOUBLE_EQ(delayed.cell(InjectionMap::Jet1A, kCell).leanShare, 1.0);
    EXPECT_DOUBLE_EQ(delayed.cell(InjectionMap::Jet1A, kCell + 1).leanShare, 0.0);

    AnalysisSettings noDelay;
    noDelay.delayMs = 0;
    const RideFindings early = analyse(rows, noDelay);
    EXPECT_NEAR(early.cell(InjectionMap::Jet1A, kCell + 1).leanShare, 3.0 / 20.0, 1e-9)
        << "without the delay, B takes A's last gas";
}

TEST(RideAnalysis, FiltersLeaveOutWarmUpStartEnrichmentIdleAndMovingThrottle) {
    const struct {
        const char* what;
        void (*make)(RowBuilder&);
        long long RowCounts::*counter;
    } cases[] = {
        {"cold", [](RowBuilder& r) { r.set(MonitorChannel::Coolant, 69); }, &RowCounts::cold},
        {"coolant sensor fault", [](RowBuilder& r) { r.error(MonitorChannel::Coolant); },
         &RowCounts::cold},
        {"just started", [](RowBuilder& r) { r.set(MonitorChannel::TimeSinceStart, 299); },
         &RowCounts::justStarted},
        {"below idle", [](RowBuilder& r) { r.set(MonitorChannel::EngineSpeed, 999); },
         &RowCounts::belowIdle},
        {"throttle fault", [](RowBuilder& r) { r.flag(link::MonitorFlag::ThrottleFault); },
         &RowCounts::throttleFault},
    };
    for (const auto& c : cases) {
        std::vector<LogRow> rows;
        addRows(rows, 0, 30, [&](RowBuilder& r, int) { c.make(r); });
        const RideFindings findings = analyse(rows);
        EXPECT_EQ(findings.rows.*c.counter, 30) << c.what;
        EXPECT_EQ(findings.rows.used, 0) << c.what;
    }
    // At the limits everything is used: 70 C, 30.0 s, the idle speed of the
    // default set (1000 rpm).
    std::vector<LogRow> edge;
    addRows(edge, 0, 30, [](RowBuilder& r, int) {
        r.set(MonitorChannel::Coolant, 70)
            .set(MonitorChannel::TimeSinceStart, 300)
            .set(MonitorChannel::EngineSpeed, 1000);
    });
    EXPECT_EQ(analyse(edge).rows.used, 24);
}

TEST(RideAnalysis, AThrottleMovingFasterThanTheLimitLeavesOutBothNeighbours) {
    std::vector<LogRow> rows;
    // Steady at 20 %, one step of 1 % between rows 10 and 11 (55 ms apart:
    // 18 %/s), steady again.
    addRows(rows, 0, 30, [](RowBuilder& r, int i) { r.throttleTenths(i <= 10 ? 200 : 210); });
    const RideFindings findings = analyse(rows);
    EXPECT_EQ(findings.rows.throttleMoving, 2);
    // A slow drift of 0.5 % per row every 100 ms is 5 %/s: kept.
    std::vector<LogRow> slow;
    for (int i = 0; i < 30; ++i)
        slow.push_back(RowBuilder().at(i * 100).throttleTenths(200 + 5 * i));
    EXPECT_EQ(analyse(slow).rows.throttleMoving, 0);
    AnalysisSettings strict;
    strict.maxThrottleRate = 4.9;
    EXPECT_EQ(analyse(slow, strict).rows.throttleMoving, 30);
}

TEST(RideAnalysis, SuggestionsAreProportionalAndNeverBeyondTheMaximumStep) {
    AnalysisSettings settings;
    EXPECT_DOUBLE_EQ(proportionalChange(0.5, settings), 0.0);
    EXPECT_DOUBLE_EQ(proportionalChange(0.75, settings), 2.5);
    EXPECT_DOUBLE_EQ(proportionalChange(0.0, settings), -5.0);
    EXPECT_DOUBLE_EQ(proportionalChange(1.0, settings), 5.0);
    const auto changeFor = [](int leanMv, double maxStep) {
        std::vector<LogRow> rows;
        addRows(rows, 0, 40, [&](RowBuilder& r, int) { r.lambda(leanMv); });
        AnalysisSettings s;
        s.maxStepPercent = maxStep;
        return analyse(rows, s).cell(InjectionMap::Jet1A, kCell);
    };
    EXPECT_DOUBLE_EQ(changeFor(100, 5.0).changePercent, 5.0) << "all lean: the whole gain";
    EXPECT_DOUBLE_EQ(changeFor(100, 8.0).changePercent, 5.0) << "a larger step leaves the gain";
    EXPECT_DOUBLE_EQ(changeFor(100, 3.0).changePercent, 3.0) << "a smaller step limits it";
    EXPECT_DOUBLE_EQ(changeFor(850, 2.5).changePercent, -2.5) << "all rich";
    EXPECT_DOUBLE_EQ(changeFor(450, 5.0).changePercent, -5.0)
        << "the switch voltage itself counts as rich";
    EXPECT_EQ(changeFor(449, 0.0).verdict, CellVerdict::Balanced) << "a step of 0 changes nothing";
}

TEST(RideAnalysis, FullThrottleRowsLockedCellsAndThinCellsGetNoChange) {
    const auto verdictAt = [](int row, const AnalysisSettings& settings, int count = 40) {
        std::vector<LogRow> rows;
        addRows(rows, 0, count, [&](RowBuilder& r, int) { r.cell(row, 3).lambda(100); });
        return analyse(rows, settings).cell(InjectionMap::Jet1A, row * 15 + 3);
    };
    const AnalysisSettings defaults;
    EXPECT_EQ(verdictAt(6, defaults).verdict, CellVerdict::Change) << "40 %";
    const CellFinding full = verdictAt(7, defaults);
    EXPECT_EQ(full.verdict, CellVerdict::NotMeasurable) << "60 %";
    EXPECT_DOUBLE_EQ(full.leanShare, 1.0) << "shown all the same";
    EXPECT_EQ(full.changePercent, 0.0);
    AnalysisSettings wider;
    wider.measurableBelowPercent = 61;
    EXPECT_EQ(verdictAt(7, wider).verdict, CellVerdict::Change);
    AnalysisSettings locked;
    locked.locked[0][4 * 15 + 3] = true;
    EXPECT_EQ(verdictAt(4, locked).verdict, CellVerdict::Locked);
    EXPECT_EQ(verdictAt(4, defaults, 15).verdict, CellVerdict::TooFewHits) << "9 hits";
    EXPECT_EQ(verdictAt(4, defaults, 16).verdict, CellVerdict::Change) << "10 hits";
}

TEST(RideAnalysis, SeveralLogsAddUpButNoDelayReachesAcrossThem) {
    std::vector<LogRow> lean;
    addRows(lean, 0, 12, [](RowBuilder& r, int) { r.lambda(100); });
    std::vector<LogRow> rich;
    addRows(rich, 0, 12, [](RowBuilder& r, int) { r.lambda(800); });
    const std::vector<RideLog> logs = {RideLog{lean, {}}, RideLog{rich, {}}};
    const RideFindings findings = analyseRide(logs, tune(), AnalysisSettings{});
    const CellFinding& cell = findings.cell(InjectionMap::Jet1A, kCell);
    EXPECT_DOUBLE_EQ(cell.hits, 12.0) << "6 rows of each log have a reading 300 ms later";
    EXPECT_DOUBLE_EQ(cell.leanShare, 0.5);
    EXPECT_EQ(cell.verdict, CellVerdict::Balanced);
}

}  // namespace
}  // namespace zelvor::datalog
