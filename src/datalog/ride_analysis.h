#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>

#include "datalog/log_reader.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::datalog {

// What the analysis of a ride takes into account, with the defaults a tuner
// starts from.
struct AnalysisSettings {
    // Only a warm engine: a cold one runs the warm-up enrichment.
    int minCoolantC = 70;
    // Nothing right after the engine starts: the after-start enrichment.
    double skipAfterStartS = 30.0;
    // Throttle movement at most this fast, in % per second, towards the rows
    // before and after: acceleration enrichment.
    double maxThrottleRate = 10.0;
    // Engine speed at least this (rpm); without it the tune's idle speed.
    std::optional<int> minRpm;
    // Exhaust gas reaches the probe this late: a row's cell is paired with
    // the probe voltage this much later.
    int delayMs = 300;
    // A cell needs this weight of samples before a change is suggested.
    double minHits = 10.0;
    // Rows at this throttle and above are not measurable: a narrow-band
    // probe cannot tell how rich a full-throttle mixture is.
    int measurableBelowPercent = 60;
    // The probe's switch voltage: below it a sample is lean.
    int targetMv = 450;
    // No cell changes by more than this, in %, in one pass.
    double maxStepPercent = 5.0;
    // The change in % a cell asks for when every sample is lean (all rich:
    // the same less); in between in proportion to the imbalance. A
    // narrow-band probe tells only a few percent around stoichiometric
    // apart, so a larger gain overshoots and the cells hunt.
    double gainPercent = 5.0;
    // Cells the tuner locked, per injection map (index row * 15 + column).
    std::array<std::bitset<model::kMapCells>, 2> locked{};
};

// What became of a cell.
enum class CellVerdict : std::uint8_t {
    NoSamples,      // the engine never ran there under the filters
    TooFewHits,     // less weight than the minimum
    NotMeasurable,  // a row at or above the measurable throttle
    Locked,         // the tuner locked it
    Balanced,       // enough samples; the change rounds to nothing
    Change,         // a change is suggested
};

struct CellFinding {
    double hits = 0.0;       // weighted count: 1 at the cell's centre, 0.25 in its corners
    double meanMv = 0.0;     // weighted mean probe voltage
    double leanShare = 0.0;  // weighted share of samples below the switch voltage, 0..1
    CellVerdict verdict = CellVerdict::NoSamples;
    double changePercent = 0.0;  // suggested change of the cell's fuel, in %

    friend bool operator==(const CellFinding&, const CellFinding&) = default;
};

// Why rows were left out, first reason counted.
struct RowCounts {
    long long total = 0;
    long long used = 0;
    long long cold = 0;         // coolant below the minimum or its sensor faulty
    long long justStarted = 0;  // within the skip after start
    long long throttleMoving = 0;
    long long belowIdle = 0;
    long long throttleFault = 0;
    long long noProbeReading = 0;  // the log ends or pauses before the gas reaches the probe
};

// The findings for both injection maps (0: inj1, 1: inj2).
struct RideFindings {
    std::array<std::array<CellFinding, model::kMapCells>, 2> maps{};
    RowCounts rows;

    const CellFinding& cell(model::InjectionMap map, int index) const {
        return maps[map == model::InjectionMap::Jet1A ? 0 : 1][static_cast<std::size_t>(index)];
    }
};

// Analyses one or more logs of the same tune. The tune gives the idle speed
// when the settings give none; the cells come from the logs (where the unit
// ran), so a log stays valid when the tune's axes move later.
RideFindings analyseRide(std::span<const RideLog> logs, const model::ParameterImage& tune,
                         const AnalysisSettings& settings);

// The weight of a sample at a position inside its cell (thousandths along
// each axis): 1 at the centre, falling to 1/2 at each edge along each axis.
double sampleWeight(const LitCell& cell);

// The suggested change for a lean share, before the maximum step.
double proportionalChange(double leanShare, const AnalysisSettings& settings);

}  // namespace zelvor::datalog
