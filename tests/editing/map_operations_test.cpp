#include "editing/map_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace zelvor::editing {
namespace {

MapCells filled(int value) {
    MapCells cells;
    cells.fill(value);
    return cells;
}

// Cells whose value says where they are: row * 100 + column.
MapCells numbered() {
    MapCells cells;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 15; ++c) cells[cellIndex(r, c)] = r * 100 + c;
    }
    return cells;
}

MapSelection block(int top, int left, int bottom, int right) {
    return {.top = top, .left = left, .bottom = bottom, .right = right};
}

constexpr CellLimits kWide{0, 100000, 1, 100000};

// Every cell outside the block is as it was.
void expectOutsideUntouched(const MapCells& before, const MapCells& after, MapSelection s) {
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 15; ++c) {
            if (s.contains(r, c)) continue;
            ASSERT_EQ(after[cellIndex(r, c)], before[cellIndex(r, c)]) << r << "," << c;
        }
    }
}

TEST(MapSelectionTest, CornersInAnyOrderAndOutsideTheMapGiveTheBlockInsideIt) {
    EXPECT_EQ(MapSelection::spanning({.row = 7, .column = 2}, {.row = 3, .column = 9}),
              block(3, 2, 7, 9));
    EXPECT_EQ(MapSelection::spanning({.row = -4, .column = 20}, {.row = 12, .column = -1}),
              block(0, 0, 9, 14));
    EXPECT_TRUE(block(9, 14, -3, -3).isWholeMap());
    EXPECT_FALSE(block(0, 0, 9, 13).isWholeMap());
    const MapSelection s = MapSelection::spanning({.row = 2, .column = 3}, {.row = 4, .column = 6});
    EXPECT_EQ(s.rowCount(), 3);
    EXPECT_EQ(s.columnCount(), 4);
    EXPECT_EQ(s.cellCount(), 12);
}

TEST(HoldCellTest, RoundsHalvesAwayFromZeroAndHoldsToTheLimits) {
    EXPECT_EQ(holdCell(0, 49.5, kAdvanceLimits), 50);
    EXPECT_EQ(holdCell(0, 49.49, kAdvanceLimits), 49);
    EXPECT_EQ(holdCell(10, 60.4, kAdvanceLimits), 60);
    EXPECT_EQ(holdCell(10, -0.4, kAdvanceLimits), 0);
    EXPECT_EQ(holdCell(10, -std::numeric_limits<double>::infinity(), kAdvanceLimits), 0);
    EXPECT_EQ(holdCell(10, std::nan(""), kAdvanceLimits), 10);
    // An advance byte above 60 is brought to 60 as sanitizing would.
    EXPECT_EQ(holdCell(70, std::nan(""), kAdvanceLimits), 60);
    EXPECT_EQ(holdCell(0, 12.5, CellLimits{0, 100, 5, 100}), 15);
}

TEST(HoldCellTest, AnInjectionCellAboveTheGridMaximumIsKeptAndOnlyEverLowered) {
    EXPECT_EQ(holdCell(1200, 1201, kInjectionLimits), 1200);
    EXPECT_EQ(holdCell(1200, std::numeric_limits<double>::infinity(), kInjectionLimits), 1200);
    EXPECT_EQ(holdCell(1200, 1080, kInjectionLimits), 1080);
    EXPECT_EQ(holdCell(1200, std::nan(""), kInjectionLimits), 1200);
    EXPECT_EQ(holdCell(900, 1200, kInjectionLimits), 1000);
    EXPECT_EQ(holdCell(90000, 90000, kInjectionLimits), 65535);
}

TEST(MapOperationsTest, SetAddAndScaleChangeExactlyTheSelectedCellsRoundingHalvesUp) {
    const MapCells before = numbered();
    const MapSelection s = block(2, 3, 4, 6);
    MapCells after = setCells(before, s, 12.5, kWide);
    expectOutsideUntouched(before, after, s);
    EXPECT_EQ(after[cellIndex(4, 6)], 13);
    after = addSteps(before, s, -3, kWide);
    expectOutsideUntouched(before, after, s);
    EXPECT_EQ(after[cellIndex(3, 5)], 302);
    after = scaleCells(before, s, 110, kWide);
    expectOutsideUntouched(before, after, s);
    for (int r = 2; r <= 4; ++r) {
        for (int c = 3; c <= 6; ++c) {
            ASSERT_EQ(after[cellIndex(r, c)], ((r * 100 + c) * 11 + 5) / 10) << r << "," << c;
        }
    }
    MapCells cells = filled(0);
    cells[0] = 35;  // 38.5
    cells[1] = 58;  // 63.8
    after = scaleCells(cells, block(0, 0, 0, 1), 110, kAdvanceLimits);
    EXPECT_EQ(after[0], 39);
    EXPECT_EQ(after[1], 60);
}

TEST(MapOperationsTest, StepsOnCellsAboveTheInjectionMaximum) {
    MapCells cells = filled(500);
    cells[cellIndex(1, 1)] = 1200;
    cells[cellIndex(9, 14)] = 3000;  // outside the selection
    const MapSelection s = block(0, 0, 2, 2);
    EXPECT_EQ(addSteps(cells, s, 1, kInjectionLimits)[cellIndex(1, 1)], 1200);
    EXPECT_EQ(addSteps(cells, s, -1, kInjectionLimits)[cellIndex(1, 1)], 1199);
    EXPECT_EQ(scaleCells(cells, s, 90, kInjectionLimits)[cellIndex(1, 1)], 1080);
    const MapCells set = setCells(cells, s, 1500, kInjectionLimits);
    EXPECT_EQ(set[cellIndex(0, 0)], 1000);
    EXPECT_EQ(set[cellIndex(9, 14)], 3000);
}

TEST(MapOperationsTest, BilinearInterpolationFillsAPlaneExactlyAndRoundsBetweenCorners) {
    MapCells cells = filled(999);
    const MapSelection s = block(1, 2, 5, 10);  // 5 rows, 9 columns
    // Corners of the plane 10 * row + 5 * column, counted inside the block.
    cells[cellIndex(1, 2)] = 0;
    cells[cellIndex(1, 10)] = 40;
    cells[cellIndex(5, 2)] = 40;
    cells[cellIndex(5, 10)] = 80;
    MapCells after = interpolateBilinear(cells, s, kWide);
    expectOutsideUntouched(cells, after, s);
    for (int r = 1; r <= 5; ++r) {
        for (int c = 2; c <= 10; ++c) {
            ASSERT_EQ(after[cellIndex(r, c)], 10 * (r - 1) + 5 * (c - 2)) << r << "," << c;
        }
    }
    cells[cellIndex(0, 0)] = 10;
    cells[cellIndex(0, 2)] = 20;
    cells[cellIndex(2, 0)] = 30;
    cells[cellIndex(2, 2)] = 61;
    after = interpolateBilinear(cells, block(0, 0, 2, 2), kWide);
    EXPECT_EQ(after[cellIndex(2, 1)], 46);  // 45.5
    EXPECT_EQ(after[cellIndex(1, 2)], 41);  // 40.5
    EXPECT_EQ(after[cellIndex(1, 1)], 30);  // 30.25
}

TEST(MapOperationsTest, EveryInterpolationFillsAOneRowOrOneColumnSelectionAlongItsLength) {
    MapCells cells = numbered();
    cells[cellIndex(4, 2)] = 10;
    cells[cellIndex(4, 8)] = 40;  // 6 steps of 5
    cells[cellIndex(1, 12)] = 60;
    cells[cellIndex(7, 12)] = 0;  // 6 steps of -10
    const MapSelection row = block(4, 2, 4, 8);
    const MapSelection column = block(1, 12, 7, 12);
    for (auto interpolate : {interpolateBilinear, interpolateRows, interpolateColumns}) {
        const MapCells alongRow = interpolate(cells, row, kWide);
        expectOutsideUntouched(cells, alongRow, row);
        for (int c = 2; c <= 8; ++c) ASSERT_EQ(alongRow[cellIndex(4, c)], 10 + 5 * (c - 2));
        const MapCells alongColumn = interpolate(cells, column, kWide);
        expectOutsideUntouched(cells, alongColumn, column);
        for (int r = 1; r <= 7; ++r) ASSERT_EQ(alongColumn[cellIndex(r, 12)], 60 - 10 * (r - 1));
        EXPECT_EQ(interpolate(cells, block(3, 3, 3, 3), kWide), cells);
    }
}

TEST(MapOperationsTest, RowAndColumnInterpolationEachUseTheirOwnEnds) {
    MapCells cells = filled(7);
    const MapSelection s = block(0, 0, 2, 4);
    for (int r = 0; r <= 2; ++r) {
        cells[cellIndex(r, 0)] = 0;
        cells[cellIndex(r, 4)] = 40 * (r + 1);
    }
    const MapCells rows = interpolateRows(cells, s, kWide);
    for (int r = 0; r <= 2; ++r) {
        for (int c = 0; c <= 4; ++c) ASSERT_EQ(rows[cellIndex(r, c)], 10 * (r + 1) * c);
    }
    const MapCells columns = interpolateColumns(cells, s, kWide);
    EXPECT_EQ(columns[cellIndex(1, 2)], 7);   // between its own ends 7 and 7
    EXPECT_EQ(columns[cellIndex(1, 4)], 80);  // between 40 and 120
}

TEST(MapOperationsTest, SmoothingMovesEachCellHalfwayToTheMeanOfItsNeighboursInTheSelection) {
    MapCells cells = filled(20);
    cells[cellIndex(5, 5)] = 100;  // a spike
    cells[cellIndex(5, 8)] = 900;  // outside the block: no neighbour of anything
    const MapSelection s = block(4, 4, 6, 7);
    const MapCells after = smoothCells(cells, s, kWide);
    expectOutsideUntouched(cells, after, s);
    EXPECT_EQ(after[cellIndex(5, 5)], 60);  // (100 + 20) / 2
    EXPECT_EQ(after[cellIndex(4, 4)], 33);  // (20 + (100 + 40) / 3) / 2
    EXPECT_EQ(after[cellIndex(5, 7)], 20);  // its neighbour at column 8 is not selected
    EXPECT_EQ(smoothCells(cells, block(5, 5, 5, 5), kWide), cells);
    // An even slope keeps its inner cells.
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 15; ++c) cells[cellIndex(r, c)] = 3 * r + 2 * c;
    }
    const MapCells slope = smoothCells(cells, MapSelection::wholeMap(), kWide);
    for (int r = 1; r < 9; ++r) {
        for (int c = 1; c < 14; ++c) ASSERT_EQ(slope[cellIndex(r, c)], cells[cellIndex(r, c)]);
    }
}

// Whatever the cells, the selection and the operand, every operation leaves
// the cells outside alone and brings every selected cell within the limits
// (an injection cell above the maximum at most to what it was).
TEST(MapOperationsTest, EveryOperationGivesDefinedResultsForAnyInput) {
    std::mt19937 random(20240611);
    const std::vector<int> extremes = {
        std::numeric_limits<int>::min(), -1, 0, 60, 61, 1000, 1001, 65535, 65536,
        std::numeric_limits<int>::max()};
    const std::vector<double> operands = {std::nan(""),
                                          std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(),
                                          -1e300,
                                          -3,
                                          0,
                                          0.5,
                                          110,
                                          1e300};
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_int_distribution<int> anyRow(-2, 11);
    std::uniform_int_distribution<int> anyColumn(-2, 16);
    for (int round = 0; round < 300; ++round) {
        MapCells cells;
        for (int& cell : cells) {
            cell = pick(random) < 20
                       ? extremes[static_cast<std::size_t>(pick(random)) % extremes.size()]
                       : pick(random) * 13;
        }
        const MapSelection s{.top = anyRow(random),
                             .left = anyColumn(random),
                             .bottom = anyRow(random),
                             .right = anyColumn(random)};
        const MapSelection inside = s.normalized();
        const double operand = operands[static_cast<std::size_t>(pick(random)) % operands.size()];
        for (CellLimits limits : {kAdvanceLimits, kInjectionLimits}) {
            for (int op = 0; op <= static_cast<int>(MapOperation::Smooth); ++op) {
                const MapCells after =
                    applyOperation(static_cast<MapOperation>(op), cells, s, operand, limits);
                expectOutsideUntouched(cells, after, inside);
                for (int r = inside.top; r <= inside.bottom; ++r) {
                    for (int c = inside.left; c <= inside.right; ++c) {
                        const int was = cells[cellIndex(r, c)];
                        const int is = after[cellIndex(r, c)];
                        const int upper =
                            was > limits.maximum ? std::min(was, limits.ceiling) : limits.maximum;
                        ASSERT_GE(is, limits.minimum) << op;
                        ASSERT_LE(is, upper) << op << " was " << was;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace zelvor::editing
