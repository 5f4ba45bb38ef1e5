// Which controls of the page on show light the live operating point.
#include "editing/live_highlight.h"

#include <gtest/gtest.h>

#include "editing/page_index.h"

namespace zelvor::editing {
namespace {

using G = HighlightGroup;
using link::CurrentCell;
using link::LiveValues;
using model::Field;

namespace page {
constexpr int kAdvanceMap = kPageAdvance;
constexpr int kInjectionMap1 = kPageJet1A;
constexpr int kInjectionMap2 = kPageJet2A;
constexpr int kPosition = kPagePoloha;
constexpr int kCorrections = kPageKorekce;
constexpr int kRace = kPageRace;
constexpr int kGear = kPageGear;
}  // namespace page

class LiveHighlightTest : public ::testing::Test {
  protected:
    LiveHighlightTest() {
        for (std::size_t i = 0; i < 15; ++i) {
            image.set(Field::RPM_ADV_Rpm, i, 10 * (i + 1));    // 1000, 2000, ... rpm
            image.set(Field::RPM_JET_1A_Rpm, i, 5 * (i + 1));  // 500, 1000, ... rpm
            image.set(Field::POSITION_A_Rpm, i, 10 * (i + 1));
        }
        image.set(Field::ADVANCE_MISC_UseTps, 1);
        const unsigned times[] = {2, 10, 30, 60};
        for (std::size_t i = 0; i < 4; ++i) image.set(Field::CHOKE_SyticCas, i, times[i]);
    }

    PageHighlight on(int pageIndex) const { return highlightLivePoint(pageIndex, live, image); }

    model::ParameterImage image;
    LiveValues live;
};

TEST_F(LiveHighlightTest, MapPageLightsTheNearestCellAndFixesTheCurrentCell) {
    live.engineSpeed = 1500;
    live.throttlePercent = 3;
    const PageHighlight h = on(page::kAdvanceMap);
    EXPECT_EQ(h.lit(G::MapAxisEdits), 1);
    EXPECT_EQ(h.lit(G::MapRowLabels), 1);
    EXPECT_EQ(h.lit(G::MapCells), 1 * 15 + 1);
    EXPECT_EQ(h.currentCell, (CurrentCell{1, 1}));

    live.engineSpeed = 1499;
    live.throttlePercent = 4;
    const PageHighlight lower = on(page::kAdvanceMap);
    EXPECT_EQ(lower.currentCell, (CurrentCell{0, 2}));
    EXPECT_EQ(lower.lit(G::MapCells), 2 * 15 + 0);
}

TEST_F(LiveHighlightTest, EachMapPageUsesItsOwnSpeedAxis) {
    live.engineSpeed = 2000;
    EXPECT_EQ(on(page::kAdvanceMap).currentCell->column, 1);
    EXPECT_EQ(on(page::kInjectionMap1).currentCell->column, 3);
    EXPECT_EQ(on(page::kInjectionMap2).currentCell->column, 14)
        << "an axis of zeros: the last point";
}

TEST_F(LiveHighlightTest, StoppedEngineLightsOnlyTheThrottleRowLabel) {
    live.engineSpeed = 0;
    live.throttlePercent = 20;
    const PageHighlight h = on(page::kInjectionMap1);
    EXPECT_EQ(h.lit(G::MapAxisEdits), kNotLit);
    EXPECT_EQ(h.lit(G::MapCells), kNotLit);
    EXPECT_EQ(h.lit(G::MapRowLabels), 4);
    EXPECT_EQ(h.currentCell, (CurrentCell{0, 4}));
}

TEST_F(LiveHighlightTest, AdvanceWithoutThrottleUsesTheFullThrottleRow) {
    image.set(Field::ADVANCE_MISC_UseTps, 0);
    live.engineSpeed = 3000;
    live.throttlePercent = 0;
    const PageHighlight h = on(page::kAdvanceMap);
    EXPECT_EQ(h.lit(G::MapRowLabels), 0);
    EXPECT_EQ(h.lit(G::MapCells), 9 * 15 + 2);
    EXPECT_EQ(h.currentCell, (CurrentCell{2, 9}));
    EXPECT_EQ(on(page::kInjectionMap1).currentCell->row, 0) << "injection maps keep the throttle";
}

TEST_F(LiveHighlightTest, PositionPageLightsBothRowsOfTheColumn) {
    live.engineSpeed = 4400;
    const PageHighlight h = on(page::kPosition);
    EXPECT_EQ(h.lit(G::PositionAxisEdits), 3);
    EXPECT_EQ(h.lit(G::PositionAngleEdits), 3);
    EXPECT_FALSE(h.currentCell);
}

TEST_F(LiveHighlightTest, CoolantAndAirCorrectionPoints) {
    live.coolantRaw = 230;
    live.airRaw = 60;
    const PageHighlight h = on(page::kCorrections);
    EXPECT_EQ(h.lit(G::CoolantInjectionEdits), kNotLit);
    EXPECT_EQ(h.lit(G::CoolantAdvanceEdits), kNotLit);
    EXPECT_EQ(h.lit(G::AirInjectionEdits), 0);
    live.coolantRaw = 180;
    EXPECT_EQ(on(page::kCorrections).lit(G::CoolantAdvanceEdits), 3);
}

TEST_F(LiveHighlightTest, StartCorrectionPointFollowsTheTimeSinceStart) {
    // Time points 2, 10, 30, 60 s; the time is in 0.1 s.
    live.timeSinceStart = 300;
    const PageHighlight h = on(page::kCorrections);
    EXPECT_EQ(h.lit(G::StartTimePoints), 3);
    EXPECT_EQ(h.lit(G::StartCorrectionPoints), 3);
}

TEST_F(LiveHighlightTest, RacePageLightsTheCurrentGear) {
    live.gear = 6;
    const PageHighlight h = on(page::kRace);
    EXPECT_EQ(h.groups.size(), 5u);
    for (const GroupHighlight& g : h.groups) EXPECT_EQ(g.lit, 5);
    live.gear = 0;
    for (const GroupHighlight& g : on(page::kRace).groups) EXPECT_EQ(g.lit, kNotLit);
}

TEST_F(LiveHighlightTest, GearPageDependsOnTheGearSystem) {
    live.gear = 2;
    image.set(Field::GEAR_GearSystem, 0);
    PageHighlight h = on(page::kGear);
    EXPECT_EQ(h.lit(G::GearRatioEdits), 1);
    EXPECT_EQ(h.lit(G::GearButtons), 1);
    EXPECT_EQ(h.lit(G::GearAutoLabels), kNotLit);
    EXPECT_EQ(h.lit(G::GearCorrectionLabels), 1);

    image.set(Field::GEAR_GearSystem, 1);
    h = on(page::kGear);
    EXPECT_EQ(h.lit(G::GearRatioLabels), kNotLit);
    EXPECT_EQ(h.lit(G::GearAutoRatioLabels), 1);
    EXPECT_EQ(h.lit(G::GearCorrectionAdvanceEdits), 1);

    image.set(Field::GEAR_GearSystem, 2);
    EXPECT_EQ(on(page::kGear).lit(G::GearAutoLabels), kNotLit);

    live.gear = 0;
    for (const GroupHighlight& g : on(page::kGear).groups) EXPECT_EQ(g.lit, kNotLit);
}

TEST_F(LiveHighlightTest, OtherPagesShowNothing) {
    live.engineSpeed = 5000;
    for (int p : {0, 6, 7, 8, 11, 12}) {
        const PageHighlight h = on(p);
        EXPECT_TRUE(h.groups.empty()) << p;
        EXPECT_FALSE(h.currentCell) << p;
    }
}

TEST(HighlightColours, LitEntryIsLimeAndOthersTheirPlainColour) {
    const GroupHighlight start{G::StartTimePoints, 2};
    EXPECT_EQ(start.colour(2), Colour::Lime);
    EXPECT_EQ(start.colour(0), Colour::ButtonFace) << "LabelSyticCas0 is a label";
    EXPECT_EQ(start.colour(1), Colour::Window);
    const GroupHighlight corrections{G::StartCorrectionPoints, kNotLit};
    EXPECT_EQ(corrections.colour(4), Colour::ButtonFace) << "LabelSyticKorekce4 is a label";
    EXPECT_EQ(corrections.colour(3), Colour::Window);
    EXPECT_EQ(GroupHighlight{G::MapRowLabels}.colour(0), Colour::ButtonFace);
    EXPECT_EQ(groupSize(G::MapCells), 150);
    EXPECT_EQ(groupSize(G::GearButtons), 6);
}

TEST(HighlightControls, ArraysByElementAndNumberedControlsByName) {
    const auto is = [](const GroupControl& c, const char* name, int element) {
        return c.name == name && c.element == element;
    };
    EXPECT_TRUE(is(groupControl(G::MapCells, 149), "EditCell_Uni", 149));
    EXPECT_TRUE(is(groupControl(G::PositionAngleEdits, 0), "EditPolohaAAngle", 0));
    EXPECT_TRUE(is(groupControl(G::RaceGearLabels, 0), "LabelRaceGear1", -1));
    EXPECT_TRUE(is(groupControl(G::GearButtons, 5), "ButtonGear6", -1));
    EXPECT_TRUE(is(groupControl(G::StartTimePoints, 0), "LabelSyticCas0", -1));
    EXPECT_TRUE(is(groupControl(G::StartTimePoints, 4), "EditSyticCas4", -1));
    EXPECT_TRUE(is(groupControl(G::StartCorrectionPoints, 3), "EditSyticKorekce3", -1));
    EXPECT_TRUE(is(groupControl(G::StartCorrectionPoints, 4), "LabelSyticKorekce4", -1));
}

}  // namespace
}  // namespace zelvor::editing
