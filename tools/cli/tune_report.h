#pragma once

#include <string>

#include "datalog/ride_analysis.h"
#include "datalog/tune_correction.h"
#include "model/parameter_image.h"

namespace zelvor::cli {

// The report of tune-from-log: how many rows the filters kept and why the
// others were left out, then one line per cell that has samples, map by map
// and row by row: its throttle and speed, the weighted hits, the mean probe
// voltage, the lean share and what became of it (the change in % and the
// cell's percentages before and after, or why it stays).
std::string tuneReport(const model::ParameterImage& tune, const datalog::RideFindings& findings,
                       const datalog::CorrectionPlan& plan);

}  // namespace zelvor::cli
