#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "datalog/ride_analysis.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::datalog {

// Which injection maps take the suggestions.
enum class CorrectedMaps : std::uint8_t { Map1, Map2, Both };

// The cell values a correction leads to, per injection map, in percent of
// the cell's base time, as the map pages show them; a cell without a change
// keeps its present percentage.
struct CorrectionPlan {
    std::array<model::CellPercents, 2> before{};
    std::array<model::CellPercents, 2> after{};
    std::array<std::bitset<model::kMapCells>, 2> changed{};
    int changedCells = 0;
};

// The new percentages for the suggested changes of the chosen maps, limited
// to the map's 0..1000 %, for the cells in `selection` (all cells when it is
// empty). A map that follows map 1 (coupled, or "1 = 2") takes no
// suggestions of its own: it moves with map 1 when the plan is applied.
CorrectionPlan planCorrection(const model::ParameterImage& tune, const RideFindings& findings,
                              CorrectedMaps maps,
                              const std::bitset<model::kMapCells>& selection = {});

// The tune with the plan laid in as the map pages collect their cells:
// coupled maps carry a map 1 change into map 2 by the same points, "1 = 2"
// copies map 1's times into map 2, cells without a change keep their times
// exactly; then the range rules. One new image, to be taken as one change.
model::ParameterImage applyCorrection(const model::ParameterImage& tune,
                                      const CorrectionPlan& plan);

}  // namespace zelvor::datalog
