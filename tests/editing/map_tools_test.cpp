#include "editing/map_tools.h"

#include <gtest/gtest.h>

#include "editing/change_pipeline.h"
#include "editing/map_grid_model.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::InjectionMap;

class MapToolsTest : public ::testing::Test {
  protected:
    MapToolsTest() {
        model::loadDefaultSet(image, scaling);
        model::sanitize(image);
        setMode(0);  // default sets couple the injection maps
    }

    // The page as the grid last showed it: the percentages match the words.
    void show(int page) { refreshMapPage(page, image, scaling, all); }
    void setMode(int mode) { image.set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode)); }
    std::uint16_t percent(InjectionMap map, std::size_t cell) {
        return scaling.percents(map)[cell];
    }

    model::ParameterImage image;
    model::InjectionScaling scaling;
    AllFlags all{};
};

constexpr std::size_t cellIndex(GridCell cell) {
    return static_cast<std::size_t>(cell.row * 15 + cell.column);
}

TEST_F(MapToolsTest, PlusOnAnAdvanceCellAtItsLimitIsUndoneBySanitizingAndRecordsNothing) {
    const GridCell cell{.row = 4, .column = 6};
    image.set(Field::ADVANCE_Cell, cellIndex(cell), 60);
    ChangePipeline pipeline(image);
    const WindowState window;
    (void)pipeline.initialise(window);
    ASSERT_TRUE(stepMapTool(kPageAdvance, +1, false, cell, image, scaling));
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, cellIndex(cell)), 61);
    pipeline.sanitize();
    EXPECT_FALSE(pipeline.record(window).changed());
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, cellIndex(cell)), 60);
    EXPECT_FALSE(pipeline.canUndo());
}

TEST_F(MapToolsTest, MinusWithAllLowersEveryAdvanceCellAndStopsAtZero) {
    for (std::size_t k = 0; k < kMapCells; ++k) image.set(Field::ADVANCE_Cell, k, k % 3);
    EXPECT_TRUE(stepMapTool(kPageAdvance, -1, true, std::nullopt, image, scaling));
    for (std::size_t k = 0; k < kMapCells; ++k) {
        ASSERT_EQ(image.get(Field::ADVANCE_Cell, k), k % 3 == 0 ? 0u : k % 3 - 1) << k;
    }
}

TEST_F(MapToolsTest, ASingleCellNeedsTheEngineRunning) {
    show(kPageJet1A);
    const model::ParameterImage before = image;
    for (int page : {kPageAdvance, kPageJet1A, kPageJet2A}) {
        EXPECT_FALSE(stepMapTool(page, -1, false, std::nullopt, image, scaling)) << page;
    }
    EXPECT_EQ(image, before);
}

TEST_F(MapToolsTest, OnlyTheRunningCellOfTheAdvanceMapMoves) {
    const GridCell cell{.row = 9, .column = 14};
    const model::ParameterImage before = image;
    ASSERT_TRUE(stepMapTool(kPageAdvance, -1, false, cell, image, scaling));
    for (std::size_t k = 0; k < kMapCells; ++k) {
        const int expected = before.get(Field::ADVANCE_Cell, k) - (k == cellIndex(cell) ? 1 : 0);
        ASSERT_EQ(image.get(Field::ADVANCE_Cell, k), expected) << k;
    }
}

TEST_F(MapToolsTest, CoupledPlusOnMapOneRaisesTheCellOfBothMaps) {
    setMode(1);
    show(kPageJet1A);
    const GridCell cell{.row = 3, .column = 8};
    const std::size_t k = cellIndex(cell);
    const auto p1 = percent(InjectionMap::Jet1A, k);
    const auto p2 = percent(InjectionMap::Jet2A, k);
    const auto neighbour = percent(InjectionMap::Jet2A, k + 1);
    ASSERT_TRUE(stepMapTool(kPageJet1A, +1, false, cell, image, scaling));
    EXPECT_EQ(percent(InjectionMap::Jet1A, k), p1 + 1);
    EXPECT_EQ(percent(InjectionMap::Jet2A, k), p2 + 1);
    const std::uint16_t base2 = scaling.baseTimes(InjectionMap::Jet2A)[k];
    EXPECT_EQ(image.get(Field::JET_2A_Cell, k), model::wordFromPercent(p2 + 1, base2));
    EXPECT_EQ(image.get(Field::JET_2A_Cell, k) - model::wordFromPercent(p2, base2),
              (base2 + 50) / 100);
    EXPECT_EQ(percent(InjectionMap::Jet2A, k + 1), neighbour);
}

TEST_F(MapToolsTest, SeparatePlusOnMapOneLeavesMapTwo) {
    show(kPageJet1A);
    const model::ParameterImage before = image;
    ASSERT_TRUE(stepMapTool(kPageJet1A, +1, true, std::nullopt, image, scaling));
    for (std::size_t k = 0; k < kMapCells; ++k) {
        ASSERT_EQ(image.get(Field::JET_2A_Cell, k), before.get(Field::JET_2A_Cell, k));
        ASSERT_EQ(percent(InjectionMap::Jet1A, k), 101);
    }
}

TEST_F(MapToolsTest, CoupledMapTwoIsNeverStepped) {
    setMode(1);
    show(kPageJet2A);
    const model::ParameterImage before = image;
    EXPECT_FALSE(stepMapTool(kPageJet2A, +1, true, std::nullopt, image, scaling));
    EXPECT_FALSE(stepMapTool(kPageJet2A, +1, false, GridCell{1, 1}, image, scaling));
    EXPECT_EQ(image, before);
}

TEST_F(MapToolsTest, AStepRewritesOnlyTheTimesOfTheCellsThatMoved) {
    show(kPageJet2A);
    // Times that are no whole percent of their base time, as a Read brings.
    for (std::size_t k = 0; k < kMapCells; ++k) {
        image.set(Field::JET_2A_Cell, k,
                  model::wordFromPercent(100, scaling.baseTimes(InjectionMap::Jet2A)[k]) + 3);
    }
    show(kPageJet2A);
    const model::ParameterImage read = image;
    scaling.percents(InjectionMap::Jet2A)[0] = 0;
    EXPECT_TRUE(stepMapTool(kPageJet2A, -1, false, GridCell{0, 0}, image, scaling));
    EXPECT_EQ(image, read);
    EXPECT_TRUE(stepMapTool(kPageJet2A, +1, false, GridCell{0, 0}, image, scaling));
    EXPECT_EQ(percent(InjectionMap::Jet2A, 0), 1);
    // A column step moves the ten cells of its column and no other.
    const model::CellPercents before = scaling.percents(InjectionMap::Jet2A);
    stepMapColumn(kPageJet2A, 4, +1, image, scaling);
    stepMapColumn(kPageJet2A, 0, -1, image, scaling);
    for (std::size_t k = 1; k < kMapCells; ++k) {
        const int column = static_cast<int>(k % 15);
        const int step = column == 4 ? 1 : column == 0 ? -1 : 0;
        ASSERT_EQ(percent(InjectionMap::Jet2A, k), before[k] + step) << k;
        if (step == 0) {
            ASSERT_EQ(image.get(Field::JET_2A_Cell, k), read.get(Field::JET_2A_Cell, k)) << k;
        }
    }
}

TEST_F(MapToolsTest, PercentagesMayPassTheGridMaximumWithPlus) {
    show(kPageJet1A);
    scaling.percents(InjectionMap::Jet1A)[0] = 1000;
    stepMapTool(kPageJet1A, +1, false, GridCell{0, 0}, image, scaling);
    EXPECT_EQ(percent(InjectionMap::Jet1A, 0), 1001);
    scaling.percents(InjectionMap::Jet1A)[0] = 65535;
    stepMapTool(kPageJet1A, +1, false, GridCell{0, 0}, image, scaling);
    EXPECT_EQ(percent(InjectionMap::Jet1A, 0), 65535);
}

TEST_F(MapToolsTest, ColumnButtonsStepTheTenCellsOfTheirColumn) {
    const model::ParameterImage before = image;
    stepMapColumn(kPageAdvance, 3, +1, image, scaling);
    for (std::size_t k = 0; k < kMapCells; ++k) {
        const int expected = before.get(Field::ADVANCE_Cell, k) + (k % 15 == 3 ? 1 : 0);
        ASSERT_EQ(image.get(Field::ADVANCE_Cell, k), expected) << k;
    }

    setMode(1);
    show(kPageJet1A);
    stepMapColumn(kPageJet1A, 14, -1, image, scaling);
    for (int r = 0; r < 10; ++r) {
        const std::size_t k = static_cast<std::size_t>(r * 15 + 14);
        EXPECT_EQ(percent(InjectionMap::Jet1A, k), 99) << r;
        EXPECT_EQ(percent(InjectionMap::Jet2A, k), 99) << r;
        EXPECT_EQ(image.get(Field::JET_2A_Cell, k),
                  model::wordFromPercent(99, scaling.baseTimes(InjectionMap::Jet2A)[k]));
    }
    EXPECT_EQ(percent(InjectionMap::Jet1A, 13), 100);
}

TEST_F(MapToolsTest, PagesWithoutAMapChangeNothing) {
    const model::ParameterImage before = image;
    EXPECT_TRUE(stepMapTool(kPageGear, +1, true, GridCell{}, image, scaling));
    stepMapColumn(kPageBike, 0, +1, image, scaling);
    EXPECT_EQ(image, before);
}

// The injection position: one step is 5 degrees, and 720 degrees (144) and
// 0 are the ends.
TEST_F(MapToolsTest, PositionStepsMoveOneAngleOrAllAndStopAtTheEnds) {
    for (std::size_t i = 0; i < 15; ++i) image.set(Field::POSITION_A_Angle, i, 70 + i);
    image.set(Field::POSITION_A_Angle, 3, 144);
    image.set(Field::POSITION_A_Angle, 4, 0);
    const model::ParameterImage before = image;
    const auto angle = [&](std::size_t i) { return image.get(Field::POSITION_A_Angle, i); };

    stepInjectionPosition(+1, false, 5, image);
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(angle(i), before.get(Field::POSITION_A_Angle, i) + (i == 5 ? 1 : 0)) << i;
    }
    stepInjectionPosition(+1, false, 3, image);
    EXPECT_EQ(angle(3), 144);
    stepInjectionPosition(-1, false, 4, image);
    EXPECT_EQ(angle(4), 0);

    const model::ParameterImage beforeAll = image;
    stepInjectionPosition(-1, true, 5, image);
    for (std::size_t i = 0; i < 15; ++i) {
        const int old = beforeAll.get(Field::POSITION_A_Angle, i);
        EXPECT_EQ(angle(i), old == 0 ? 0 : old - 1) << i;
    }

    // No column of the table is current: a single step changes nothing.
    const model::ParameterImage unchanged = image;
    stepInjectionPosition(+1, false, 15, image);
    stepInjectionPosition(+1, false, -1, image);
    EXPECT_EQ(image, unchanged);
}

TEST_F(MapToolsTest, CouplingAndOneEqualsTwoPutMapTwoOnMapOnesAxis) {
    for (std::size_t c = 0; c < 15; ++c) {
        image.set(Field::RPM_JET_1A_Rpm, c, 10 + 10 * c);
        image.set(Field::RPM_JET_2A_Rpm, c, 12 + 10 * c);
    }
    const model::ParameterImage before = image;

    setCouplingMode(0, image);
    EXPECT_EQ(image.get(Field::JET1_MISC_Jet123Mode), 0);
    EXPECT_EQ(image, before);  // separate: map 2 keeps its own axis

    for (std::uint8_t mode : {1, 2}) {
        image = before;
        setCouplingMode(mode, image);
        EXPECT_EQ(image.get(Field::JET1_MISC_Jet123Mode), mode);
        for (std::size_t c = 0; c < 15; ++c) {
            EXPECT_EQ(image.get(Field::RPM_JET_2A_Rpm, c), before.get(Field::RPM_JET_1A_Rpm, c));
            EXPECT_EQ(image.get(Field::RPM_JET_1A_Rpm, c), before.get(Field::RPM_JET_1A_Rpm, c));
        }
        // Nothing else moves: not the maps' times, not map 1's axis.
        model::ParameterImage expected = before;
        expected.set(Field::JET1_MISC_Jet123Mode, mode);
        for (std::size_t c = 0; c < 15; ++c) {
            expected.set(Field::RPM_JET_2A_Rpm, c, before.get(Field::RPM_JET_1A_Rpm, c));
        }
        EXPECT_EQ(image, expected);
    }
}

}  // namespace
}  // namespace zelvor::editing
