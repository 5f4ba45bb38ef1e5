#include "model/default_set.h"

#include <algorithm>

#include "model/field_table.h"

namespace zelvor::model {

namespace {

// One default: stored values for the field's elements. A single value for an
// array field fills every element.
struct DefaultValue {
    Field field;
    std::uint8_t count;
    std::array<std::uint16_t, 15> values;
};

constexpr DefaultValue one(Field field, std::uint16_t value) {
    return {field, 1, {value}};
}

template <typename... V>
constexpr DefaultValue list(Field field, V... values) {
    return {
        field, static_cast<std::uint8_t>(sizeof...(V)), {static_cast<std::uint16_t>(values)...}};
}

using F = Field;

// Stored values of the starting tune (engineering value in the comment where
// they differ). The retard limiter, the injection maps and the bike-dependent
// bytes are derived afterwards.
constexpr DefaultValue kDefaults[] = {
    one(F::APS_ApsTlak1, 55),
    one(F::APS_ApsNapeti1, 2247),
    one(F::APS_ApsTlak2, 105),
    one(F::APS_ApsNapeti2, 4744),
    one(F::NO_FUEL_IND_NoFuelInd, 0),
    one(F::INPUTS_AktClutchMaster, 1),
    one(F::INPUTS_AktStartLimiter, 1),
    one(F::INPUTS_AktRpm, 1),
    one(F::LIMITER_StartLimiter, 70),  // 7000 rpm
    one(F::LIMITER_IgnLimiter, 108),   // 10800 rpm
    one(F::LIMITER_JetLimiter, 111),   // 11100 rpm
    one(F::LIMITER_RetardLimiterAdv, 20),
    one(F::TPS_Tps0, 34),     // 340 mV
    one(F::TPS_Tps100, 223),  // 4730 mV
    one(F::FAN_Fan1, 102),
    one(F::FAN_Fan2, 104),
    one(F::RPM_RpmPulsu, 2),
    one(F::RPM_RpmKorekce, 100),  // 0
    one(F::ADVANCE_MISC_UseTps, 1),
    one(F::ADVANCE_MISC_CylKor1, 100),  // 0 degrees
    one(F::ADVANCE_MISC_CylKor2, 100),  // 0 degrees
    one(F::ADVANCE_MISC_BaseAdv, 0),
    one(F::JET1_MISC_Jet123Mode, 1),  // coupled
    one(F::POSITION_A_PolohaA, 0),    // start of injection
    list(F::CHOKE_SyticCas, 5, 10, 15, 20),
    list(F::CHOKE_SyticKorekce, 150, 50, 30, 10),  // 250, 150, 130, 110 %
    list(F::INJ_CORR_KorVoda, 113, 109, 105, 100, 97),
    list(F::INJ_CORR_KorVzduch, 109, 105, 100, 100, 100),
    one(F::ACCEL_AkcelPrah, 30),  // 300 %/s
    one(F::ACCEL_AkcelJet, 84),   // 4200 us
    one(F::START_INJ_StartJet, 10),
    list(F::ADVANCE_CORR_IgnVoda, 110, 110, 100, 100, 95),  // +10, +10, 0, 0, -5 degrees
    one(F::N2O_Gas, 0),
    one(F::N2O_Gas1, 20),
    one(F::N2O_Gas2, 60),
    one(F::N2O_GasT, 30),  // 3000 ms
    one(F::N2O_GasD, 20),  // 2000 ms
    one(F::N2O_Retard1, 0),
    one(F::N2O_Retard2, 0),
    one(F::N2O_RetardT, 30),
    one(F::N2O_RetardD, 20),
    one(F::DISPLAY_TempDisplay, 0),
    one(F::PILOT_LIGHT_PilotLight1, 88),  // 8800 rpm, every gear
    one(F::PILOT_LIGHT_PilotLight2, 91),  // first speed + 300 rpm
    one(F::CLUTCH_ClutchMode, 0),
    one(F::CLUTCH_ClutchTime, 10),   // 100 ms
    one(F::CLUTCH_ClutchPause, 50),  // 500 ms
    one(F::CLUTCH_ClutchMinRpm, 20),
    one(F::CLUTCH_ClutchJet, 50),
    one(F::CLUTCH_ClutchAdv, 0),
    one(F::SPEED_PULSES_SpeedMode, 1),
    one(F::SPEED_PULSES_PulsuProSpeed, 364),
    list(F::GEAR_PomerRpmSpeed, 2000, 1000, 666, 500, 400, 333),
    one(F::GEAR_AUTO_GearAutoTime, 3),
    one(F::GEAR_AUTO_GearAutoRpm, 15),
    one(F::GEAR_AUTO_GearAutoTps, 20),
    one(F::GEAR_AUTO_GearAutoBand, 40),
    one(F::GEAR_CORR_GearKorAdv, 100),
    one(F::GEAR_CORR_GearKorJet, 100),
    list(F::WATER_TEMP_SENSOR_CidloTVoda, 4505, 3159, 1665, 741, 331),
    list(F::AIR_TEMP_SENSOR_CidloTVzduch, 4505, 3159, 1665, 741, 331),
    one(F::IDLE_IdleMode, 0),
    one(F::IDLE_IdleRpmMez, 50),  // 1000 rpm
    one(F::IDLE_IdleTpsMez, 50),  // 5.0 %
    one(F::IDLE_IdleSmerReg, 0),
    one(F::IDLE_IdleStepPerioda, 6),  // 1500 ms
    one(F::IDLE_IdleHyster, 40),      // 400 rpm
    one(F::IDLE_IdleAdvNaRpm, 10),
    one(F::IDLE_IdleAdvNaCas, 10),
    one(F::IDLE_IdleMaxAdv, 25),
    one(F::IDLE_IdleRpmPoz, 50),  // 1000 rpm at every temperature
    list(F::RPM_ADV_Rpm, 10, 20, 30, 40, 50, 55, 60, 65, 70, 75, 80, 90, 100, 110, 120),
    list(F::RPM_JET_1A_Rpm, 10, 20, 30, 40, 50, 55, 60, 65, 70, 75, 80, 90, 100, 110, 120),
    list(F::RPM_JET_2A_Rpm, 10, 20, 30, 40, 50, 55, 60, 65, 70, 75, 80, 90, 100, 110, 120),
    list(F::POSITION_A_Rpm, 10, 20, 30, 40, 50, 55, 60, 65, 70, 75, 80, 90, 100, 110, 120),
    list(F::POSITION_A_Angle, 54, 55, 58, 56, 58, 53, 47, 47, 46, 45, 44, 44, 44, 44, 44),
    one(F::FIXED_Byte191, 0),
    one(F::FIXED_Byte192, 55),
    one(F::FIXED_Byte193, 103),
    list(F::FIXED_Table214, 194, 166, 149, 136, 126, 114, 100, 95, 91),
    one(F::FIXED_Byte252, 108),
    one(F::FIXED_Byte253, 5),
    one(F::FIXED_Byte254, 50),
    one(F::FIXED_Byte261, 22),
    one(F::FIXED_Byte262, 40),
    one(F::FIXED_Byte265, 12),
    one(F::FIXED_Byte266, 4),
    one(F::FIXED_Byte267, 15),
    one(F::FIXED_Byte268, 23),
    one(F::FIXED_Byte269, 2),
    one(F::FIXED_Byte270, 16),
    one(F::FIXED_Byte271, 7),
    one(F::FIXED_Byte272, 13),
    one(F::FIXED_Byte275, 0),
    one(F::FIXED_Byte276, 24),
};

// Every row of the advance map starts with the same curve.
constexpr std::array<std::uint8_t, 15> kAdvanceRow = {9,  19, 30, 36, 36, 35, 34, 34,
                                                      34, 34, 34, 34, 34, 34, 34};

struct PinFunctions {
    std::uint8_t engine23;
    std::uint8_t engine14;
    std::uint8_t body11;
};

// Input pin functions per known BikeType.
constexpr std::array<PinFunctions, 8> kPinsByBike = {{
    {1, 1, 0},  // R1: Oil, Neutral, Fan 1
    {1, 1, 0},  // R2
    {0, 0, 0},  // N1: Neutral, ATS, Fan 1
    {0, 0, 1},  // N1 & Lambda: Neutral, ATS, Lambda Heat
    {1, 1, 1},  // N2: Oil, Neutral, Lambda Heat
    {0, 0, 0},  // N3
    {0, 0, 1},  // N3 & Lambda
    {1, 1, 1},  // S1
}};

void writeDefault(ParameterImage& image, const DefaultValue& value) {
    const std::size_t elements = descriptor(value.field).count;
    for (std::size_t i = 0; i < elements; ++i) {
        image.set(value.field, i, value.values[value.count == 1 ? 0 : i]);
    }
}

}  // namespace

void loadDefaultSet(ParameterImage& image, InjectionScaling& scaling) {
    for (const DefaultValue& value : kDefaults) writeDefault(image, value);
    for (std::size_t k = 0; k < 150; ++k) image.set(Field::ADVANCE_Cell, k, kAdvanceRow[k % 15]);

    const unsigned ignition = image.get(Field::LIMITER_IgnLimiter);
    const unsigned injection = image.get(Field::LIMITER_JetLimiter);
    image.set(Field::LIMITER_RetardLimiterRpm, std::min(ignition, injection) - 2);

    scaling.setDefaultMaps(image);
    applyBikeUpdate(image);
}

void loadDefaultSet(ParameterImage& image) {
    InjectionScaling scaling;
    loadDefaultSet(image, scaling);
}

void applyBikeUpdate(ParameterImage& image) {
    const unsigned bike = image.get(Field::BIKE_BikeType);
    image.set(Field::FIXED_Byte2, 0);
    image.set(Field::FIXED_Byte3, 65);
    image.set(Field::FIXED_Byte4, bike == 2 ? 30 : 19);
    image.set(Field::FIXED_Byte5, 0);
    if (bike < kPinsByBike.size()) {
        const PinFunctions& pins = kPinsByBike[bike];
        image.set(Field::INPUTS_PinEngine23, pins.engine23);
        image.set(Field::INPUTS_PinEngine14, pins.engine14);
        image.set(Field::INPUTS_PinBody11, pins.body11);
    }
}

}  // namespace zelvor::model
