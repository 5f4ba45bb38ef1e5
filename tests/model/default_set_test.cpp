#include "model/default_set.h"

#include <gtest/gtest.h>

#include "model/field_table.h"
#include "model/sanitizer.h"

namespace zelvor::model {
namespace {

ParameterImage defaultsFor(unsigned bike) {
    ParameterImage image;
    image.set(Field::BIKE_BikeType, bike);
    loadDefaultSet(image);
    return image;
}

TEST(DefaultSet, DerivedValuesAndSpotChecks) {
    const ParameterImage image = defaultsFor(0);
    EXPECT_EQ(image.get(Field::LIMITER_RetardLimiterRpm), 106);
    EXPECT_EQ(image.get(Field::IDLE_IdleStepPerioda), 6);
    EXPECT_EQ(image.get(Field::IDLE_IdleTpsMez), 50);
    EXPECT_EQ(image.get(Field::PILOT_LIGHT_PilotLight2, 5), 91);
    EXPECT_EQ(image.get(Field::GEAR_PomerRpmSpeed, 5), 333);
    EXPECT_EQ(image.get(Field::FIXED_Table214, 8), 91);
    for (int row = 1; row < 10; ++row) {
        for (int c = 0; c < 15; ++c) {
            ASSERT_EQ(image.get(Field::ADVANCE_Cell, row * 15 + c),
                      image.get(Field::ADVANCE_Cell, c));
        }
    }
    // The default set needs no correction.
    ParameterImage copy = image;
    sanitize(copy);
    EXPECT_EQ(copy, image);
}

TEST(DefaultSet, InjectionMapsEqualTheirBaseTimes) {
    ParameterImage image;
    InjectionScaling scaling;
    loadDefaultSet(image, scaling);
    for (std::size_t k = 0; k < 150; ++k) {
        ASSERT_EQ(image.get(Field::JET_1A_Cell, k), scaling.baseTimes(InjectionMap::Jet1A)[k]);
        ASSERT_EQ(image.get(Field::JET_2A_Cell, k), scaling.baseTimes(InjectionMap::Jet2A)[k]);
        ASSERT_EQ(scaling.percents(InjectionMap::Jet1A)[k], 100);
    }
}

TEST(DefaultSet, LoadingTwiceGivesTheSameImageAndKeepsUserFields) {
    ParameterImage image = defaultsFor(0);
    image.set(Field::LIMITER_IgnLimiter, 150);
    image.set(Field::LIMITER_RetardLimiterRpm, 7);
    image.set(Field::GEAR_PocetGear, 4);
    image.set(Field::GEAR_GearSystem, 2);
    image.set(Field::MEMO_Text, 0, 'X');
    image.setByte(1, 0xAA);  // reserved
    loadDefaultSet(image);
    EXPECT_EQ(image.get(Field::LIMITER_RetardLimiterRpm), 106);
    EXPECT_EQ(image.get(Field::GEAR_PocetGear), 4);
    EXPECT_EQ(image.get(Field::GEAR_GearSystem), 2);
    EXPECT_EQ(image.get(Field::MEMO_Text, 0), 'X');
    EXPECT_EQ(image.byte(1), 0xAA);
    ParameterImage again = image;
    loadDefaultSet(again);
    EXPECT_EQ(again, image);
}

TEST(DefaultSet, BikesDifferOnlyInInjectionMapsAndBikeBytes) {
    const ParameterImage r1 = defaultsFor(0);
    const ParameterImage r2 = defaultsFor(1);
    EXPECT_NE(r1.get(Field::JET_1A_Cell, 0), r2.get(Field::JET_1A_Cell, 0));
    const auto& jet1 = descriptor(Field::JET_1A_Cell);
    for (std::size_t o = 0; o < ParameterImage::kSize; ++o) {
        const bool inMaps = o >= jet1.offset && o < jet1.offset + 2 * jet1.byteLength();
        if (!inMaps && o != 0) {
            ASSERT_EQ(r1.byte(o), r2.byte(o)) << o;
        }
    }
}

TEST(DefaultSet, BikeUpdateSetsFixedBytesAndPins) {
    struct Case {
        unsigned bike, byte4, pin23, pin14, body11;
    };
    const Case cases[] = {{0, 19, 1, 1, 0}, {1, 19, 1, 1, 0}, {2, 30, 0, 0, 0}, {3, 19, 0, 0, 1},
                          {4, 19, 1, 1, 1}, {5, 19, 0, 0, 0}, {6, 19, 0, 0, 1}, {7, 19, 1, 1, 1}};
    for (const Case& c : cases) {
        ParameterImage image;
        image.set(Field::BIKE_BikeType, c.bike);
        applyBikeUpdate(image);
        EXPECT_EQ(image.get(Field::FIXED_Byte3), 65) << c.bike;
        EXPECT_EQ(image.get(Field::FIXED_Byte4), c.byte4) << c.bike;
        EXPECT_EQ(image.get(Field::INPUTS_PinEngine23), c.pin23) << c.bike;
        EXPECT_EQ(image.get(Field::INPUTS_PinEngine14), c.pin14) << c.bike;
        EXPECT_EQ(image.get(Field::INPUTS_PinBody11), c.body11) << c.bike;
    }
    // An unknown bike gets the fixed bytes but keeps its pin functions.
    ParameterImage unknown;
    unknown.set(Field::BIKE_BikeType, 9);
    unknown.set(Field::FIXED_Byte2, 5);
    unknown.set(Field::INPUTS_PinBody11, 1);
    applyBikeUpdate(unknown);
    EXPECT_EQ(unknown.get(Field::FIXED_Byte2), 0);
    EXPECT_EQ(unknown.get(Field::FIXED_Byte4), 19);
    EXPECT_EQ(unknown.get(Field::INPUTS_PinBody11), 1);
}

}  // namespace
}  // namespace zelvor::model
