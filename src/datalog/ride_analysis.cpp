#include "datalog/ride_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zelvor::datalog {

namespace {

using link::MonitorChannel;

// A probe reading further than this from the wanted moment says nothing
// about it (the log paused); half a normal poll period and some.
constexpr std::int64_t kMaxProbeGapMs = 200;
// The log's map columns of the two injection maps.
constexpr std::array<std::size_t, 2> kInjectionCells = {1, 2};

struct Sums {
    double weight = 0.0;
    double mv = 0.0;
    double lean = 0.0;
};

int idleSpeed(const model::ParameterImage& tune) {
    // IDLE.IdleRpmMez holds (rpm - 500) / 10.
    return tune.get(model::Field::IDLE_IdleRpmMez) * 10 + 500;
}

// Throttle change towards a neighbouring row, in % per second.
double throttleRate(const LogRow& a, const LogRow& b) {
    const double change =
        std::abs(a.value(MonitorChannel::Throttle) - b.value(MonitorChannel::Throttle)) / 10.0;
    const double seconds = std::max<double>(std::llabs(a.timeMs - b.timeMs), 1.0) / 1000.0;
    return change / seconds;
}

// Why a row cannot be used, or nothing.
long long* leftOutBy(std::span<const LogRow> rows, std::size_t i, const AnalysisSettings& settings,
                     int minRpm, RowCounts& counts) {
    const LogRow& row = rows[i];
    if (row.fault(MonitorChannel::Coolant) ||
        row.value(MonitorChannel::Coolant) < settings.minCoolantC) {
        return &counts.cold;
    }
    if (row.value(MonitorChannel::TimeSinceStart) < settings.skipAfterStartS * 10.0) {
        return &counts.justStarted;
    }
    if (row.value(MonitorChannel::EngineSpeed) < minRpm ||
        row.value(MonitorChannel::EngineSpeed) == 0) {
        return &counts.belowIdle;
    }
    if (row.fault(MonitorChannel::Throttle) ||
        row.flags[static_cast<std::size_t>(link::MonitorFlag::ThrottleFault)]) {
        return &counts.throttleFault;
    }
    if ((i > 0 && throttleRate(row, rows[i - 1]) > settings.maxThrottleRate) ||
        (i + 1 < rows.size() && throttleRate(row, rows[i + 1]) > settings.maxThrottleRate)) {
        return &counts.throttleMoving;
    }
    return nullptr;
}

void addLog(std::span<const LogRow> rows, const AnalysisSettings& settings, int minRpm,
            std::array<std::array<Sums, model::kMapCells>, 2>& sums, RowCounts& counts) {
    std::size_t probe = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ++counts.total;
        if (long long* reason = leftOutBy(rows, i, settings, minRpm, counts)) {
            ++*reason;
            continue;
        }
        // The probe row nearest to the moment this row's gas reaches it.
        const std::int64_t wanted = rows[i].timeMs + settings.delayMs;
        probe = std::max(probe, i);
        while (probe + 1 < rows.size() && std::llabs(rows[probe + 1].timeMs - wanted) <=
                                              std::llabs(rows[probe].timeMs - wanted)) {
            ++probe;
        }
        // A log that ends before the gas reaches the probe has no reading of it.
        if (wanted > rows.back().timeMs ||
            std::llabs(rows[probe].timeMs - wanted) > kMaxProbeGapMs) {
            ++counts.noProbeReading;
            continue;
        }
        ++counts.used;
        const double mv = rows[probe].value(MonitorChannel::Lambda);
        const double lean = mv < settings.targetMv ? 1.0 : 0.0;
        for (std::size_t m = 0; m < 2; ++m) {
            const LitCell& cell = rows[i].cell(kInjectionCells[m]);
            Sums& s =
                sums[m][static_cast<std::size_t>(cell.row * model::kMapColumns + cell.column)];
            const double w = sampleWeight(cell);
            s.weight += w;
            s.mv += w * mv;
            s.lean += w * lean;
        }
    }
}

CellFinding judge(const Sums& s, int index, bool locked, const AnalysisSettings& settings) {
    CellFinding finding;
    if (s.weight <= 0.0) return finding;
    finding.hits = s.weight;
    finding.meanMv = s.mv / s.weight;
    finding.leanShare = std::clamp(s.lean / s.weight, 0.0, 1.0);
    const int row = index / model::kMapColumns;
    if (model::kMapThrottleRows[static_cast<std::size_t>(row)] >= settings.measurableBelowPercent) {
        finding.verdict = CellVerdict::NotMeasurable;
    } else if (locked) {
        finding.verdict = CellVerdict::Locked;
    } else if (finding.hits < settings.minHits) {
        finding.verdict = CellVerdict::TooFewHits;
    } else {
        const double step = std::max(0.0, settings.maxStepPercent);
        finding.changePercent =
            std::clamp(proportionalChange(finding.leanShare, settings), -step, step);
        finding.verdict =
            std::abs(finding.changePercent) < 0.05 ? CellVerdict::Balanced : CellVerdict::Change;
    }
    return finding;
}

}  // namespace

double sampleWeight(const LitCell& cell) {
    const auto along = [](int position) {
        return 1.0 - std::abs(position - LitCell::kCentre) / static_cast<double>(LitCell::kWhole);
    };
    return along(cell.rowPosition) * along(cell.columnPosition);
}

double proportionalChange(double leanShare, const AnalysisSettings& settings) {
    // Lean share 1/2 is the even split; the imbalance runs from -1 to 1.
    return settings.gainPercent * (2.0 * leanShare - 1.0);
}

RideFindings analyseRide(std::span<const RideLog> logs, const model::ParameterImage& tune,
                         const AnalysisSettings& settings) {
    const int minRpm = settings.minRpm.value_or(idleSpeed(tune));
    std::array<std::array<Sums, model::kMapCells>, 2> sums{};
    RideFindings findings;
    for (const RideLog& log : logs) addLog(log.rows, settings, minRpm, sums, findings.rows);
    for (std::size_t m = 0; m < 2; ++m) {
        for (int k = 0; k < model::kMapCells; ++k) {
            const auto index = static_cast<std::size_t>(k);
            findings.maps[m][index] = judge(sums[m][index], k, settings.locked[m][index], settings);
        }
    }
    return findings;
}

}  // namespace zelvor::datalog
