#include "editing/map_operations.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zelvor::editing {

namespace {

// Wanted values are formed as a quotient of two whole numbers and divided
// once, so that a result that lies exactly halfway between two steps is
// exactly halfway in the double as well and rounds the same way every time.
double quotient(std::int64_t numerator, std::int64_t denominator) {
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

std::int64_t at(const MapCells& cells, int row, int column) {
    return cells[cellIndex(row, column)];
}

// Position i (0..n-1) on the straight line from first to last, as
// numerator / (n - 1).
std::int64_t lineNumerator(std::int64_t first, std::int64_t last, int i, int n) {
    return first * (n - 1 - i) + last * i;
}

double along(std::int64_t first, std::int64_t last, int i, int n) {
    if (n <= 1) return static_cast<double>(first);
    return quotient(lineNumerator(first, last, i, n), n - 1);
}

// Every selected cell held to what wanted(row, column) gives for it.
template <typename Wanted>
MapCells transform(const MapCells& cells, const MapSelection& selection, CellLimits limits,
                   Wanted wanted) {
    const MapSelection block = selection.normalized();
    MapCells result = cells;
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int c = block.left; c <= block.right; ++c) {
            result[cellIndex(r, c)] = holdCell(cells[cellIndex(r, c)], wanted(r, c), limits);
        }
    }
    return result;
}

bool isLine(const MapSelection& block) {
    return block.rowCount() == 1 || block.columnCount() == 1;
}

// A one-row or one-column block filled along its length (a single cell
// gives itself).
double alongLength(const MapCells& cells, const MapSelection& block, int row, int column) {
    if (block.rowCount() == 1) {
        return along(at(cells, block.top, block.left), at(cells, block.top, block.right),
                     column - block.left, block.columnCount());
    }
    return along(at(cells, block.top, block.left), at(cells, block.bottom, block.left),
                 row - block.top, block.rowCount());
}

}  // namespace

int holdCell(int original, double wanted, CellLimits limits) {
    const int step = std::max(limits.step, 1);
    const int upper =
        original > limits.maximum ? std::min(original, limits.ceiling) : limits.maximum;
    if (std::isnan(wanted)) wanted = original;
    if (wanted <= limits.minimum) return limits.minimum;
    if (wanted >= upper) return upper;
    // Both ends are whole numbers, so the rounded value fits an int.
    const double steps = std::round((wanted - limits.minimum) / step);
    const int value = limits.minimum + static_cast<int>(steps) * step;
    return std::clamp(value, limits.minimum, upper);
}

MapCells setCells(const MapCells& cells, const MapSelection& selection, double value,
                  CellLimits limits) {
    return transform(cells, selection, limits, [&](int, int) { return value; });
}

MapCells addSteps(const MapCells& cells, const MapSelection& selection, int steps,
                  CellLimits limits) {
    const double change = static_cast<double>(steps) * std::max(limits.step, 1);
    return transform(cells, selection, limits,
                     [&](int r, int c) { return static_cast<double>(at(cells, r, c)) + change; });
}

MapCells scaleCells(const MapCells& cells, const MapSelection& selection, double percent,
                    CellLimits limits) {
    return transform(cells, selection, limits, [&](int r, int c) {
        return static_cast<double>(at(cells, r, c)) * percent / 100.0;
    });
}

MapCells interpolateBilinear(const MapCells& cells, const MapSelection& selection,
                             CellLimits limits) {
    const MapSelection block = selection.normalized();
    if (isLine(block)) return interpolateRows(cells, block, limits);
    const std::int64_t topLeft = at(cells, block.top, block.left);
    const std::int64_t topRight = at(cells, block.top, block.right);
    const std::int64_t bottomLeft = at(cells, block.bottom, block.left);
    const std::int64_t bottomRight = at(cells, block.bottom, block.right);
    const int width = block.columnCount();
    const int height = block.rowCount();
    return transform(cells, block, limits, [&](int r, int c) {
        const int u = c - block.left;
        const int v = r - block.top;
        const std::int64_t top = lineNumerator(topLeft, topRight, u, width);
        const std::int64_t bottom = lineNumerator(bottomLeft, bottomRight, u, width);
        return quotient(lineNumerator(top, bottom, v, height),
                        static_cast<std::int64_t>(width - 1) * (height - 1));
    });
}

MapCells interpolateRows(const MapCells& cells, const MapSelection& selection, CellLimits limits) {
    const MapSelection block = selection.normalized();
    return transform(cells, block, limits, [&](int r, int c) {
        if (isLine(block)) return alongLength(cells, block, r, c);
        return along(at(cells, r, block.left), at(cells, r, block.right), c - block.left,
                     block.columnCount());
    });
}

MapCells interpolateColumns(const MapCells& cells, const MapSelection& selection,
                            CellLimits limits) {
    const MapSelection block = selection.normalized();
    return transform(cells, block, limits, [&](int r, int c) {
        if (isLine(block)) return alongLength(cells, block, r, c);
        return along(at(cells, block.top, c), at(cells, block.bottom, c), r - block.top,
                     block.rowCount());
    });
}

MapCells smoothCells(const MapCells& cells, const MapSelection& selection, CellLimits limits) {
    const MapSelection block = selection.normalized();
    return transform(cells, block, limits, [&](int r, int c) {
        std::int64_t sum = 0;
        int count = 0;
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                if ((dr != 0 || dc != 0) && block.contains(r + dr, c + dc)) {
                    sum += at(cells, r + dr, c + dc);
                    ++count;
                }
            }
        }
        const std::int64_t own = at(cells, r, c);
        if (count == 0) return static_cast<double>(own);
        // Halfway between the cell and the mean of its neighbours.
        return quotient(own * count + sum, 2 * static_cast<std::int64_t>(count));
    });
}

MapCells applyOperation(MapOperation operation, const MapCells& cells,
                        const MapSelection& selection, double operand, CellLimits limits) {
    switch (operation) {
        case MapOperation::Set:
            return setCells(cells, selection, operand, limits);
        case MapOperation::Add: {
            // More steps than any cell can move are as good as that many.
            const double steps =
                std::isnan(operand) ? 0.0 : std::clamp(std::round(operand), -1e6, 1e6);
            return addSteps(cells, selection, static_cast<int>(steps), limits);
        }
        case MapOperation::Scale:
            return scaleCells(cells, selection, operand, limits);
        case MapOperation::Interpolate:
            return interpolateBilinear(cells, selection, limits);
        case MapOperation::InterpolateRows:
            return interpolateRows(cells, selection, limits);
        case MapOperation::InterpolateColumns:
            return interpolateColumns(cells, selection, limits);
        case MapOperation::Smooth:
            return smoothCells(cells, selection, limits);
    }
    return cells;
}

}  // namespace zelvor::editing
