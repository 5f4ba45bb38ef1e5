#include "editing/map_selection.h"

#include <algorithm>

namespace zelvor::editing {

namespace {

int rowInside(int row) {
    return std::clamp(row, 0, model::kMapRows - 1);
}
int columnInside(int column) {
    return std::clamp(column, 0, model::kMapColumns - 1);
}

}  // namespace

MapSelection MapSelection::spanning(GridCell a, GridCell b) {
    return MapSelection{.top = a.row, .left = a.column, .bottom = b.row, .right = b.column}
        .normalized();
}

MapSelection MapSelection::normalized() const {
    // minmax of an initializer list returns values, never references to the
    // temporaries.
    const auto [rowLow, rowHigh] = std::minmax({rowInside(top), rowInside(bottom)});
    const auto [columnLow, columnHigh] = std::minmax({columnInside(left), columnInside(right)});
    return {.top = rowLow, .left = columnLow, .bottom = rowHigh, .right = columnHigh};
}

}  // namespace zelvor::editing
