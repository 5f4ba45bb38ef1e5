#include "datalog/tune_correction.h"

#include <algorithm>
#include <cmath>

#include "model/sanitizer.h"

namespace zelvor::datalog {

namespace {

using model::InjectionMap;

constexpr std::array<InjectionMap, 2> kMaps = {InjectionMap::Jet1A, InjectionMap::Jet2A};

model::InjectionScaling scalingOf(const model::ParameterImage& tune) {
    model::InjectionScaling scaling;
    scaling.computeBaseTables(tune);
    scaling.computeBaseTimes(tune);
    scaling.readPercents(InjectionMap::Jet1A, tune);
    scaling.readPercents(InjectionMap::Jet2A, tune);
    return scaling;
}

bool takesSuggestions(std::size_t map, CorrectedMaps maps, const model::ParameterImage& tune) {
    if (map == 0) return maps != CorrectedMaps::Map2;
    // Map 2 follows map 1 while coupled or equal.
    if (model::isCoupled(tune) || model::isSame(tune)) return false;
    return maps != CorrectedMaps::Map1;
}

}  // namespace

CorrectionPlan planCorrection(const model::ParameterImage& tune, const RideFindings& findings,
                              CorrectedMaps maps, const std::bitset<model::kMapCells>& selection) {
    const model::InjectionScaling scaling = scalingOf(tune);
    CorrectionPlan plan;
    for (std::size_t m = 0; m < 2; ++m) {
        plan.before[m] = scaling.percents(kMaps[m]);
        plan.after[m] = plan.before[m];
        if (!takesSuggestions(m, maps, tune)) continue;
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            const CellFinding& finding = findings.maps[m][k];
            if (finding.verdict != CellVerdict::Change) continue;
            if (selection.any() && !selection[k]) continue;
            const double scaled = plan.before[m][k] * (1.0 + finding.changePercent / 100.0);
            const auto percent = static_cast<std::uint16_t>(
                std::clamp<long>(std::lround(scaled), 0, model::kMaxEditedPercent));
            if (percent == plan.before[m][k]) continue;
            plan.after[m][k] = percent;
            plan.changed[m][k] = true;
            ++plan.changedCells;
        }
    }
    return plan;
}

model::ParameterImage applyCorrection(const model::ParameterImage& tune,
                                      const CorrectionPlan& plan) {
    model::ParameterImage image = tune;
    model::InjectionScaling scaling = scalingOf(image);
    if (plan.changed[0].any()) scaling.collectMap1(plan.after[0], image);
    if (plan.changed[1].any()) scaling.collectMap2(plan.after[1], image);
    model::sanitize(image);
    return image;
}

}  // namespace zelvor::datalog
