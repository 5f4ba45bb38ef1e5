#include "model/sanitizer.h"

#include <array>

namespace zelvor::model {

namespace {

// The four speed axes, always handled in this order.
constexpr std::array<Field, 4> kSpeedAxes = {Field::RPM_ADV_Rpm, Field::RPM_JET_1A_Rpm,
                                             Field::RPM_JET_2A_Rpm, Field::POSITION_A_Rpm};
constexpr unsigned kAxisLength = 15;
constexpr unsigned kCellCount = 150;

void clampAbove(ParameterImage& image, Field field, std::size_t index, unsigned limit) {
    if (image.get(field, index) > limit) image.set(field, index, limit);
}

void clampBelow(ParameterImage& image, Field field, std::size_t index, unsigned limit) {
    if (image.get(field, index) < limit) image.set(field, index, limit);
}

// Each axis entry j lies in j + 3 .. j + 236 (300 .. 23600 rpm for entry 0,
// 1700 .. 25000 rpm for entry 14), and no position angle exceeds 720 degrees.
void boundAxesAndAngles(ParameterImage& image) {
    for (unsigned j = 0; j < kAxisLength; ++j) {
        for (Field axis : kSpeedAxes) clampBelow(image, axis, j, j + 3);
        for (Field axis : kSpeedAxes) clampAbove(image, axis, j, j + 236);
        clampAbove(image, Field::POSITION_A_Angle, j, 144);
    }
}

// Repairs raise later entries, never lower earlier ones; after the bounds
// above no entry can exceed i + 236, so nothing wraps.
void makeAxesIncreasing(ParameterImage& image) {
    for (unsigned i = 1; i < kAxisLength; ++i) {
        for (Field axis : kSpeedAxes) {
            const unsigned previous = image.get(axis, i - 1);
            if (image.get(axis, i) <= previous) image.set(axis, i, previous + 1);
        }
    }
}

void capMapCells(ParameterImage& image) {
    for (unsigned k = 0; k < kCellCount; ++k) {
        clampAbove(image, Field::ADVANCE_Cell, k, 60);
        clampAbove(image, Field::JET_1A_Cell, k, 60000);
        clampAbove(image, Field::JET_2A_Cell, k, 60000);
    }
}

void capThrottleAndStartInjection(ParameterImage& image) {
    clampAbove(image, Field::TPS_Tps0, 0, 250);
    clampAbove(image, Field::TPS_Tps100, 0, 250);
    clampAbove(image, Field::START_INJ_StartJet, 0, 50);
}

void orderAfterStartCorrection(ParameterImage& image) {
    for (unsigned l = 0; l < 4; ++l) {
        clampBelow(image, Field::CHOKE_SyticCas, l, l);
        clampAbove(image, Field::CHOKE_SyticCas, l, l + 247);
        clampAbove(image, Field::CHOKE_SyticKorekce, l, 250);
    }
    for (unsigned k = 1; k < 4; ++k) {
        const unsigned previous = image.get(Field::CHOKE_SyticCas, k - 1);
        if (image.get(Field::CHOKE_SyticCas, k) <= previous) {
            image.set(Field::CHOKE_SyticCas, k, previous + 1);
        }
    }
}

void orderShiftLights(ParameterImage& image) {
    for (unsigned g = 0; g < 6; ++g) {
        const unsigned first = image.get(Field::PILOT_LIGHT_PilotLight1, g);
        clampBelow(image, Field::PILOT_LIGHT_PilotLight2, g, first);
    }
}

// A second stage below the first lowers the first stage; the second is
// never raised.
void lowerFirstStageToSecond(ParameterImage& image, Field first, Field second) {
    const unsigned secondValue = image.get(second);
    if (secondValue < image.get(first)) image.set(first, secondValue);
}

void boundNitrous(ParameterImage& image) {
    clampAbove(image, Field::N2O_Gas1, 0, 100);
    clampAbove(image, Field::N2O_Gas2, 0, 100);
    lowerFirstStageToSecond(image, Field::N2O_Gas1, Field::N2O_Gas2);
    clampBelow(image, Field::N2O_GasT, 0, 1);
    clampAbove(image, Field::N2O_GasD, 0, 200);
    clampAbove(image, Field::N2O_GasT, 0, 200);
    clampAbove(image, Field::N2O_Retard1, 0, 25);
    clampAbove(image, Field::N2O_Retard2, 0, 25);
    lowerFirstStageToSecond(image, Field::N2O_Retard1, Field::N2O_Retard2);
    clampAbove(image, Field::N2O_RetardD, 0, 200);
    clampBelow(image, Field::N2O_RetardT, 0, 1);
    clampAbove(image, Field::N2O_RetardT, 0, 200);
}

void boundOutsideSettings(OutsideSettings& settings) {
    if (settings.language > 3) settings.language = 0;
    if (settings.portIndex >= 20) settings.portIndex = 0;
}

// Point 2 lies above point 1; at the top of the word point 1 comes down one
// to leave it room, instead of point 2 wrapping round to 0.
void orderPressurePoints(ParameterImage& image) {
    constexpr unsigned kHighestFirstPoint = 0xFFFE;
    if (image.get(Field::APS_ApsTlak1) > kHighestFirstPoint) {
        image.set(Field::APS_ApsTlak1, kHighestFirstPoint);
    }
    const unsigned first = image.get(Field::APS_ApsTlak1);
    if (image.get(Field::APS_ApsTlak2) <= first) image.set(Field::APS_ApsTlak2, first + 1);
}

// Sensor voltages fall as the temperature rises.
void makeTemperatureCurvesNonIncreasing(ParameterImage& image) {
    for (unsigned l = 1; l < 5; ++l) {
        for (Field curve :
             {Field::WATER_TEMP_SENSOR_CidloTVoda, Field::AIR_TEMP_SENSOR_CidloTVzduch}) {
            const unsigned previous = image.get(curve, l - 1);
            clampAbove(image, curve, l, previous);
        }
    }
}

}  // namespace

void sanitize(ParameterImage& image, OutsideSettings& settings) {
    // Later steps rely on the bounds set by earlier ones: keep this order.
    boundAxesAndAngles(image);
    makeAxesIncreasing(image);
    capMapCells(image);
    capThrottleAndStartInjection(image);
    orderAfterStartCorrection(image);
    orderShiftLights(image);
    boundNitrous(image);
    boundOutsideSettings(settings);
    clampAbove(image, Field::ADVANCE_MISC_BaseAdv, 0, 40);
    orderPressurePoints(image);
    makeTemperatureCurvesNonIncreasing(image);
}

void sanitize(ParameterImage& image) {
    OutsideSettings unused;
    sanitize(image, unused);
}

}  // namespace zelvor::model
