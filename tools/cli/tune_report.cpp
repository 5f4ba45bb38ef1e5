#include "cli/tune_report.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace zelvor::cli {

namespace {

using datalog::CellVerdict;

constexpr std::array<model::Field, 2> kAxes = {model::Field::RPM_JET_1A_Rpm,
                                               model::Field::RPM_JET_2A_Rpm};
constexpr std::array<std::string_view, 2> kMapNames = {"inj1", "inj2"};

std::string_view verdictText(CellVerdict verdict) {
    switch (verdict) {
        case CellVerdict::NoSamples:
            return "no samples";
        case CellVerdict::TooFewHits:
            return "too few hits";
        case CellVerdict::NotMeasurable:
            return "not measurable";
        case CellVerdict::Locked:
            return "locked";
        case CellVerdict::Balanced:
            return "balanced";
        case CellVerdict::Change:
            return "change";
    }
    return "";
}

template <typename... Values>
std::string formatted(const char* format, Values... values) {
    std::array<char, 256> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, values...);
    return buffer.data();
}

}  // namespace

std::string tuneReport(const model::ParameterImage& tune, const datalog::RideFindings& findings,
                       const datalog::CorrectionPlan& plan) {
    const datalog::RowCounts& rows = findings.rows;
    std::string report = formatted(
        "rows: %lld, used %lld; left out: cold %lld, just started %lld, throttle moving %lld, "
        "below idle %lld, throttle fault %lld, no probe reading %lld\n",
        rows.total, rows.used, rows.cold, rows.justStarted, rows.throttleMoving, rows.belowIdle,
        rows.throttleFault, rows.noProbeReading);
    report += "map   throttle    rpm    hits  mean_mv  lean   change  before  after\n";
    for (std::size_t m = 0; m < 2; ++m) {
        for (int k = 0; k < model::kMapCells; ++k) {
            const auto index = static_cast<std::size_t>(k);
            const datalog::CellFinding& cell = findings.maps[m][index];
            if (cell.verdict == CellVerdict::NoSamples) continue;
            const int row = k / model::kMapColumns;
            const int column = k % model::kMapColumns;
            report += formatted("%-4s  %6d %%  %6d  %6.1f  %7.0f  %3.0f %%", kMapNames[m].data(),
                                model::kMapThrottleRows[static_cast<std::size_t>(row)],
                                tune.get(kAxes[m], static_cast<std::size_t>(column)) * 100,
                                cell.hits, cell.meanMv, cell.leanShare * 100.0);
            if (plan.changed[m][index]) {
                report += formatted("  %+5.1f %%  %5d %%  %4d %%", cell.changePercent,
                                    plan.before[m][index], plan.after[m][index]);
            } else {
                report += "  ";
                report += verdictText(cell.verdict);
                if (cell.verdict == CellVerdict::Change) report += " (not applied)";
            }
            report += '\n';
        }
    }
    report += formatted("%d cells changed\n", plan.changedCells);
    return report;
}

}  // namespace zelvor::cli
