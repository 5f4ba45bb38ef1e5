#pragma once

#include <span>
#include <string_view>

#include "datalog/ride_analysis.h"

namespace zelvor::datalog {

// One setting of the ride analysis a tuner may change, as the command line
// and the window offer it: the option's name, the window's label and unit,
// the range a value must lie in, whether it is whole, and how it is read
// from and written into the settings.
struct AnalysisSetting {
    std::string_view option;  // "min-coolant": --min-coolant on the command line
    std::string_view label;   // "Coolant at least"
    std::string_view unit;    // "°C"
    double low;
    double high;
    bool whole;
    double (*get)(const AnalysisSettings&);
    void (*set)(AnalysisSettings&, double);
};

// Every setting, in the order both sides show them.
std::span<const AnalysisSetting> analysisSettings();

// Whether a value may be given to a setting: inside its range, and whole
// where the setting is whole.
bool acceptsValue(const AnalysisSetting& setting, double value);

}  // namespace zelvor::datalog
