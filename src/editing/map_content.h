#pragma once

#include <array>
#include <optional>

#include "editing/map_operations.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// The three maps the grid edits.
enum class MapId { Advance, Jet1A, Jet2A };

// The map of page 1..3; nothing for other pages.
std::optional<MapId> mapOfPage(int page);
int pageOfMap(MapId map);
CellLimits cellLimits(MapId map);

// The throttle of each map row in percent; row 0 is the top row of the grid.
inline constexpr std::array<int, model::kMapRows> kThrottleRowPercent = {0,  2,  5,  10, 20,
                                                                         30, 40, 60, 80, 100};

// A speed axis as the grid shows it: rpm, 300..25000.
using AxisRpm = std::array<int, model::kMapColumns>;

// A map as the grid shows it, read from an image.
struct MapContent {
    AxisRpm axis{};
    // Degrees, or percent of the base time as the stored time gives it. An
    // injection percentage above what the grid shows comes as it is.
    MapCells cells{};
    // Injection maps: the stored times (microseconds) and the base times the
    // percentages refer to.
    model::CellWords words{};
    model::CellWords baseTimes{};
};

// The map as the grid shows it after a refresh of its page: base times from
// the image's bike and axes, and map 2 while the maps are equal ("1 = 2")
// made of map 1's axis and times, as the refresh makes it.
MapContent readMapContent(MapId map, const model::ParameterImage& image);

// Map 2 follows map 1 while the maps are coupled or equal; the grid does not
// edit it then.
bool mapAcceptsEdits(MapId map, const model::ParameterImage& image);

// New values for a map: cells in the grid's unit and, when a whole map with
// its axis was pasted, the axis in rpm.
struct MapEdit {
    std::optional<AxisRpm> axis;
    MapCells cells{};
};

// Writes an edit into the image the way collecting the map's page does:
// only axis points and cells that differ from what readMapContent gives are
// taken. An axis point is held to 300..25000 rpm and stored in units of 100
// rpm; while the injection maps are coupled, a point of map 1 moved by d moves
// map 2's point by d, and while they are equal map 2 takes it. Cells are held
// by cellLimits. Injection cells go through the percentages of scaling
// (whose base tables, base times and percentages are brought up to date
// from the image first): only the times of changed cells, and of cells whose
// base time moved with the axis, are rewritten; while coupled, a cell of map
// 1 changed by d points changes map 2's cell by d; while equal, map 2 takes
// map 1's times. A map that does not accept edits is left alone. Returns
// whether the image changed. The caller runs the change pipeline after it
// (sanitize, refresh, one snapshot).
bool writeMapEdit(MapId map, const MapEdit& edit, model::ParameterImage& image,
                  model::InjectionScaling& scaling);

}  // namespace zelvor::editing
