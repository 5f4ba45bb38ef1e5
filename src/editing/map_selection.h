#pragma once

#include "editing/map_tools.h"
#include "model/injection.h"

namespace zelvor::editing {

// A rectangular block of map cells: rows top..bottom and columns
// left..right, both ends included. The factories give blocks that lie inside
// the 10 x 15 map; every user of a selection goes through normalized(), so a
// block built by hand with corners swapped or outside the map still means
// the cells it covers inside the map.
struct MapSelection {
    int top = 0;
    int left = 0;
    int bottom = model::kMapRows - 1;
    int right = model::kMapColumns - 1;

    // The block between two cells given in any order (a drag from a to b).
    static MapSelection spanning(GridCell a, GridCell b);
    static MapSelection wholeMap() { return {}; }
    static MapSelection single(GridCell cell) { return spanning(cell, cell); }

    // Corners ordered and held inside the map.
    MapSelection normalized() const;

    int rowCount() const { return bottom - top + 1; }
    int columnCount() const { return right - left + 1; }
    int cellCount() const { return rowCount() * columnCount(); }
    bool contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool isWholeMap() const { return normalized() == wholeMap(); }
    GridCell topLeft() const { return {.row = top, .column = left}; }

    friend bool operator==(const MapSelection&, const MapSelection&) = default;
};

// Index of a cell in a map's 150 cells (row * 15 + column).
constexpr std::size_t cellIndex(int row, int column) {
    return static_cast<std::size_t>(row * model::kMapColumns + column);
}

}  // namespace zelvor::editing
