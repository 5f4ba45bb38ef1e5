#include "sim/default_image.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace zelvor::sim {

namespace {

using model::Field;
using model::ParameterImage;

// Speed axis of every map and of the injection position, x 100 rpm.
constexpr std::array<std::uint8_t, 15> kSpeedAxis = {10, 15, 20, 25, 30,  35,  40, 50,
                                                     60, 70, 80, 90, 100, 110, 125};
// Throttle opening of the map rows, percent.
constexpr std::array<int, 10> kRowThrottle = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};

// One value per array element of a field.
struct ArrayValues {
    Field field;
    std::array<std::uint16_t, 6> values;
    std::size_t count;
};

// Plain settings: field, value.
constexpr std::array<std::pair<Field, std::uint16_t>, 37> kSettings = {{
    {Field::BIKE_BikeType, 0},
    {Field::APS_ApsTlak1, 20},
    {Field::APS_ApsNapeti1, 400},
    {Field::APS_ApsTlak2, 105},
    {Field::APS_ApsNapeti2, 4650},
    {Field::LIMITER_StartLimiter, 40},
    {Field::LIMITER_IgnLimiter, 118},
    {Field::LIMITER_JetLimiter, 120},
    {Field::LIMITER_RetardLimiterRpm, 115},
    {Field::LIMITER_RetardLimiterAdv, 5},
    {Field::TPS_Tps0, 50},
    {Field::TPS_Tps100, 200},
    {Field::FAN_Fan1, 95},
    {Field::FAN_Fan2, 102},
    {Field::RPM_RpmPulsu, 1},
    {Field::RPM_RpmKorekce, 100},
    {Field::ADVANCE_MISC_UseTps, 1},
    {Field::ADVANCE_MISC_CylKor1, 100},
    {Field::ADVANCE_MISC_CylKor2, 100},
    {Field::ADVANCE_MISC_BaseAdv, 10},
    {Field::ACCEL_AkcelPrah, 5},
    {Field::ACCEL_AkcelJet, 20},
    {Field::START_INJ_StartJet, 10},
    {Field::N2O_GasT, 10},
    {Field::N2O_RetardT, 10},
    {Field::CLUTCH_ClutchTime, 7},
    {Field::CLUTCH_ClutchMinRpm, 40},
    {Field::GEAR_GearSystem, 0},
    {Field::GEAR_PocetGear, 6},
    {Field::SPEED_PULSES_PulsuProSpeed, 1000},
    {Field::GEAR_AUTO_GearAutoTime, 3},
    {Field::GEAR_AUTO_GearAutoRpm, 30},
    {Field::GEAR_AUTO_GearAutoTps, 10},
    {Field::GEAR_AUTO_GearAutoBand, 30},
    {Field::IDLE_IdleRpmMez, 100},
    {Field::IDLE_IdleTpsMez, 20},
    {Field::IDLE_IdleMaxAdv, 15},
}};

constexpr std::array<ArrayValues, 14> kArrays = {{
    {Field::CHOKE_SyticCas, {5, 10, 20, 40}, 4},
    {Field::CHOKE_SyticKorekce, {30, 20, 10, 0}, 4},
    {Field::INJ_CORR_KorVoda, {140, 120, 105, 100, 95}, 5},
    {Field::INJ_CORR_KorVzduch, {110, 104, 100, 96, 92}, 5},
    {Field::ADVANCE_CORR_IgnVoda, {105, 103, 100, 100, 98}, 5},
    {Field::PILOT_LIGHT_PilotLight1, {105, 105, 105, 105, 105, 105}, 6},
    {Field::PILOT_LIGHT_PilotLight2, {110, 110, 110, 110, 110, 110}, 6},
    {Field::GEAR_PomerRpmSpeed, {1100, 800, 640, 530, 460, 400}, 6},
    {Field::GEAR_CORR_GearKorAdv, {100, 100, 100, 100, 100, 100}, 6},
    {Field::GEAR_CORR_GearKorJet, {100, 100, 100, 100, 100, 100}, 6},
    {Field::WATER_TEMP_SENSOR_CidloTVoda, {4600, 3700, 2300, 1200, 600}, 5},
    {Field::AIR_TEMP_SENSOR_CidloTVzduch, {4600, 3700, 2300, 1200, 600}, 5},
    {Field::IDLE_IdleRpmPoz, {90, 85, 80, 75, 70, 70}, 6},
    {Field::CLUTCH_ClutchPause, {5, 5, 5, 5, 5, 5}, 6},
}};

constexpr std::string_view kMemo = "Built-in parameter set of the simulated unit";

// Advance in degrees: more with speed, less with load.
std::uint16_t advanceCell(int row, int column) {
    const int advance = 12 + column * 2 - kRowThrottle[row] / 8;
    return static_cast<std::uint16_t>(std::clamp(advance, 5, 45));
}

// Injection time in microseconds: grows with throttle and, more gently, with
// speed as the engine fills better.
std::uint16_t injectionCell(int row, int column, int percentOfMap) {
    const int load = 900 + kRowThrottle[row] * 80 + column * 120;
    return static_cast<std::uint16_t>(load * percentOfMap / 100);
}

}  // namespace

ParameterImage builtInImage() {
    ParameterImage image;
    for (const auto& [field, value] : kSettings) image.set(field, value);
    for (const ArrayValues& entry : kArrays) {
        for (std::size_t i = 0; i < entry.count; ++i) image.set(entry.field, i, entry.values[i]);
    }
    for (std::size_t c = 0; c < kSpeedAxis.size(); ++c) {
        for (Field axis : {Field::RPM_ADV_Rpm, Field::RPM_JET_1A_Rpm, Field::RPM_JET_2A_Rpm,
                           Field::POSITION_A_Rpm}) {
            image.set(axis, c, kSpeedAxis[c]);
        }
        // Injection ends 360 degrees before top dead centre at low speed and
        // moves earlier with speed.
        image.set(Field::POSITION_A_Angle, c, static_cast<unsigned>(72 + c * 2));
    }
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 15; ++column) {
            const std::size_t cell = static_cast<std::size_t>(row * 15 + column);
            image.set(Field::ADVANCE_Cell, cell, advanceCell(row, column));
            image.set(Field::JET_1A_Cell, cell, injectionCell(row, column, 100));
            image.set(Field::JET_2A_Cell, cell, injectionCell(row, column, 90));
        }
    }
    for (std::size_t i = 0; i < kMemo.size(); ++i) {
        image.set(Field::MEMO_Text, i, static_cast<unsigned char>(kMemo[i]));
    }
    return image;
}

}  // namespace zelvor::sim
