#pragma once

#include <cstdint>
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

// The injection position steps: one step (5 degrees) of every angle when all
// is set, otherwise of the angle at index (none for an index outside 0..14).
// Angles stay within 0..720 degrees: a step beyond an end leaves the angle
// at that end.
void stepInjectionPosition(int direction, bool all, int index, model::ParameterImage& image);

// The coupling of the injection maps: 0 separate, 1 coupled, 2 map 2 equal to
// map 1. Coupled and "1 = 2" start with map 2 on map 1's speed axis.
void setCouplingMode(std::uint8_t mode, model::ParameterImage& image);

}  // namespace zelvor::editing
