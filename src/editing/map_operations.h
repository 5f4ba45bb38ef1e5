#pragma once

#include <array>

#include "editing/map_selection.h"
#include "model/field_table.h"
#include "model/injection.h"

namespace zelvor::editing {

// The 150 cells of a map (row * 15 + column) in the unit the grid shows:
// degrees on the advance map, percent of the cell's base time on the
// injection maps.
using MapCells = std::array<int, model::kMapCells>;

// What a cell may hold after an operation. Results are rounded to the step
// and held to minimum..maximum. An injection cell may stand above the grid's
// maximum (the Plus tool can push it there, and the grid keeps it while the
// user leaves it alone); such a cell keeps its value, and an operation may
// lower it but never raises it, nor any cell above the maximum. ceiling is
// the highest value a cell can hold at all (the percentages are 16-bit); it
// equals maximum where nothing above the maximum is kept.
struct CellLimits {
    int minimum;
    int maximum;
    int step;
    int ceiling;
};

// The advance map holds its cell field's range (0..60 degrees, as sanitizing
// leaves it).
inline constexpr CellLimits kAdvanceLimits{
    model::descriptor(model::Field::ADVANCE_Cell).range.minimum,
    model::descriptor(model::Field::ADVANCE_Cell).range.maximum,
    model::descriptor(model::Field::ADVANCE_Cell).range.step,
    model::descriptor(model::Field::ADVANCE_Cell).range.maximum};
// The injection maps hold 0..1000 % as the grid shows them.
inline constexpr CellLimits kInjectionLimits{0, model::kMaxEditedPercent, 1, 65535};

// The value a cell that held original takes when an operation wants it to
// hold wanted: rounded to the step (halves away from zero) and held to the
// limits. A wanted value that is not a number leaves the cell as it was
// (held as well).
int holdCell(int original, double wanted, CellLimits limits);

// Operations on the cells of a selection. Each returns all 150 cells: those
// outside the selection exactly as given, those inside computed from the
// given cells (never from cells already changed) and held by holdCell, so
// every selected cell comes back within the limits whatever the input.

// Every cell to value.
MapCells setCells(const MapCells& cells, const MapSelection& selection, double value,
                  CellLimits limits);
// Every cell up (positive) or down by steps times the step.
MapCells addSteps(const MapCells& cells, const MapSelection& selection, int steps,
                  CellLimits limits);
// Every cell to percent of itself (110 gives +10 %).
MapCells scaleCells(const MapCells& cells, const MapSelection& selection, double percent,
                    CellLimits limits);

// Interpolations keep the selection's corners (or ends) and fill the cells in
// between on straight lines. A one-row or one-column selection is filled
// along its length by each of them; a single cell stays as it is.
//
// Bilinear between the four corners.
MapCells interpolateBilinear(const MapCells& cells, const MapSelection& selection,
                             CellLimits limits);
// Each row between its first and last cell.
MapCells interpolateRows(const MapCells& cells, const MapSelection& selection, CellLimits limits);
// Each column between its top and bottom cell.
MapCells interpolateColumns(const MapCells& cells, const MapSelection& selection,
                            CellLimits limits);

// Each cell halfway toward the mean of its neighbours (the up to eight
// cells around it) that lie inside the selection. A flat or evenly sloping
// block keeps its inner cells; a cell without neighbours stays.
MapCells smoothCells(const MapCells& cells, const MapSelection& selection, CellLimits limits);

// The operations by the key that runs them in the grid.
enum class MapOperation {
    Set,                 // '=' value
    Add,                 // '+' / '-' a count of steps (negative: down)
    Scale,               // '*' percent
    Interpolate,         // '/'
    InterpolateRows,     // 'H'
    InterpolateColumns,  // 'V'
    Smooth,              // 'S'
};

// Runs one operation. operand is the value, the count of steps or the
// percentage; the interpolations and smoothing ignore it. A count of steps
// that is not a whole number is rounded; one that is not a number changes
// nothing.
MapCells applyOperation(MapOperation operation, const MapCells& cells,
                        const MapSelection& selection, double operand, CellLimits limits);

}  // namespace zelvor::editing
