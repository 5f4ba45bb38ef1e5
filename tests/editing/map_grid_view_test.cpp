#include "editing/map_grid_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/default_set.h"

namespace zelvor::editing {
namespace {

using model::Field;

class MapGridViewTest : public ::testing::Test {
  protected:
    MapGridViewTest() {
        model::loadDefaultSet(image);
        image.set(Field::ADVANCE_MISC_UseTps, 1);
        setMode(0);  // default sets couple the injection maps
    }
    void setMode(int mode) { image.set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode)); }

    model::ParameterImage image;
};

TEST_F(MapGridViewTest, EditableMapShowsEveryRowWithItsSpinnersAndTools) {
    for (int page : {kPageAdvance, kPageJet1A, kPageJet2A}) {
        const MapGridView view = mapGridView(page, image, false);
        EXPECT_TRUE(view.gridEnabled) << page;
        EXPECT_FALSE(view.singleRow) << page;
        EXPECT_EQ(view.lastRowTop, 323) << page;
        for (const GridRowView& row : view.rows) {
            EXPECT_TRUE(row.editsVisible);
            EXPECT_TRUE(row.spinnersVisible);
            EXPECT_FALSE(row.msLabelsVisible);
        }
        EXPECT_TRUE(view.throttleLabelsVisible);
        EXPECT_TRUE(view.columnButtonsVisible);
        EXPECT_TRUE(view.toolsVisible);
        EXPECT_EQ(view.tpsBoxVisible, page == kPageAdvance) << page;
        ASSERT_TRUE(view.page);
        EXPECT_EQ(view.page->extrasVisible, page == kPageAdvance) << page;
        EXPECT_EQ(view.page->msBoxVisible, page != kPageAdvance) << page;
        EXPECT_FALSE(view.page->jet12Visible) << page;
    }
}

TEST_F(MapGridViewTest, RowCaptionsAreTheThrottlePositionsOfTheRows) {
    const std::vector<std::string> captions{"0%",  "2%",  "5%",  "10%", "20%",
                                            "30%", "40%", "60%", "80%", "100%"};
    for (int r = 0; r < kMapRows; ++r) EXPECT_EQ(throttleRowText(r), captions[r]) << r;
}

TEST_F(MapGridViewTest, AdvanceWithoutThrottleShowsOnlyTheFullThrottleRowInRowZerosPlace) {
    image.set(Field::ADVANCE_MISC_UseTps, 0);
    const MapGridView view = mapGridView(kPageAdvance, image, false);
    EXPECT_TRUE(view.singleRow);
    EXPECT_EQ(view.lastRowTop, 53);
    for (int r = 0; r < 9; ++r) {
        EXPECT_FALSE(view.rows[r].editsVisible) << r;
        EXPECT_FALSE(view.rows[r].spinnersVisible) << r;
    }
    EXPECT_TRUE(view.rows[9].editsVisible);
    EXPECT_TRUE(view.rows[9].spinnersVisible);
    EXPECT_FALSE(view.throttleLabelsVisible);
    EXPECT_FALSE(view.columnButtonsVisible);
    EXPECT_TRUE(view.toolsVisible);
    // The throttle flag belongs to the advance map only.
    EXPECT_FALSE(mapGridView(kPageJet1A, image, false).singleRow);
}

TEST_F(MapGridViewTest, CoupledMapTwoCannotBeEdited) {
    setMode(1);
    const MapGridView view = mapGridView(kPageJet2A, image, true);
    EXPECT_FALSE(view.gridEnabled);
    EXPECT_FALSE(view.cellEditsEnabled);
    EXPECT_FALSE(view.axisEditsEnabled);
    EXPECT_FALSE(view.axisSpinnersVisible);
    for (const GridRowView& row : view.rows) EXPECT_FALSE(row.spinnersVisible);
    EXPECT_FALSE(view.columnButtonsVisible);
    EXPECT_FALSE(view.toolsVisible);
    EXPECT_FALSE(view.page->msBoxVisible);
    EXPECT_TRUE(view.page->jet12Visible);
    EXPECT_EQ(view.jet12Text, "  1 -> 2  ");
    EXPECT_EQ(view.jet12Colour, editing::Colour::Yellow);
    EXPECT_TRUE(view.coupledChecked);
    EXPECT_FALSE(view.separateChecked);
    EXPECT_TRUE(view.jet2TabVisible);

    const MapGridView map1 = mapGridView(kPageJet1A, image, false);
    EXPECT_TRUE(map1.gridEnabled);
    EXPECT_TRUE(map1.page->msBoxVisible);
    EXPECT_TRUE(map1.page->jet12Visible);
}

TEST_F(MapGridViewTest, SameMapsHideTheTabOfMapTwo) {
    setMode(2);
    const MapGridView view = mapGridView(kPageJet1A, image, false);
    EXPECT_TRUE(view.sameChecked);
    EXPECT_FALSE(view.coupledChecked);
    EXPECT_FALSE(view.jet2TabVisible);
    EXPECT_EQ(view.jet12Text, "  1 = 2  ");
    EXPECT_EQ(view.jet12Colour, editing::Colour::Aqua);
    EXPECT_TRUE(view.page->jet12Visible);
}

TEST_F(MapGridViewTest, MsDisplayReplacesTheEditsOnTheInjectionPagesOnly) {
    image.set(Field::JET_2A_Cell, 0, 60000);
    image.set(Field::JET_2A_Cell, 149, 1234);
    const MapGridView view = mapGridView(kPageJet2A, image, true);
    EXPECT_TRUE(view.msDisplay);
    for (const GridRowView& row : view.rows) {
        EXPECT_FALSE(row.editsVisible);
        EXPECT_TRUE(row.spinnersVisible);
        EXPECT_TRUE(row.msLabelsVisible);
    }
    EXPECT_EQ(view.msTexts[0], "60.000 ");
    EXPECT_EQ(view.msTexts[149], "1.234 ");

    const MapGridView advance = mapGridView(kPageAdvance, image, true);
    EXPECT_FALSE(advance.msDisplay);
    EXPECT_TRUE(advance.rows[0].editsVisible);
    EXPECT_TRUE(advance.msTexts[0].empty());
}

TEST_F(MapGridViewTest, OtherPagesLeaveTheBottomRowAlone) {
    setMode(2);
    const MapGridView view = mapGridView(kPageGear, image, true);
    EXPECT_FALSE(view.page);
    EXPECT_FALSE(view.msDisplay);
    EXPECT_FALSE(view.jet2TabVisible);
    EXPECT_FALSE(view.tpsBoxVisible);
}

}  // namespace
}  // namespace zelvor::editing
