#include "model/sanitizer.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "model/field_table.h"

namespace zelvor::model {
namespace {

constexpr Field kAxes[] = {Field::RPM_ADV_Rpm, Field::RPM_JET_1A_Rpm, Field::RPM_JET_2A_Rpm,
                           Field::POSITION_A_Rpm};

std::vector<unsigned> values(const ParameterImage& image, Field field) {
    std::vector<unsigned> out;
    for (std::size_t i = 0; i < descriptor(field).count; ++i) out.push_back(image.get(field, i));
    return out;
}

void setValues(ParameterImage& image, Field field, const std::vector<unsigned>& v) {
    for (std::size_t i = 0; i < v.size(); ++i) image.set(field, i, v[i]);
}

// A plausible image so that single rules can be tested without others firing.
ParameterImage validImage() {
    ParameterImage image;
    for (Field axis : kAxes) {
        for (unsigned j = 0; j < 15; ++j) image.set(axis, j, 10 + 10 * j);
    }
    setValues(image, Field::CHOKE_SyticCas, {5, 10, 15, 20});
    image.set(Field::N2O_GasT, 30);
    image.set(Field::N2O_RetardT, 30);
    image.set(Field::APS_ApsTlak1, 55);
    image.set(Field::APS_ApsTlak2, 105);
    return image;
}

ParameterImage sanitized(ParameterImage image) {
    sanitize(image);
    return image;
}

TEST(Sanitizer, AxesAreBoundedAndStrictlyIncreasing) {
    ParameterImage image = validImage();
    setValues(image, Field::RPM_ADV_Rpm, std::vector<unsigned>(15, 0));
    setValues(image, Field::RPM_JET_1A_Rpm, std::vector<unsigned>(15, 255));
    setValues(image, Field::RPM_JET_2A_Rpm,
              {10, 20, 20, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 251});
    setValues(image, Field::POSITION_A_Rpm,
              {240, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150});
    sanitize(image);

    std::vector<unsigned> zeros, full;
    for (unsigned j = 0; j < 15; ++j) {
        zeros.push_back(j + 3);
        full.push_back(j + 236);
    }
    EXPECT_EQ(values(image, Field::RPM_ADV_Rpm), zeros);
    EXPECT_EQ(values(image, Field::RPM_JET_1A_Rpm), full);
    // Repairs raise later entries and never lower earlier ones.
    EXPECT_EQ(
        values(image, Field::RPM_JET_2A_Rpm),
        (std::vector<unsigned>{10, 20, 21, 22, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 250}));
    const std::vector<unsigned> position = values(image, Field::POSITION_A_Rpm);
    EXPECT_EQ(position[0], 236u);
    for (unsigned j = 1; j < 15; ++j) EXPECT_EQ(position[j], 236 + j);
}

TEST(Sanitizer, CapsCellsAnglesAndSingleValues) {
    ParameterImage image = validImage();
    image.set(Field::POSITION_A_Angle, 0, 145);
    image.set(Field::POSITION_A_Angle, 1, 144);
    image.set(Field::ADVANCE_Cell, 7, 61);
    image.set(Field::JET_1A_Cell, 3, 65535);
    image.set(Field::JET_2A_Cell, 4, 60000);
    image.set(Field::TPS_Tps0, 251);
    image.set(Field::START_INJ_StartJet, 51);
    image.set(Field::ADVANCE_MISC_BaseAdv, 41);
    image.set(Field::LIMITER_IgnLimiter, 255);  // no rule: any value stays
    image.set(Field::FAN_Fan1, 200);
    sanitize(image);
    EXPECT_EQ(image.get(Field::POSITION_A_Angle, 0), 144);
    EXPECT_EQ(image.get(Field::POSITION_A_Angle, 1), 144);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 7), 60);
    EXPECT_EQ(image.get(Field::JET_1A_Cell, 3), 60000);
    EXPECT_EQ(image.get(Field::JET_2A_Cell, 4), 60000);
    EXPECT_EQ(image.get(Field::TPS_Tps0), 250);
    EXPECT_EQ(image.get(Field::START_INJ_StartJet), 50);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_BaseAdv), 40);
    EXPECT_EQ(image.get(Field::LIMITER_IgnLimiter), 255);
    EXPECT_EQ(image.get(Field::FAN_Fan1), 200);
}

TEST(Sanitizer, AfterStartTimesAreOrderedWithinBounds) {
    ParameterImage image = validImage();
    setValues(image, Field::CHOKE_SyticCas, {0, 0, 0, 0});
    EXPECT_EQ(values(sanitized(image), Field::CHOKE_SyticCas), (std::vector<unsigned>{0, 1, 2, 3}));
    setValues(image, Field::CHOKE_SyticCas, {250, 250, 250, 250});
    setValues(image, Field::CHOKE_SyticKorekce, {251, 250, 0, 255});
    const ParameterImage result = sanitized(image);
    EXPECT_EQ(values(result, Field::CHOKE_SyticCas), (std::vector<unsigned>{247, 248, 249, 250}));
    EXPECT_EQ(values(result, Field::CHOKE_SyticKorekce), (std::vector<unsigned>{250, 250, 0, 250}));
}

TEST(Sanitizer, NitrousStagesLowerTheFirstStage) {
    ParameterImage image = validImage();
    image.set(Field::N2O_Gas1, 80);
    image.set(Field::N2O_Gas2, 60);
    image.set(Field::N2O_GasT, 0);
    image.set(Field::N2O_GasD, 0);
    image.set(Field::N2O_Retard1, 30);
    image.set(Field::N2O_Retard2, 20);
    image.set(Field::N2O_RetardT, 255);
    image.set(Field::N2O_RetardD, 201);
    sanitize(image);
    EXPECT_EQ(image.get(Field::N2O_Gas1), 60);
    EXPECT_EQ(image.get(Field::N2O_Gas2), 60);
    EXPECT_EQ(image.get(Field::N2O_GasT), 1);
    EXPECT_EQ(image.get(Field::N2O_GasD), 0);
    EXPECT_EQ(image.get(Field::N2O_Retard1), 20);
    EXPECT_EQ(image.get(Field::N2O_Retard2), 20);
    EXPECT_EQ(image.get(Field::N2O_RetardT), 200);
    EXPECT_EQ(image.get(Field::N2O_RetardD), 200);
}

TEST(Sanitizer, ShiftLightsPressureAndTemperatureCurves) {
    ParameterImage image = validImage();
    image.set(Field::PILOT_LIGHT_PilotLight1, 2, 90);
    image.set(Field::PILOT_LIGHT_PilotLight2, 2, 80);
    image.set(Field::APS_ApsTlak1, 100);
    image.set(Field::APS_ApsTlak2, 100);
    setValues(image, Field::WATER_TEMP_SENSOR_CidloTVoda, {4505, 3159, 3500, 741, 800});
    setValues(image, Field::AIR_TEMP_SENSOR_CidloTVzduch, {100, 200, 300, 400, 500});
    sanitize(image);
    EXPECT_EQ(image.get(Field::PILOT_LIGHT_PilotLight2, 2), 90);
    EXPECT_EQ(image.get(Field::APS_ApsTlak2), 101);
    EXPECT_EQ(values(image, Field::WATER_TEMP_SENSOR_CidloTVoda),
              (std::vector<unsigned>{4505, 3159, 3159, 741, 741}));
    EXPECT_EQ(values(image, Field::AIR_TEMP_SENSOR_CidloTVzduch),
              (std::vector<unsigned>{100, 100, 100, 100, 100}));

    // Point 1 at the top of the word leaves no room above it: it comes down
    // one so point 2 can stay above it instead of wrapping to 0.
    image.set(Field::APS_ApsTlak1, 65535);
    image.set(Field::APS_ApsTlak2, 65535);
    sanitize(image);
    EXPECT_EQ(image.get(Field::APS_ApsTlak1), 65534);
    EXPECT_EQ(image.get(Field::APS_ApsTlak2), 65535);
    image.set(Field::APS_ApsTlak1, 65535);
    image.set(Field::APS_ApsTlak2, 7);
    sanitize(image);
    EXPECT_EQ(image.get(Field::APS_ApsTlak1), 65534);
    EXPECT_EQ(image.get(Field::APS_ApsTlak2), 65535);
    // Below the top nothing changes but point 2.
    image.set(Field::APS_ApsTlak1, 65534);
    image.set(Field::APS_ApsTlak2, 65535);
    sanitize(image);
    EXPECT_EQ(image.get(Field::APS_ApsTlak1), 65534);
    EXPECT_EQ(image.get(Field::APS_ApsTlak2), 65535);
}

TEST(Sanitizer, BringsLanguageAndPortIntoRange) {
    ParameterImage image = validImage();
    OutsideSettings settings{4, 20};
    sanitize(image, settings);
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(settings.portIndex, 0);
    settings = {3, 19};
    sanitize(image, settings);
    EXPECT_EQ(settings.language, 3);
    EXPECT_EQ(settings.portIndex, 19);
}

// Any image at all: afterwards every postcondition holds, reserved bytes are
// untouched, and a second pass changes nothing.
TEST(Sanitizer, PostconditionsHoldForRandomImagesAndSecondPassIsIdentity) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> byteValue(0, 255);
    for (int round = 0; round < 2000; ++round) {
        ParameterImage image;
        for (auto& b : image.bytes()) b = static_cast<std::uint8_t>(byteValue(random));
        const ParameterImage before = image;
        OutsideSettings settings{static_cast<std::uint8_t>(byteValue(random)),
                                 static_cast<std::uint8_t>(byteValue(random))};
        sanitize(image, settings);

        for (std::size_t o = 0; o < ParameterImage::kSize; ++o) {
            if (isReservedOffset(o)) {
                ASSERT_EQ(image.byte(o), before.byte(o)) << o;
            }
        }
        for (Field axis : kAxes) {
            for (unsigned j = 0; j < 15; ++j) {
                ASSERT_GE(image.get(axis, j), j + 3);
                ASSERT_LE(image.get(axis, j), j + 236);
                if (j > 0) {
                    ASSERT_GT(image.get(axis, j), image.get(axis, j - 1));
                }
            }
        }
        for (unsigned k = 0; k < 150; ++k) {
            ASSERT_LE(image.get(Field::ADVANCE_Cell, k), 60);
            ASSERT_LE(image.get(Field::JET_1A_Cell, k), 60000);
            ASSERT_LE(image.get(Field::JET_2A_Cell, k), 60000);
        }
        for (unsigned j = 0; j < 15; ++j) ASSERT_LE(image.get(Field::POSITION_A_Angle, j), 144);
        for (unsigned k = 1; k < 4; ++k) {
            ASSERT_GT(image.get(Field::CHOKE_SyticCas, k), image.get(Field::CHOKE_SyticCas, k - 1));
        }
        for (unsigned g = 0; g < 6; ++g) {
            ASSERT_GE(image.get(Field::PILOT_LIGHT_PilotLight2, g),
                      image.get(Field::PILOT_LIGHT_PilotLight1, g));
        }
        ASSERT_LE(image.get(Field::N2O_Gas1), image.get(Field::N2O_Gas2));
        ASSERT_LE(image.get(Field::N2O_Gas2), 100);
        ASSERT_LE(image.get(Field::N2O_Retard1), image.get(Field::N2O_Retard2));
        ASSERT_LE(image.get(Field::N2O_Retard2), 25);
        ASSERT_GE(image.get(Field::N2O_GasT), 1);
        ASSERT_LE(image.get(Field::N2O_GasT), 200);
        ASSERT_LE(image.get(Field::ADVANCE_MISC_BaseAdv), 40);
        ASSERT_LE(settings.language, 3);
        ASSERT_LT(settings.portIndex, 20);
        ASSERT_GT(image.get(Field::APS_ApsTlak2), image.get(Field::APS_ApsTlak1));
        for (unsigned l = 1; l < 5; ++l) {
            ASSERT_LE(image.get(Field::WATER_TEMP_SENSOR_CidloTVoda, l),
                      image.get(Field::WATER_TEMP_SENSOR_CidloTVoda, l - 1));
            ASSERT_LE(image.get(Field::AIR_TEMP_SENSOR_CidloTVzduch, l),
                      image.get(Field::AIR_TEMP_SENSOR_CidloTVzduch, l - 1));
        }

        ParameterImage again = image;
        OutsideSettings settingsAgain = settings;
        sanitize(again, settingsAgain);
        ASSERT_EQ(again, image) << "second pass changed round " << round;
    }
}

}  // namespace
}  // namespace zelvor::model
