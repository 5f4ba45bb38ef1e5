#include "link/operating_point.h"

#include <gtest/gtest.h>

#include <array>

namespace zelvor::link {
namespace {

using G = HighlightGroup;
using model::Field;

class OperatingPointTest : public ::testing::Test {
  protected:
    OperatingPointTest() {
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

TEST(NearestPoint, TiesGoToTheHigherPoint) {
    const std::array<int, 4> axis{1000, 2000, 3000, 4000};
    EXPECT_EQ(nearestPoint(axis, 0), 0);
    EXPECT_EQ(nearestPoint(axis, 1499), 0);
    EXPECT_EQ(nearestPoint(axis, 1500), 1);
    EXPECT_EQ(nearestPoint(axis, 3600), 3);
    EXPECT_EQ(nearestPoint(axis, 99999), 3);
    EXPECT_EQ(nearestPoint(kThrottleRows, 3), 1);
    EXPECT_EQ(nearestPoint(kThrottleRows, 4), 2);
    EXPECT_EQ(nearestPoint(kThrottleRows, 100), 9);
}

TEST_F(OperatingPointTest, MapPageLightsTheNearestCellAndFixesTheCurrentCell) {
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

TEST_F(OperatingPointTest, EachMapPageUsesItsOwnSpeedAxis) {
    live.engineSpeed = 2000;
    EXPECT_EQ(on(page::kAdvanceMap).currentCell->column, 1);
    EXPECT_EQ(on(page::kInjectionMap1).currentCell->column, 3);
    EXPECT_EQ(on(page::kInjectionMap2).currentCell->column, 14)
        << "an axis of zeros: the last point";
}

TEST_F(OperatingPointTest, StoppedEngineLightsOnlyTheThrottleRowLabel) {
    live.engineSpeed = 0;
    live.throttlePercent = 20;
    const PageHighlight h = on(page::kInjectionMap1);
    EXPECT_EQ(h.lit(G::MapAxisEdits), kNotLit);
    EXPECT_EQ(h.lit(G::MapCells), kNotLit);
    EXPECT_EQ(h.lit(G::MapRowLabels), 4);
    EXPECT_EQ(h.currentCell, (CurrentCell{0, 4}));
}

TEST_F(OperatingPointTest, AdvanceWithoutThrottleUsesTheFullThrottleRow) {
    image.set(Field::ADVANCE_MISC_UseTps, 0);
    live.engineSpeed = 3000;
    live.throttlePercent = 0;
    const PageHighlight h = on(page::kAdvanceMap);
    EXPECT_EQ(h.lit(G::MapRowLabels), 0);
    EXPECT_EQ(h.lit(G::MapCells), 9 * 15 + 2);
    EXPECT_EQ(h.currentCell, (CurrentCell{2, 9}));
    EXPECT_EQ(on(page::kInjectionMap1).currentCell->row, 0) << "injection maps keep the throttle";
}

TEST_F(OperatingPointTest, PositionPageLightsBothRowsOfTheColumn) {
    live.engineSpeed = 4400;
    const PageHighlight h = on(page::kPosition);
    EXPECT_EQ(h.lit(G::PositionAxisEdits), 3);
    EXPECT_EQ(h.lit(G::PositionAngleEdits), 3);
    EXPECT_FALSE(h.currentCell);
}

TEST_F(OperatingPointTest, CoolantAndAirCorrectionPoints) {
    EXPECT_EQ(coolantCorrectionPoint(90), 0);  // -10 C
    EXPECT_EQ(coolantCorrectionPoint(104), 0);
    EXPECT_EQ(coolantCorrectionPoint(105), 1);
    EXPECT_EQ(coolantCorrectionPoint(180), 3);  // 80 C, also a sensor fault
    EXPECT_EQ(coolantCorrectionPoint(224), 4);
    EXPECT_EQ(coolantCorrectionPoint(225), 5);  // from 125 C nothing
    EXPECT_EQ(coolantCorrectionPoint(230), 5);  // 130 C
    EXPECT_EQ(coolantCorrectionPoint(0), 3);
    EXPECT_EQ(airCorrectionPoint(0), 2);
    EXPECT_EQ(airCorrectionPoint(120), 1);

    live.coolantRaw = 230;
    live.airRaw = 60;
    const PageHighlight h = on(page::kCorrections);
    EXPECT_EQ(h.lit(G::CoolantInjectionEdits), kNotLit);
    EXPECT_EQ(h.lit(G::CoolantAdvanceEdits), kNotLit);
    EXPECT_EQ(h.lit(G::AirInjectionEdits), 0);
    live.coolantRaw = 180;
    EXPECT_EQ(on(page::kCorrections).lit(G::CoolantAdvanceEdits), 3);
}

TEST_F(OperatingPointTest, StartCorrectionPointFollowsTheTimeSinceStart) {
    // Time points 2, 10, 30, 60 s; the time is in 0.1 s.
    EXPECT_EQ(startCorrectionPoint(0, image), 0);
    EXPECT_EQ(startCorrectionPoint(10, image), 0);
    EXPECT_EQ(startCorrectionPoint(11, image), 1);
    EXPECT_EQ(startCorrectionPoint(59, image), 1);
    EXPECT_EQ(startCorrectionPoint(60, image), 2);
    EXPECT_EQ(startCorrectionPoint(449, image), 3);
    EXPECT_EQ(startCorrectionPoint(450, image), 4);
    live.timeSinceStart = 300;
    const PageHighlight h = on(page::kCorrections);
    EXPECT_EQ(h.lit(G::StartTimePoints), 3);
    EXPECT_EQ(h.lit(G::StartCorrectionPoints), 3);
}

TEST_F(OperatingPointTest, RacePageLightsTheCurrentGear) {
    live.gear = 6;
    const PageHighlight h = on(page::kRace);
    EXPECT_EQ(h.groups.size(), 5u);
    for (const GroupHighlight& g : h.groups) EXPECT_EQ(g.lit, 5);
    live.gear = 0;
    for (const GroupHighlight& g : on(page::kRace).groups) EXPECT_EQ(g.lit, kNotLit);
}

TEST_F(OperatingPointTest, GearPageDependsOnTheGearSystem) {
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

TEST_F(OperatingPointTest, OtherPagesShowNothing) {
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

}  // namespace
}  // namespace zelvor::link
