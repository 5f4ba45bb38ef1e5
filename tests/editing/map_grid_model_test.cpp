#include "editing/map_grid_model.h"

#include <gtest/gtest.h>

#include "model/default_set.h"
#include "model/sanitizer.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::InjectionMap;

class MapGridModelTest : public ::testing::Test {
  protected:
    MapGridModelTest() {
        model::loadDefaultSet(image, scaling);
        model::sanitize(image);
        setMode(0);  // default sets couple the injection maps
    }

    void setMode(int mode) { image.set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode)); }
    std::uint16_t baseTime(InjectionMap map, std::size_t cell) {
        return scaling.baseTimes(map)[cell];
    }

    model::ParameterImage image;
    model::InjectionScaling scaling;
    AllFlags all{};
};

TEST_F(MapGridModelTest, AdvancePageShowsAxisInRpmCellsInDegreesAndSignedCorrections) {
    image.set(Field::RPM_ADV_Rpm, 0, 30);
    image.set(Field::ADVANCE_Cell, 17, 42);
    image.set(Field::ADVANCE_MISC_CylKor1, 100);
    image.set(Field::ADVANCE_MISC_CylKor2, 85);
    image.set(Field::ADVANCE_MISC_BaseAdv, 12);
    image.set(Field::ADVANCE_MISC_UseTps, 1);
    all[kPageAdvance] = true;
    const MapGridValues shown = refreshMapPage(kPageAdvance, image, scaling, all);
    EXPECT_EQ(shown.axis[0], 3000);
    EXPECT_EQ(shown.cells[17], 42);
    ASSERT_TRUE(shown.extras);
    EXPECT_EQ(shown.extras->cylinder1, 0);
    EXPECT_EQ(shown.extras->cylinder2, -15);
    EXPECT_EQ(shown.extras->baseAdvance, 12);
    EXPECT_TRUE(shown.useTps);
    EXPECT_TRUE(shown.all);
    EXPECT_FALSE(refreshMapPage(kPageJet1A, image, scaling, all).extras);
}

TEST_F(MapGridModelTest, AdvancePageCollectsEveryValueBack) {
    MapGridValues grid = refreshMapPage(kPageAdvance, image, scaling, all);
    grid.axis[0] = 3050;  // typed between two steps: the hundreds count
    grid.cells[149] = 7;
    grid.extras = AdvanceExtras{.baseAdvance = 20, .cylinder1 = -15, .cylinder2 = 15};
    grid.useTps = false;
    grid.all = true;
    collectMapPage(kPageAdvance, grid, image, scaling, all);
    EXPECT_EQ(image.get(Field::RPM_ADV_Rpm, 0), 30);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 149), 7);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_BaseAdv), 20);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_CylKor1), 85);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_CylKor2), 115);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_UseTps), 0);
    EXPECT_TRUE(all[kPageAdvance]);
    EXPECT_FALSE(all[kPageJet1A]);
}

TEST_F(MapGridModelTest, SingleRowModeKeepsTheHiddenRowsInTheImage) {
    image.set(Field::ADVANCE_MISC_UseTps, 0);
    for (std::size_t k = 0; k < kMapCells; ++k) image.set(Field::ADVANCE_Cell, k, k % 61);
    const model::ParameterImage before = image;
    const MapGridValues grid = refreshMapPage(kPageAdvance, image, scaling, all);
    collectMapPage(kPageAdvance, grid, image, scaling, all);
    EXPECT_EQ(image, before);
}

TEST_F(MapGridModelTest, InjectionPagesShowPercentOfTheBaseTime) {
    const MapGridValues shown = refreshMapPage(kPageJet1A, image, scaling, all);
    for (std::size_t k : {0u, 77u, 149u}) {
        const auto expected = model::percentFromWord(image.get(Field::JET_1A_Cell, k),
                                                     baseTime(InjectionMap::Jet1A, k));
        EXPECT_EQ(shown.cells[k], expected) << k;
        EXPECT_EQ(scaling.percents(InjectionMap::Jet1A)[k], expected) << k;
    }
    // A default set holds 100 % everywhere.
    EXPECT_EQ(shown.cells[77], 100);
}

TEST_F(MapGridModelTest, CollectingAnInjectionPageTwiceChangesNothingMore) {
    for (int page : {kPageJet1A, kPageJet2A}) {
        MapGridValues grid = refreshMapPage(page, image, scaling, all);
        grid.cells[20] = 140;
        collectMapPage(page, grid, image, scaling, all);
        const model::ParameterImage once = image;
        collectMapPage(page, refreshMapPage(page, image, scaling, all), image, scaling, all);
        EXPECT_EQ(image, once) << page;
        EXPECT_EQ(refreshMapPage(page, image, scaling, all).cells[20], 140) << page;
    }
}

TEST_F(MapGridModelTest, MovingAnAxisPointKeepsThePercentagesAndMovesTheTimes) {
    MapGridValues grid = refreshMapPage(kPageJet1A, image, scaling, all);
    grid.cells[3] = 150;
    collectMapPage(kPageJet1A, grid, image, scaling, all);
    grid = refreshMapPage(kPageJet1A, image, scaling, all);
    grid.axis[3] += 500;
    collectMapPage(kPageJet1A, grid, image, scaling, all);
    EXPECT_EQ(refreshMapPage(kPageJet1A, image, scaling, all).cells[3], 150);
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 3),
              model::wordFromPercent(150, baseTime(InjectionMap::Jet1A, 3)));
}

TEST_F(MapGridModelTest, CoupledMapOneCarriesAxisAndCellChangesIntoMapTwo) {
    setMode(1);
    image.set(Field::RPM_JET_1A_Rpm, 14, 240);
    image.set(Field::RPM_JET_2A_Rpm, 14, 254);
    MapGridValues grid = refreshMapPage(kPageJet1A, image, scaling, all);
    const int axis2Before = image.get(Field::RPM_JET_2A_Rpm, 5);
    const int axis1Before = image.get(Field::RPM_JET_1A_Rpm, 5);
    grid.axis[5] += 200;
    grid.axis[14] = 25000;  // map 2's point cannot go above 255
    const int percent2Before = scaling.percents(InjectionMap::Jet2A)[40];
    grid.cells[40] -= 5;
    collectMapPage(kPageJet1A, grid, image, scaling, all);
    EXPECT_EQ(image.get(Field::RPM_JET_1A_Rpm, 5), axis1Before + 2);
    EXPECT_EQ(image.get(Field::RPM_JET_2A_Rpm, 5), axis2Before + 2);
    EXPECT_EQ(image.get(Field::RPM_JET_2A_Rpm, 14), 255);  // 264 limited, not wrapped
    EXPECT_EQ(scaling.percents(InjectionMap::Jet2A)[40], percent2Before - 5);
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 40),
              model::wordFromPercent(static_cast<std::uint16_t>(percent2Before - 5),
                                     baseTime(InjectionMap::Jet2A, 40)));
}

TEST_F(MapGridModelTest, SameModeMakesMapTwoEqualToMapOneAtEveryRefresh) {
    setMode(2);
    for (int page : {kPageAdvance, kPageJet1A}) {
        image.set(Field::RPM_JET_2A_Rpm, 7, image.get(Field::RPM_JET_2A_Rpm, 7) + 1);
        image.set(Field::JET_2A_Cell, 9, 4321);
        refreshMapPage(page, image, scaling, all);
        for (std::size_t c = 0; c < kMapColumns; ++c) {
            EXPECT_EQ(image.get(Field::RPM_JET_2A_Rpm, c), image.get(Field::RPM_JET_1A_Rpm, c));
        }
        for (std::size_t k = 0; k < kMapCells; ++k) {
            ASSERT_EQ(image.get(Field::JET_2A_Cell, k), image.get(Field::JET_1A_Cell, k)) << k;
        }
        // The percentages of map 2 follow its own base times.
        EXPECT_EQ(scaling.percents(InjectionMap::Jet2A)[9],
                  model::percentFromWord(image.get(Field::JET_2A_Cell, 9),
                                         baseTime(InjectionMap::Jet2A, 9)));
    }
}

TEST_F(MapGridModelTest, SameModeCollectOfMapOneWritesBothMaps) {
    setMode(2);
    MapGridValues grid = refreshMapPage(kPageJet1A, image, scaling, all);
    grid.axis[2] += 100;
    grid.cells[60] = 123;
    collectMapPage(kPageJet1A, grid, image, scaling, all);
    EXPECT_EQ(image.get(Field::RPM_JET_2A_Rpm, 2), image.get(Field::RPM_JET_1A_Rpm, 2));
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 60), image.get(Field::JET_1A_Cell, 60));
}

TEST_F(MapGridModelTest, SeparateMapsDoNotTouchEachOther) {
    const model::ParameterImage before = image;
    MapGridValues grid = refreshMapPage(kPageJet1A, image, scaling, all);
    grid.axis[5] += 100;
    grid.cells[40] = 50;
    collectMapPage(kPageJet1A, grid, image, scaling, all);
    for (std::size_t c = 0; c < kMapColumns; ++c) {
        EXPECT_EQ(image.get(Field::RPM_JET_2A_Rpm, c), before.get(Field::RPM_JET_2A_Rpm, c));
    }
    for (std::size_t k = 0; k < kMapCells; ++k) {
        ASSERT_EQ(image.get(Field::JET_2A_Cell, k), before.get(Field::JET_2A_Cell, k));
    }
}

TEST_F(MapGridModelTest, APercentageAboveTheGridKeepsItsTimeUntilTheUserLowersIt) {
    refreshMapPage(kPageJet2A, image, scaling, all);
    const std::uint16_t big = 60000;  // far above 1000 % of any base time here
    image.set(Field::JET_2A_Cell, 11, big);
    MapGridValues grid = refreshMapPage(kPageJet2A, image, scaling, all);
    EXPECT_EQ(grid.cells[11], 1000);
    grid.cells[12] = 90;  // an edit elsewhere on the page
    collectMapPage(kPageJet2A, grid, image, scaling, all);
    EXPECT_NEAR(image.get(Field::JET_2A_Cell, 11), big, baseTime(InjectionMap::Jet2A, 11) / 100);
    grid = refreshMapPage(kPageJet2A, image, scaling, all);
    grid.cells[11] = 999;
    collectMapPage(kPageJet2A, grid, image, scaling, all);
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 11),
              model::wordFromPercent(999, baseTime(InjectionMap::Jet2A, 11)));
}

TEST_F(MapGridModelTest, PositionsOutsideTheSpinnersAreLimited) {
    image.set(Field::RPM_ADV_Rpm, 0, 1);  // not sanitized: 100 rpm
    image.set(Field::ADVANCE_MISC_CylKor1, 50);
    image.set(Field::ADVANCE_MISC_BaseAdv, 180);
    const MapGridValues shown = refreshMapPage(kPageAdvance, image, scaling, all);
    EXPECT_EQ(shown.axis[0], 300);
    EXPECT_EQ(shown.extras->cylinder1, -15);
    EXPECT_EQ(shown.extras->baseAdvance, 100);
    MapGridValues grid = shown;
    grid.cells[0] = 99;
    grid.axis[1] = 90000;
    collectMapPage(kPageAdvance, grid, image, scaling, all);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 0), 60);
    EXPECT_EQ(image.get(Field::RPM_ADV_Rpm, 1), 250);
}

// Values the grid cannot show as they are stay as they are while the user
// leaves them alone: an axis point below the grid's lowest, an advance above
// its highest, an injection time that is no whole percent.
TEST_F(MapGridModelTest, CollectTakesOnlyTheValuesTheUserChanged) {
    image.set(Field::RPM_ADV_Rpm, 0, 2);         // 200 rpm, the spinner starts at 300
    image.set(Field::ADVANCE_Cell, 5, 70);       // the grid shows 60 at most
    image.set(Field::ADVANCE_MISC_CylKor1, 60);  // -40, the spinner starts at -15
    image.set(Field::JET_2A_Cell, 9, image.get(Field::JET_2A_Cell, 9) + 3);
    const model::ParameterImage before = image;
    for (int page : {kPageAdvance, kPageJet2A}) {
        const MapGridValues shown = refreshMapPage(page, image, scaling, all);
        collectMapPage(page, shown, image, scaling, all, &shown);
    }
    EXPECT_EQ(image, before);

    MapGridValues shown = refreshMapPage(kPageAdvance, image, scaling, all);
    MapGridValues changed = shown;
    changed.cells[6] = 33;
    changed.extras->cylinder2 = 4;
    collectMapPage(kPageAdvance, changed, image, scaling, all, &shown);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 6), 33u);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_CylKor2), 104u);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 5), 70u);
    EXPECT_EQ(image.get(Field::RPM_ADV_Rpm, 0), 2u);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_CylKor1), 60u);
}

TEST(MsText, ShowsMillisecondsWithThreeDecimalsAndATrailingBlank) {
    EXPECT_EQ(msText(60000), "60.000 ");
    EXPECT_EQ(msText(1234), "1.234 ");
    EXPECT_EQ(msText(0), "0.000 ");
    EXPECT_EQ(msText(999), "0.999 ");
    EXPECT_EQ(msText(65535), "65.535 ");
}

}  // namespace
}  // namespace zelvor::editing
