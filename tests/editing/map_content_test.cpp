#include "editing/map_content.h"

#include <gtest/gtest.h>

#include "editing/change_pipeline.h"
#include "editing/map_grid_model.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::InjectionMap;

class MapContentTest : public ::testing::Test {
  protected:
    MapContentTest() {
        model::loadDefaultSet(image, scaling);
        model::sanitize(image);
        setMode(0);  // default sets couple the injection maps
        // Cells that differ from each other and from 100 %.
        for (std::size_t k = 0; k < kMapCells; ++k) {
            image.set(Field::ADVANCE_Cell, k, 10 + k % 40);
            image.set(Field::JET_1A_Cell, k, 900 + 7 * k);
            image.set(Field::JET_2A_Cell, k, 1500 + 3 * k);
        }
    }

    void setMode(int mode) { image.set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode)); }

    model::ParameterImage image;
    model::InjectionScaling scaling;
};

TEST_F(MapContentTest, ReadingGivesTheAxisInRpmAndTheCellsInTheGridUnit) {
    image.set(Field::RPM_ADV_Rpm, 4, 45);
    const MapContent advance = readMapContent(MapId::Advance, image);
    EXPECT_EQ(advance.axis[4], 4500);
    EXPECT_EQ(advance.cells[41], 11);

    image.set(Field::JET_1A_Cell, 30, 60000);
    const MapContent jet = readMapContent(MapId::Jet1A, image);
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    EXPECT_EQ(jet.baseTimes, scaling.baseTimes(InjectionMap::Jet1A));
    EXPECT_EQ(jet.words[7], 949);
    EXPECT_EQ(jet.cells[7], model::percentFromWord(949, jet.baseTimes[7]));
    // Above what the grid shows, as it is.
    EXPECT_EQ(jet.cells[30], model::percentFromWord(60000, jet.baseTimes[30]));
    EXPECT_GT(jet.cells[30], 1000);
}

TEST_F(MapContentTest, WhileTheMapsAreEqualMapTwoReadsAsMapOne) {
    setMode(2);
    image.set(Field::RPM_JET_1A_Rpm, 3, image.get(Field::RPM_JET_1A_Rpm, 3) + 1);
    const model::ParameterImage before = image;
    const MapContent jet2 = readMapContent(MapId::Jet2A, image);
    EXPECT_EQ(image, before);
    const MapContent jet1 = readMapContent(MapId::Jet1A, image);
    EXPECT_EQ(jet2.axis, jet1.axis);
    EXPECT_EQ(jet2.words, jet1.words);
    EXPECT_NE(jet2.cells, jet1.cells);  // the other map's base times
}

// The same edit taken by collecting the page from the grid and by
// writeMapEdit gives the same image, in every coupling mode.
TEST_F(MapContentTest, WritingAnEditTakesWhatCollectingThePageTakes) {
    for (int mode : {0, 1, 2}) {
        for (MapId map : {MapId::Advance, MapId::Jet1A, MapId::Jet2A}) {
            setMode(mode);
            if (!mapAcceptsEdits(map, image)) continue;
            const int page = pageOfMap(map);
            AllFlags all{};
            model::ParameterImage collected = image;
            model::InjectionScaling collectScaling;
            const MapGridValues shown = refreshMapPage(page, collected, collectScaling, all);
            model::ParameterImage written = collected;

            MapGridValues grid = shown;
            grid.axis[3] += 500;
            grid.cells[0] = 0;
            grid.cells[17] = 55;
            grid.cells[149] = map == MapId::Advance ? 60 : 333;
            collectMapPage(page, grid, collected, collectScaling, all, &shown);

            MapEdit edit{grid.axis, readMapContent(map, written).cells};
            for (std::size_t k : {0u, 17u, 149u}) edit.cells[k] = grid.cells[k];
            EXPECT_TRUE(writeMapEdit(map, edit, written, scaling));
            EXPECT_EQ(written, collected) << "mode " << mode << " page " << page;
        }
    }
}

TEST_F(MapContentTest, UntouchedTimesKeepTheirExactWords) {
    MapEdit edit{std::nullopt, readMapContent(MapId::Jet1A, image).cells};
    edit.cells[6] += 10;
    const model::ParameterImage before = image;
    ASSERT_TRUE(writeMapEdit(MapId::Jet1A, edit, image, scaling));
    const MapContent after = readMapContent(MapId::Jet1A, image);
    for (std::size_t k = 0; k < kMapCells; ++k) {
        if (k == 6) continue;
        ASSERT_EQ(image.get(Field::JET_1A_Cell, k), before.get(Field::JET_1A_Cell, k)) << k;
    }
    EXPECT_EQ(
        image.get(Field::JET_1A_Cell, 6),
        model::wordFromPercent(static_cast<std::uint16_t>(edit.cells[6]), after.baseTimes[6]));
    // The scaling the window keeps follows the image.
    EXPECT_EQ(scaling.percents(InjectionMap::Jet1A)[6], edit.cells[6]);
}

TEST_F(MapContentTest, CellsAreHeldByTheMapsLimits) {
    image.set(Field::JET_1A_Cell, 30, 60000);
    const MapContent jet = readMapContent(MapId::Jet1A, image);
    MapEdit edit{std::nullopt, jet.cells};
    edit.cells[30] += 50;   // above the grid's maximum it cannot rise
    edit.cells[31] = 5000;  // nor can any other cell go there
    edit.cells[32] = -20;
    ASSERT_TRUE(writeMapEdit(MapId::Jet1A, edit, image, scaling));
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 30), 60000);
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 31), model::wordFromPercent(1000, jet.baseTimes[31]));
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 32), 0);

    MapEdit advance{std::nullopt, readMapContent(MapId::Advance, image).cells};
    advance.cells[0] = 75;
    advance.cells[1] = -3;
    ASSERT_TRUE(writeMapEdit(MapId::Advance, advance, image, scaling));
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 0), 60);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 1), 0);
}

TEST_F(MapContentTest, MapTwoTakesNoEditWhileItFollowsMapOne) {
    for (int mode : {1, 2}) {
        setMode(mode);
        EXPECT_FALSE(mapAcceptsEdits(MapId::Jet2A, image));
        MapEdit edit{std::nullopt, readMapContent(MapId::Jet2A, image).cells};
        edit.cells.fill(50);
        const model::ParameterImage before = image;
        EXPECT_FALSE(writeMapEdit(MapId::Jet2A, edit, image, scaling));
        EXPECT_EQ(image, before);
    }
    setMode(0);
    EXPECT_TRUE(mapAcceptsEdits(MapId::Jet2A, image));
}

TEST_F(MapContentTest, AnEditIsOneUndoStepOfTheChangePipeline) {
    ChangePipeline pipeline(image);
    const WindowState window;
    (void)pipeline.initialise(window);
    const model::ParameterImage before = image;
    MapEdit edit{std::nullopt, readMapContent(MapId::Advance, image).cells};
    for (int k = 20; k < 80; ++k) edit.cells[static_cast<std::size_t>(k)] = 33;
    ASSERT_TRUE(writeMapEdit(MapId::Advance, edit, image, scaling));
    pipeline.sanitize();
    (void)pipeline.record(window);
    EXPECT_EQ(pipeline.undoSteps(), 1);
    (void)pipeline.undo(window);
    EXPECT_EQ(image, before);
}

}  // namespace
}  // namespace zelvor::editing
