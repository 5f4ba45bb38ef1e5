#include "datalog/analysis_setting_table.h"

#include <array>
#include <cmath>

namespace zelvor::datalog {

namespace {

using S = AnalysisSettings;

constexpr std::array<AnalysisSetting, 8> kSettings = {{
    {"min-coolant", "Coolant at least", "°C", -40, 155, true,
     [](const S& s) { return double(s.minCoolantC); },
     [](S& s, double v) { s.minCoolantC = static_cast<int>(v); }},
    {"skip-after-start", "Skip after start", "s", 0, 6553, false,
     [](const S& s) { return s.skipAfterStartS; }, [](S& s, double v) { s.skipAfterStartS = v; }},
    {"max-tps-rate", "Throttle change at most", "%/s", 0, 10000, false,
     [](const S& s) { return s.maxThrottleRate; }, [](S& s, double v) { s.maxThrottleRate = v; }},
    {"delay", "Probe delay", "ms", 0, 5000, true, [](const S& s) { return double(s.delayMs); },
     [](S& s, double v) { s.delayMs = static_cast<int>(v); }},
    {"min-hits", "Hits at least", "", 0, 1e9, false, [](const S& s) { return s.minHits; },
     [](S& s, double v) { s.minHits = v; }},
    {"measurable-below", "Measurable below", "% throttle", 0, 101, true,
     [](const S& s) { return double(s.measurableBelowPercent); },
     [](S& s, double v) { s.measurableBelowPercent = static_cast<int>(v); }},
    {"target-mv", "Probe switches at", "mV", 0, 5000, true,
     [](const S& s) { return double(s.targetMv); },
     [](S& s, double v) { s.targetMv = static_cast<int>(v); }},
    {"max-step", "Largest step", "%", 0, 100, false, [](const S& s) { return s.maxStepPercent; },
     [](S& s, double v) { s.maxStepPercent = v; }},
}};

}  // namespace

std::span<const AnalysisSetting> analysisSettings() {
    return kSettings;
}

bool acceptsValue(const AnalysisSetting& setting, double value) {
    return std::isfinite(value) && value >= setting.low && value <= setting.high &&
           (!setting.whole || std::floor(value) == value);
}

}  // namespace zelvor::datalog
