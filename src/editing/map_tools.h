#pragma once

#include <optional>

#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// A cell of a map: row 0..9 (throttle), column 0..14 (axis point).
struct GridCell {
    int row = 0;
    int column = 0;
};

// One step of Minus (direction -1) or Plus (+1) on the page on show. On a
// map page it steps the whole map when all is set, otherwise the cell the
// engine runs at (runningCell; nothing while the engine stands, and then the
// tool stops). Advance cells step by one degree in the byte (0..255; the
// sanitizer holds them at 60), injection cells by one point of their
// percentage (0..65535), and the map's words are rebuilt from the
// percentages. While the injection maps are coupled a step of map 1 steps
// map 2 alike, and map 2 alone cannot be stepped. Pages without a map change
// nothing. Returns false when the tool stopped; otherwise the change
// pipeline is to run, also when a value stood at its limit.
bool stepMapTool(int page, int direction, bool all, std::optional<GridCell> runningCell,
                 model::ParameterImage& image, model::InjectionScaling& scaling);

// The column buttons: one step of the ten cells of a column of the page's
// map (map 2 follows map 1 while coupled). Pages without a map change
// nothing. The change pipeline runs afterwards in every case.
void stepMapColumn(int page, int column, int direction, model::ParameterImage& image,
                   model::InjectionScaling& scaling);

}  // namespace zelvor::editing
