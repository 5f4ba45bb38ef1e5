#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/field.h"

namespace zelvor::model {

namespace detail {

constexpr FieldDescriptor bytes(Field id, std::string_view section, std::string_view name,
                                std::uint16_t offset, std::uint16_t count = 1,
                                std::int32_t scale = 1, std::int32_t bias = 0) {
    return {id, section, name, offset, Width::Byte, count, scale, bias, Kind::Number};
}

constexpr FieldDescriptor signedBytes(Field id, std::string_view section, std::string_view name,
                                      std::uint16_t offset, std::uint16_t count = 1) {
    return {id, section, name, offset, Width::Byte, count, 1, -100, Kind::Signed};
}

constexpr FieldDescriptor words(Field id, std::string_view section, std::string_view name,
                                std::uint16_t offset, std::uint16_t count = 1) {
    return {id, section, name, offset, Width::Word, count, 1, 0, Kind::Number};
}

using F = Field;

}  // namespace detail

// The layout of the unit's parameter memory (program version 63): one row per
// named field, in offset order. Named access, the parameter file, the command
// line tool and the control bindings all work from this table.
inline constexpr std::array<FieldDescriptor, kFieldCount> kFieldTable = [] {
    using namespace detail;
    return std::array<FieldDescriptor, kFieldCount>{{
        bytes(F::BIKE_BikeType, "BIKE", "BikeType", 0),
        bytes(F::FIXED_Byte2, "FIXED", "Byte2", 2),
        bytes(F::FIXED_Byte3, "FIXED", "Byte3", 3),
        bytes(F::FIXED_Byte4, "FIXED", "Byte4", 4),
        bytes(F::FIXED_Byte5, "FIXED", "Byte5", 5),
        words(F::APS_ApsTlak1, "APS", "ApsTlak1", 6),
        words(F::APS_ApsNapeti1, "APS", "ApsNapeti1", 8),
        words(F::APS_ApsTlak2, "APS", "ApsTlak2", 10),
        words(F::APS_ApsNapeti2, "APS", "ApsNapeti2", 12),
        bytes(F::NO_FUEL_IND_NoFuelInd, "NO_FUEL_IND", "NoFuelInd", 14),
        bytes(F::INPUTS_AktClutchMaster, "INPUTS", "AktClutchMaster", 25),
        bytes(F::INPUTS_AktStartLimiter, "INPUTS", "AktStartLimiter", 26),
        bytes(F::INPUTS_AktRpm, "INPUTS", "AktRpm", 27),
        bytes(F::LIMITER_StartLimiter, "LIMITER", "StartLimiter", 28, 1, 100),
        bytes(F::LIMITER_IgnLimiter, "LIMITER", "IgnLimiter", 29, 1, 100),
        bytes(F::LIMITER_JetLimiter, "LIMITER", "JetLimiter", 30, 1, 100),
        bytes(F::LIMITER_RetardLimiterRpm, "LIMITER", "RetardLimiterRpm", 31, 1, 100),
        bytes(F::LIMITER_RetardLimiterAdv, "LIMITER", "RetardLimiterAdv", 32),
        bytes(F::TPS_Tps0, "TPS", "Tps0", 33, 1, 10),
        bytes(F::TPS_Tps100, "TPS", "Tps100", 34, 1, 10, 2500),
        bytes(F::FAN_Fan1, "FAN", "Fan1", 35),
        bytes(F::RPM_RpmPulsu, "RPM", "RpmPulsu", 36),
        signedBytes(F::RPM_RpmKorekce, "RPM", "RpmKorekce", 37),
        bytes(F::INPUTS_PinEngine23, "INPUTS", "PinEngine23", 38),
        bytes(F::INPUTS_PinEngine14, "INPUTS", "PinEngine14", 39),
        bytes(F::INPUTS_PinBody11, "INPUTS", "PinBody11", 40),
        bytes(F::FAN_Fan2, "FAN", "Fan2", 41),
        bytes(F::ADVANCE_MISC_UseTps, "ADVANCE_MISC", "UseTps", 42),
        signedBytes(F::ADVANCE_MISC_CylKor1, "ADVANCE_MISC", "CylKor1", 43),
        signedBytes(F::ADVANCE_MISC_CylKor2, "ADVANCE_MISC", "CylKor2", 44),
        bytes(F::ADVANCE_MISC_BaseAdv, "ADVANCE_MISC", "BaseAdv", 45),
        bytes(F::JET1_MISC_Jet123Mode, "JET1_MISC", "Jet123Mode", 47),
        bytes(F::POSITION_A_PolohaA, "POSITION_A", "PolohaA", 56),
        bytes(F::CHOKE_SyticCas, "CHOKE", "SyticCas", 67, 4),
        bytes(F::CHOKE_SyticKorekce, "CHOKE", "SyticKorekce", 71, 4, 1, 100),
        bytes(F::INJ_CORR_KorVoda, "INJ_CORR", "KorVoda", 80, 5),
        bytes(F::INJ_CORR_KorVzduch, "INJ_CORR", "KorVzduch", 85, 5),
        bytes(F::ACCEL_AkcelPrah, "ACCEL", "AkcelPrah", 90, 1, 10),
        bytes(F::ACCEL_AkcelJet, "ACCEL", "AkcelJet", 91, 1, 50),
        bytes(F::START_INJ_StartJet, "START_INJ", "StartJet", 92),
        signedBytes(F::ADVANCE_CORR_IgnVoda, "ADVANCE_CORR", "IgnVoda", 93, 5),
        bytes(F::N2O_Gas, "N2O", "Gas", 98),
        bytes(F::N2O_Gas1, "N2O", "Gas1", 99),
        bytes(F::N2O_Gas2, "N2O", "Gas2", 100),
        bytes(F::N2O_GasT, "N2O", "GasT", 101, 1, 100),
        bytes(F::N2O_GasD, "N2O", "GasD", 102, 1, 100),
        bytes(F::N2O_Retard1, "N2O", "Retard1", 103),
        bytes(F::N2O_Retard2, "N2O", "Retard2", 104),
        bytes(F::N2O_RetardT, "N2O", "RetardT", 105, 1, 100),
        bytes(F::N2O_RetardD, "N2O", "RetardD", 106, 1, 100),
        bytes(F::DISPLAY_TempDisplay, "DISPLAY", "TempDisplay", 107),
        bytes(F::PILOT_LIGHT_PilotLight1, "PILOT_LIGHT", "PilotLight1", 108, 6, 100),
        bytes(F::PILOT_LIGHT_PilotLight2, "PILOT_LIGHT", "PilotLight2", 114, 6, 100),
        bytes(F::CLUTCH_ClutchMode, "CLUTCH", "ClutchMode", 120),
        bytes(F::CLUTCH_ClutchTime, "CLUTCH", "ClutchTime", 121, 6, 10),
        bytes(F::CLUTCH_ClutchPause, "CLUTCH", "ClutchPause", 127, 6, 10),
        bytes(F::CLUTCH_ClutchMinRpm, "CLUTCH", "ClutchMinRpm", 133, 1, 100),
        bytes(F::CLUTCH_ClutchJet, "CLUTCH", "ClutchJet", 134),
        bytes(F::CLUTCH_ClutchAdv, "CLUTCH", "ClutchAdv", 135),
        bytes(F::GEAR_GearSystem, "GEAR", "GearSystem", 136),
        bytes(F::GEAR_PocetGear, "GEAR", "PocetGear", 137),
        bytes(F::SPEED_PULSES_SpeedMode, "SPEED_PULSES", "SpeedMode", 138),
        bytes(F::GEAR_AUTO_GearAutoTime, "GEAR_AUTO", "GearAutoTime", 154),
        bytes(F::GEAR_AUTO_GearAutoRpm, "GEAR_AUTO", "GearAutoRpm", 155, 1, 100),
        bytes(F::GEAR_AUTO_GearAutoTps, "GEAR_AUTO", "GearAutoTps", 156),
        bytes(F::GEAR_AUTO_GearAutoBand, "GEAR_AUTO", "GearAutoBand", 157),
        words(F::SPEED_PULSES_PulsuProSpeed, "SPEED_PULSES", "PulsuProSpeed", 160),
        words(F::GEAR_PomerRpmSpeed, "GEAR", "PomerRpmSpeed", 162, 6),
        signedBytes(F::GEAR_CORR_GearKorAdv, "GEAR_CORR", "GearKorAdv", 174, 6),
        bytes(F::GEAR_CORR_GearKorJet, "GEAR_CORR", "GearKorJet", 180, 6),
        bytes(F::FIXED_Byte191, "FIXED", "Byte191", 191),
        bytes(F::FIXED_Byte192, "FIXED", "Byte192", 192),
        bytes(F::FIXED_Byte193, "FIXED", "Byte193", 193),
        words(F::WATER_TEMP_SENSOR_CidloTVoda, "WATER_TEMP_SENSOR", "CidloTVoda", 194, 5),
        words(F::AIR_TEMP_SENSOR_CidloTVzduch, "AIR_TEMP_SENSOR", "CidloTVzduch", 204, 5),
        words(F::FIXED_Table214, "FIXED", "Table214", 214, 9),
        bytes(F::IDLE_IdleMode, "IDLE", "IdleMode", 232),
        bytes(F::IDLE_IdleRpmMez, "IDLE", "IdleRpmMez", 233, 1, 10, 500),
        bytes(F::IDLE_IdleTpsMez, "IDLE", "IdleTpsMez", 234),
        bytes(F::IDLE_IdleSmerReg, "IDLE", "IdleSmerReg", 235),
        bytes(F::IDLE_IdleStepPerioda, "IDLE", "IdleStepPerioda", 236, 1, 250),
        bytes(F::IDLE_IdleHyster, "IDLE", "IdleHyster", 237, 1, 10),
        bytes(F::IDLE_IdleAdvNaRpm, "IDLE", "IdleAdvNaRpm", 239),
        bytes(F::IDLE_IdleAdvNaCas, "IDLE", "IdleAdvNaCas", 240),
        bytes(F::IDLE_IdleMaxAdv, "IDLE", "IdleMaxAdv", 241),
        bytes(F::IDLE_IdleRpmPoz, "IDLE", "IdleRpmPoz", 242, 6, 10, 500),
        bytes(F::FIXED_Byte252, "FIXED", "Byte252", 252),
        bytes(F::FIXED_Byte253, "FIXED", "Byte253", 253),
        bytes(F::FIXED_Byte254, "FIXED", "Byte254", 254),
        bytes(F::FIXED_Byte261, "FIXED", "Byte261", 261),
        bytes(F::FIXED_Byte262, "FIXED", "Byte262", 262),
        bytes(F::FIXED_Byte265, "FIXED", "Byte265", 265),
        bytes(F::FIXED_Byte266, "FIXED", "Byte266", 266),
        bytes(F::FIXED_Byte267, "FIXED", "Byte267", 267),
        bytes(F::FIXED_Byte268, "FIXED", "Byte268", 268),
        bytes(F::FIXED_Byte269, "FIXED", "Byte269", 269),
        bytes(F::FIXED_Byte270, "FIXED", "Byte270", 270),
        bytes(F::FIXED_Byte271, "FIXED", "Byte271", 271),
        bytes(F::FIXED_Byte272, "FIXED", "Byte272", 272),
        bytes(F::FIXED_Byte275, "FIXED", "Byte275", 275),
        bytes(F::FIXED_Byte276, "FIXED", "Byte276", 276),
        bytes(F::POSITION_A_Rpm, "POSITION_A", "Rpm", 305, 15, 100),
        bytes(F::POSITION_A_Angle, "POSITION_A", "Angle", 320, 15, 5),
        bytes(F::RPM_ADV_Rpm, "RPM_ADV", "Rpm", 335, 15, 100),
        bytes(F::RPM_JET_1A_Rpm, "RPM_JET_1A", "Rpm", 350, 15, 100),
        bytes(F::RPM_JET_2A_Rpm, "RPM_JET_2A", "Rpm", 365, 15, 100),
        bytes(F::ADVANCE_Cell, "ADVANCE", "Cell", 400, 150),
        words(F::JET_1A_Cell, "JET_1A", "Cell", 550, 150),
        words(F::JET_2A_Cell, "JET_2A", "Cell", 850, 150),
        {F::MEMO_Text, "MEMO", "Text", 1150, Width::Byte, 199, 1, 0, Kind::Text},
        bytes(F::MEMO_Terminator, "MEMO", "Terminator", 1349),
    }};
}();

constexpr const FieldDescriptor& descriptor(Field field) {
    return kFieldTable[static_cast<std::size_t>(field)];
}

// Finds a field by its "SECTION.Field" name (case-sensitive).
std::optional<Field> findField(std::string_view qualifiedName);

// The "SECTION.Field" name of a field.
std::string qualifiedName(Field field);

// True for offsets that belong to no field of the table: the system never
// interprets or changes these bytes.
bool isReservedOffset(std::size_t offset);

}  // namespace zelvor::model
