#include "model/injection.h"

#include <gtest/gtest.h>

#include "model/default_set.h"

namespace zelvor::model {
namespace {

std::array<std::uint8_t, 15> uniformAxis(std::uint8_t first, std::uint8_t step) {
    std::array<std::uint8_t, 15> axis{};
    for (std::size_t c = 0; c < axis.size(); ++c)
        axis[c] = static_cast<std::uint8_t>(first + c * step);
    return axis;
}

TEST(Injection, BaseTableScalesReferenceByDisplacement) {
    for (int bike = 0; bike < 8; ++bike) {
        EXPECT_GE(displacementOf(bike), 600);
        EXPECT_LE(displacementOf(bike), 1100);
    }
    EXPECT_EQ(displacementOf(2), displacementOf(3));
    EXPECT_EQ(displacementOf(5), displacementOf(6));
    EXPECT_EQ(displacementOf(200), displacementOf(2));
    const BaseTable base = computeBaseTable(InjectionMap::Jet1A, 2);
    EXPECT_EQ(base[0], 110 * displacementOf(2) / 600);
    // The two reference tables differ, e.g. 5 % throttle at 10000 rpm.
    EXPECT_NE(computeBaseTable(InjectionMap::Jet1A, 0)[26],
              computeBaseTable(InjectionMap::Jet2A, 0)[26]);
}

TEST(Injection, InterpolationRules) {
    EXPECT_EQ(interpolate(1000, 1100, 2000, 800, 900), 1100);  // below the interval
    EXPECT_EQ(interpolate(1000, 1100, 2000, 800, 2500), 800);  // above
    EXPECT_EQ(interpolate(1000, 500, 2000, 500, 1500), 500);   // flat
    EXPECT_EQ(interpolate(1000, 800, 2000, 1100, 1500), 950);  // rising
    EXPECT_EQ(interpolate(1000, 1100, 2000, 800, 1500), 950);  // falling
    EXPECT_EQ(interpolate(0, 0, 65535, 65535, 65534), 65534);  // 32-bit products
}

TEST(Injection, BaseTimesFollowAxisAndRows) {
    // A 600 cm3 table is the reference itself: row 0 at 1000 rpm is 110.
    BaseTable base{};
    for (int t = 0; t < 10; ++t) {
        for (int k = 0; k < 10; ++k) base[t * 10 + k] = static_cast<std::int16_t>(100 + t * 20 + k);
    }
    base[0] = 110;
    base[1] = 80;
    const auto axis = uniformAxis(10, 10);  // 1000, 2000, ... rpm
    const CellWords times = computeBaseTimes(base, axis);
    EXPECT_EQ(times[0], 1100);                       // 110 x 10 us
    EXPECT_EQ(times[1], 800);                        // column 1 at 2000 rpm
    EXPECT_EQ(times[9 * 15 + 0], (100 + 180) * 10);  // row 9 takes reference row 9 exactly

    // Axis bytes below 1000 rpm take the first column, above 16000 the last.
    std::array<std::uint8_t, 15> extremes = uniformAxis(3, 1);
    extremes[14] = 250;
    const CellWords edge = computeBaseTimes(base, extremes);
    EXPECT_EQ(edge[0], 1100);
    EXPECT_EQ(edge[14], 109 * 10);  // row 0, 16000 rpm column

    // Between two speed points only the speed direction is blended.
    std::array<std::uint8_t, 15> half = uniformAxis(10, 10);
    half[0] = 15;  // 1500 rpm between 1000 (1100) and 2000 (800)
    EXPECT_EQ(computeBaseTimes(base, half)[0], 950);

    // Base times never fall below 100 us.
    const CellWords tiny = computeBaseTimes(BaseTable{}, axis);
    for (std::uint16_t t : tiny) EXPECT_EQ(t, 100);
}

TEST(Injection, PercentWordConversions) {
    EXPECT_EQ(wordFromPercent(150, 1100), 1650);
    EXPECT_EQ(wordFromPercent(0, 1100), 0);
    EXPECT_EQ(wordFromPercent(100, 1234), 1234);
    EXPECT_EQ(wordFromPercent(65535, 65535), 65535);  // capped, no overflow
    EXPECT_EQ(percentFromWord(1100, 1100), 100);
    EXPECT_EQ(percentFromWord(0, 1100), 0);
    EXPECT_EQ(percentFromWord(1655, 1100), 150);  // 150.45 rounds down
    EXPECT_EQ(percentFromWord(65535, 100), 65535);
    // Every whole percent survives a round trip for typical base times.
    for (std::uint16_t base : {100, 777, 1100, 4321}) {
        for (std::uint16_t p = 0; p <= 1000; ++p) {
            ASSERT_EQ(percentFromWord(wordFromPercent(p, base), base), p) << base;
        }
    }
}

class InjectionCollect : public ::testing::Test {
  protected:
    void SetUp() override {
        loadDefaultSet(image, scaling);
        positions = scaling.percents(InjectionMap::Jet1A);
    }
    ParameterImage image;
    InjectionScaling scaling;
    CellPercents positions{};
};

TEST_F(InjectionCollect, CoupledModeCarriesChangesIntoMapTwoWithinLimits) {
    image.set(Field::JET1_MISC_Jet123Mode, 1);
    scaling.percents(InjectionMap::Jet2A)[8] = 3;
    positions[7] = 95;  // lowered by 5 points
    positions[8] = 90;  // lowered by 10: map 2 would go below 0
    scaling.collectMap1(positions, image);
    EXPECT_EQ(scaling.percents(InjectionMap::Jet2A)[7], 95);
    EXPECT_EQ(scaling.percents(InjectionMap::Jet2A)[8], 0);
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 8), 0);
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 7),
              wordFromPercent(95, scaling.baseTimes(InjectionMap::Jet1A)[7]));
}

TEST_F(InjectionCollect, SeparateModeLeavesMapTwoAndSameModeCopiesTimes) {
    image.set(Field::JET1_MISC_Jet123Mode, 0);
    const std::uint16_t before = image.get(Field::JET_2A_Cell, 20);
    positions[20] = 140;
    scaling.collectMap1(positions, image);
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 20), before);

    image.set(Field::JET1_MISC_Jet123Mode, 2);
    scaling.collectMap1(positions, image);
    for (std::size_t k = 0; k < 150; ++k) {
        ASSERT_EQ(image.get(Field::JET_2A_Cell, k), image.get(Field::JET_1A_Cell, k));
    }
    // Equal times, but the percentages follow map 2's own base times.
    EXPECT_EQ(scaling.percents(InjectionMap::Jet2A)[20],
              percentFromWord(image.get(Field::JET_2A_Cell, 20),
                              scaling.baseTimes(InjectionMap::Jet2A)[20]));
}

TEST_F(InjectionCollect, OnlyChangedCellsGetNewTimes) {
    image.set(Field::JET1_MISC_Jet123Mode, 1);
    // Times a unit may hold: no whole percent of their base times.
    for (std::size_t k = 0; k < 150; ++k) {
        image.set(Field::JET_1A_Cell, k, image.get(Field::JET_1A_Cell, k) + 3);
        image.set(Field::JET_2A_Cell, k, image.get(Field::JET_2A_Cell, k) + 4);
    }
    scaling.readPercents(InjectionMap::Jet1A, image);
    scaling.readPercents(InjectionMap::Jet2A, image);
    const ParameterImage read = image;
    CellPercents shown = scaling.percents(InjectionMap::Jet1A);
    scaling.collectMap1(shown, image);
    scaling.collectMap2(scaling.percents(InjectionMap::Jet2A), image);
    EXPECT_EQ(image, read);

    shown[42] += 5;  // coupled: map 2's cell 42 moves as well
    scaling.collectMap1(shown, image);
    for (std::size_t k = 0; k < 150; ++k) {
        if (k == 42) continue;
        ASSERT_EQ(image.get(Field::JET_1A_Cell, k), read.get(Field::JET_1A_Cell, k)) << k;
        ASSERT_EQ(image.get(Field::JET_2A_Cell, k), read.get(Field::JET_2A_Cell, k)) << k;
    }
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 42),
              wordFromPercent(shown[42], scaling.baseTimes(InjectionMap::Jet1A)[42]));
    EXPECT_NE(image.get(Field::JET_2A_Cell, 42), read.get(Field::JET_2A_Cell, 42));
}

TEST_F(InjectionCollect, MovingTheAxisKeepsPercentagesAndMovesTimes) {
    image.set(Field::RPM_JET_2A_Rpm, 3, 45);
    scaling.computeBaseTimes(image);
    CellPercents map2 = scaling.percents(InjectionMap::Jet2A);
    scaling.collectMap2(map2, image);
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 3), scaling.baseTimes(InjectionMap::Jet2A)[3]);
    EXPECT_EQ(scaling.percents(InjectionMap::Jet2A)[3], 100);
}

}  // namespace
}  // namespace zelvor::model
