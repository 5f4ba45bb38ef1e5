#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/field.h"

namespace zelvor::model {

namespace detail {

// One row of the table as it is written: a field at its offset, then each
// property that differs from a raw number named by a call.
struct Row {
    FieldDescriptor d;

  private:
    // A copy with one change. Defined before its users: clang evaluates the
    // table's constant expressions only through functions already defined.
    template <typename Change>
    constexpr Row with(Change change) const {
        Row copy = *this;
        change(copy.d);
        return copy;
    }

  public:
    // engineering = stored * scale (+ bias).
    constexpr Row times(std::int32_t scale) const {
        return with([&](auto& f) { f.scale = scale; });
    }
    constexpr Row plus(std::int32_t bias) const {
        return with([&](auto& f) { f.bias = bias; });
    }
    constexpr Row editor(std::int32_t minimum, std::int32_t maximum, std::int32_t step = 1) const {
        return with([&](auto& f) { f.range = {minimum, maximum, step}; });
    }
    constexpr Row unit(std::string_view unit) const {
        return with([&](auto& f) { f.unit = unit; });
    }
    // The bias is taken off after dividing, not before.
    constexpr Row divideFirst() const {
        return with([](auto& f) { f.storeOrder = StoreOrder::DivideFirst; });
    }
    // The parameter file holds the stored value, not the engineering value.
    constexpr Row fileHoldsStored() const {
        return with([](auto& f) { f.fileForm = FileForm::Stored; });
    }
    // The parameter file holds 1 for any non-zero value.
    constexpr Row fileHoldsFlag() const {
        return with([](auto& f) { f.fileForm = FileForm::Flag; });
    }

    constexpr operator FieldDescriptor() const { return d; }
};

constexpr Row field(Field id, std::string_view section, std::string_view name, std::uint16_t offset,
                    Width width, std::uint16_t count, Kind kind) {
    const std::int32_t top = width == Width::Word ? 0xFFFF : 0xFF;
    return {{id, section, name, offset, width, count, 1, 0, kind, StoreOrder::BiasFirst,
             FileForm::Engineering, EditorRange{0, top, 1}, ""}};
}

// Unsigned bytes; without editor() every byte value is allowed.
constexpr Row bytes(Field id, std::string_view section, std::string_view name, std::uint16_t offset,
                    std::uint16_t count = 1) {
    return field(id, section, name, offset, Width::Byte, count, Kind::Number);
}

constexpr Row words(Field id, std::string_view section, std::string_view name, std::uint16_t offset,
                    std::uint16_t count = 1) {
    return field(id, section, name, offset, Width::Word, count, Kind::Number);
}

// Signed values: stored = value + 100 in a byte, shown with a sign.
constexpr Row signedBytes(Field id, std::string_view section, std::string_view name,
                          std::uint16_t offset, std::uint16_t count = 1) {
    return field(id, section, name, offset, Width::Byte, count, Kind::Signed).plus(-100);
}

// A check box: 0 or 1.
constexpr Row flag(Field id, std::string_view section, std::string_view name,
                   std::uint16_t offset) {
    return bytes(id, section, name, offset).editor(0, 1);
}

// The item index of a list of items.
constexpr Row choice(Field id, std::string_view section, std::string_view name,
                     std::uint16_t offset, std::int32_t items) {
    return bytes(id, section, name, offset).editor(0, items - 1);
}

// A unit constant: kept, never shown or edited.
constexpr Row constant(Field id, std::string_view name, std::uint16_t offset) {
    return bytes(id, "FIXED", name, offset);
}

using F = Field;

}  // namespace detail

// The layout of the unit's parameter memory (program version 63): one row per
// named field, in offset order, with what the value means: the conversion
// to the engineering value a tuner sees, the editor's range and step, and
// the unit. Named access, the parameter file, the command line tool, the
// control bindings and the map grid all work from this table.
//
// The conversions that are not a plain multiple, each on purpose:
//   - TPS.Tps100 is kept as mV / 10 - 250 with the division first; in a byte
//     that is mV / 10 + 6.
//   - The idle speeds are rpm = stored * 10 + 500: 500 comes off before the
//     division.
//   - The after-start corrections are % = stored + 100, so stored is the
//     percentage less 100.
//   - Signed values are stored plus 100.
//   - ADVANCE_CORR.IgnVoda is signed like the others, but the parameter file
//     keeps its stored byte (110 for +10 degrees); files in use depend on it.
//   - N2O.Gas and DISPLAY.TempDisplay are written to the file as 0 or 1
//     whatever byte they hold.
// Where an editor steps in larger units than the field stores (the clutch
// pause: steps of 100 ms in a field of 10 ms), its row says so.
// clang-format off
inline constexpr std::array<FieldDescriptor, kFieldCount> kFieldTable = [] {
    using namespace detail;
    return std::array<FieldDescriptor, kFieldCount>{{
        bytes(F::BIKE_BikeType, "BIKE", "BikeType", 0).editor(0, 7),
        constant(F::FIXED_Byte2, "Byte2", 2),
        constant(F::FIXED_Byte3, "Byte3", 3),
        constant(F::FIXED_Byte4, "Byte4", 4),
        constant(F::FIXED_Byte5, "Byte5", 5),
        words(F::APS_ApsTlak1, "APS", "ApsTlak1", 6).editor(0, 1000).unit("kPa"),
        words(F::APS_ApsNapeti1, "APS", "ApsNapeti1", 8).editor(0, 25000).unit("mV"),
        words(F::APS_ApsTlak2, "APS", "ApsTlak2", 10).editor(0, 1000).unit("kPa"),
        words(F::APS_ApsNapeti2, "APS", "ApsNapeti2", 12).editor(0, 25000).unit("mV"),
        flag(F::NO_FUEL_IND_NoFuelInd, "NO_FUEL_IND", "NoFuelInd", 14),
        flag(F::INPUTS_AktClutchMaster, "INPUTS", "AktClutchMaster", 25),
        flag(F::INPUTS_AktStartLimiter, "INPUTS", "AktStartLimiter", 26),
        flag(F::INPUTS_AktRpm, "INPUTS", "AktRpm", 27),
        bytes(F::LIMITER_StartLimiter, "LIMITER", "StartLimiter", 28).times(100).editor(900, 25000, 100).unit("rpm"),
        bytes(F::LIMITER_IgnLimiter, "LIMITER", "IgnLimiter", 29).times(100).editor(900, 25000, 100).unit("rpm"),
        bytes(F::LIMITER_JetLimiter, "LIMITER", "JetLimiter", 30).times(100).editor(900, 25000, 100).unit("rpm"),
        bytes(F::LIMITER_RetardLimiterRpm, "LIMITER", "RetardLimiterRpm", 31).times(100).editor(900, 25000, 100).unit("rpm"),
        bytes(F::LIMITER_RetardLimiterAdv, "LIMITER", "RetardLimiterAdv", 32).editor(1, 250).unit("°/100 rpm"),
        bytes(F::TPS_Tps0, "TPS", "Tps0", 33).times(10).editor(0, 2500, 10).unit("mV"),
        bytes(F::TPS_Tps100, "TPS", "Tps100", 34).times(10).plus(2500).divideFirst().editor(2500, 5000, 10).unit("mV"),
        bytes(F::FAN_Fan1, "FAN", "Fan1", 35).editor(0, 150).unit("°C"),
        bytes(F::RPM_RpmPulsu, "RPM", "RpmPulsu", 36).editor(0, 6),
        signedBytes(F::RPM_RpmKorekce, "RPM", "RpmKorekce", 37).editor(-60, 60),
        choice(F::INPUTS_PinEngine23, "INPUTS", "PinEngine23", 38, 2),
        choice(F::INPUTS_PinEngine14, "INPUTS", "PinEngine14", 39, 2),
        choice(F::INPUTS_PinBody11, "INPUTS", "PinBody11", 40, 2),
        bytes(F::FAN_Fan2, "FAN", "Fan2", 41).editor(0, 150).unit("°C"),
        flag(F::ADVANCE_MISC_UseTps, "ADVANCE_MISC", "UseTps", 42),
        signedBytes(F::ADVANCE_MISC_CylKor1, "ADVANCE_MISC", "CylKor1", 43).editor(-15, 15).unit("°"),
        signedBytes(F::ADVANCE_MISC_CylKor2, "ADVANCE_MISC", "CylKor2", 44).editor(-15, 15).unit("°"),
        bytes(F::ADVANCE_MISC_BaseAdv, "ADVANCE_MISC", "BaseAdv", 45).editor(0, 100).unit("°"),
        choice(F::JET1_MISC_Jet123Mode, "JET1_MISC", "Jet123Mode", 47, 3),
        choice(F::POSITION_A_PolohaA, "POSITION_A", "PolohaA", 56, 3),
        bytes(F::CHOKE_SyticCas, "CHOKE", "SyticCas", 67, 4).editor(0, 250).unit("s"),
        bytes(F::CHOKE_SyticKorekce, "CHOKE", "SyticKorekce", 71, 4).plus(100).editor(100, 350).unit("%"),
        bytes(F::INJ_CORR_KorVoda, "INJ_CORR", "KorVoda", 80, 5).editor(10, 250).unit("%"),
        bytes(F::INJ_CORR_KorVzduch, "INJ_CORR", "KorVzduch", 85, 5).editor(10, 250).unit("%"),
        bytes(F::ACCEL_AkcelPrah, "ACCEL", "AkcelPrah", 90).times(10).editor(10, 2500, 10).unit("%/s"),
        bytes(F::ACCEL_AkcelJet, "ACCEL", "AkcelJet", 91).times(50).editor(0, 7500, 50).unit("µs"),
        bytes(F::START_INJ_StartJet, "START_INJ", "StartJet", 92).editor(0, 50).unit("ms"),
        signedBytes(F::ADVANCE_CORR_IgnVoda, "ADVANCE_CORR", "IgnVoda", 93, 5).editor(-20, 20).unit("°").fileHoldsStored(),
        flag(F::N2O_Gas, "N2O", "Gas", 98).fileHoldsFlag(),
        bytes(F::N2O_Gas1, "N2O", "Gas1", 99).editor(0, 100).unit("%"),
        bytes(F::N2O_Gas2, "N2O", "Gas2", 100).editor(0, 100).unit("%"),
        bytes(F::N2O_GasT, "N2O", "GasT", 101).times(100).editor(0, 25500, 100).unit("ms"),
        bytes(F::N2O_GasD, "N2O", "GasD", 102).times(100).editor(0, 25500, 100).unit("ms"),
        bytes(F::N2O_Retard1, "N2O", "Retard1", 103).editor(0, 25).unit("°"),
        bytes(F::N2O_Retard2, "N2O", "Retard2", 104).editor(0, 25).unit("°"),
        bytes(F::N2O_RetardT, "N2O", "RetardT", 105).times(100).editor(0, 25500, 100).unit("ms"),
        bytes(F::N2O_RetardD, "N2O", "RetardD", 106).times(100).editor(0, 25500, 100).unit("ms"),
        flag(F::DISPLAY_TempDisplay, "DISPLAY", "TempDisplay", 107).fileHoldsFlag(),
        bytes(F::PILOT_LIGHT_PilotLight1, "PILOT_LIGHT", "PilotLight1", 108, 6).times(100).editor(900, 25000, 100).unit("rpm"),
        bytes(F::PILOT_LIGHT_PilotLight2, "PILOT_LIGHT", "PilotLight2", 114, 6).times(100).editor(900, 25000, 100).unit("rpm"),
        choice(F::CLUTCH_ClutchMode, "CLUTCH", "ClutchMode", 120, 2),
        bytes(F::CLUTCH_ClutchTime, "CLUTCH", "ClutchTime", 121, 6).times(10).editor(0, 2500, 10).unit("ms"),
        // Steps of 100 ms in a field kept in 10 ms.
        bytes(F::CLUTCH_ClutchPause, "CLUTCH", "ClutchPause", 127, 6).times(10).editor(0, 2500, 100).unit("ms"),
        bytes(F::CLUTCH_ClutchMinRpm, "CLUTCH", "ClutchMinRpm", 133).times(100).editor(1000, 25000, 100).unit("rpm"),
        bytes(F::CLUTCH_ClutchJet, "CLUTCH", "ClutchJet", 134).editor(0, 100).unit("%"),
        bytes(F::CLUTCH_ClutchAdv, "CLUTCH", "ClutchAdv", 135).editor(0, 60).unit("°"),
        choice(F::GEAR_GearSystem, "GEAR", "GearSystem", 136, 3),
        bytes(F::GEAR_PocetGear, "GEAR", "PocetGear", 137).editor(1, 6),
        choice(F::SPEED_PULSES_SpeedMode, "SPEED_PULSES", "SpeedMode", 138, 2),
        bytes(F::GEAR_AUTO_GearAutoTime, "GEAR_AUTO", "GearAutoTime", 154).editor(1, 100).unit("s"),
        bytes(F::GEAR_AUTO_GearAutoRpm, "GEAR_AUTO", "GearAutoRpm", 155).times(100).editor(300, 25000, 100).unit("rpm"),
        bytes(F::GEAR_AUTO_GearAutoTps, "GEAR_AUTO", "GearAutoTps", 156).editor(0, 100).unit("%"),
        bytes(F::GEAR_AUTO_GearAutoBand, "GEAR_AUTO", "GearAutoBand", 157).editor(1, 100).unit("0.1 %"),
        // Pulses in 1 s at 100 km/h, or mm per pulse, by SPEED_PULSES.SpeedMode.
        words(F::SPEED_PULSES_PulsuProSpeed, "SPEED_PULSES", "PulsuProSpeed", 160).editor(1, 32000),
        // Engine speed per road speed, times 10.
        words(F::GEAR_PomerRpmSpeed, "GEAR", "PomerRpmSpeed", 162, 6).editor(1, 32000),
        signedBytes(F::GEAR_CORR_GearKorAdv, "GEAR_CORR", "GearKorAdv", 174, 6).editor(-20, 20).unit("°"),
        bytes(F::GEAR_CORR_GearKorJet, "GEAR_CORR", "GearKorJet", 180, 6).editor(0, 255).unit("%"),
        constant(F::FIXED_Byte191, "Byte191", 191),
        constant(F::FIXED_Byte192, "Byte192", 192),
        constant(F::FIXED_Byte193, "Byte193", 193),
        words(F::WATER_TEMP_SENSOR_CidloTVoda, "WATER_TEMP_SENSOR", "CidloTVoda", 194, 5).editor(0, 5000).unit("mV"),
        words(F::AIR_TEMP_SENSOR_CidloTVzduch, "AIR_TEMP_SENSOR", "CidloTVzduch", 204, 5).editor(0, 5000).unit("mV"),
        words(F::FIXED_Table214, "FIXED", "Table214", 214, 9),
        choice(F::IDLE_IdleMode, "IDLE", "IdleMode", 232, 3),
        bytes(F::IDLE_IdleRpmMez, "IDLE", "IdleRpmMez", 233).times(10).plus(500).editor(500, 3000, 10).unit("rpm"),
        bytes(F::IDLE_IdleTpsMez, "IDLE", "IdleTpsMez", 234).editor(1, 100).unit("0.1 %"),
        flag(F::IDLE_IdleSmerReg, "IDLE", "IdleSmerReg", 235),
        bytes(F::IDLE_IdleStepPerioda, "IDLE", "IdleStepPerioda", 236).times(250).editor(250, 25000, 250).unit("ms"),
        bytes(F::IDLE_IdleHyster, "IDLE", "IdleHyster", 237).times(10).editor(0, 2500, 10).unit("rpm"),
        bytes(F::IDLE_IdleAdvNaRpm, "IDLE", "IdleAdvNaRpm", 239).editor(0, 250).unit("°/1000 rpm"),
        bytes(F::IDLE_IdleAdvNaCas, "IDLE", "IdleAdvNaCas", 240).editor(0, 250).unit("°/10 s"),
        bytes(F::IDLE_IdleMaxAdv, "IDLE", "IdleMaxAdv", 241).editor(1, 100).unit("°"),
        bytes(F::IDLE_IdleRpmPoz, "IDLE", "IdleRpmPoz", 242, 6).times(10).plus(500).editor(500, 3000, 10).unit("rpm"),
        constant(F::FIXED_Byte252, "Byte252", 252),
        constant(F::FIXED_Byte253, "Byte253", 253),
        constant(F::FIXED_Byte254, "Byte254", 254),
        constant(F::FIXED_Byte261, "Byte261", 261),
        constant(F::FIXED_Byte262, "Byte262", 262),
        constant(F::FIXED_Byte265, "Byte265", 265),
        constant(F::FIXED_Byte266, "Byte266", 266),
        constant(F::FIXED_Byte267, "Byte267", 267),
        constant(F::FIXED_Byte268, "Byte268", 268),
        constant(F::FIXED_Byte269, "Byte269", 269),
        constant(F::FIXED_Byte270, "Byte270", 270),
        constant(F::FIXED_Byte271, "Byte271", 271),
        constant(F::FIXED_Byte272, "Byte272", 272),
        constant(F::FIXED_Byte275, "Byte275", 275),
        constant(F::FIXED_Byte276, "Byte276", 276),
        bytes(F::POSITION_A_Rpm, "POSITION_A", "Rpm", 305, 15).times(100).editor(300, 25000, 100).unit("rpm"),
        bytes(F::POSITION_A_Angle, "POSITION_A", "Angle", 320, 15).times(5).editor(0, 720, 5).unit("°"),
        bytes(F::RPM_ADV_Rpm, "RPM_ADV", "Rpm", 335, 15).times(100).editor(300, 25000, 100).unit("rpm"),
        bytes(F::RPM_JET_1A_Rpm, "RPM_JET_1A", "Rpm", 350, 15).times(100).editor(300, 25000, 100).unit("rpm"),
        bytes(F::RPM_JET_2A_Rpm, "RPM_JET_2A", "Rpm", 365, 15).times(100).editor(300, 25000, 100).unit("rpm"),
        bytes(F::ADVANCE_Cell, "ADVANCE", "Cell", 400, 150).editor(0, 60).unit("°"),
        // Injection times; the map pages edit them as percent of a base time.
        words(F::JET_1A_Cell, "JET_1A", "Cell", 550, 150).unit("µs"),
        words(F::JET_2A_Cell, "JET_2A", "Cell", 850, 150).unit("µs"),
        field(F::MEMO_Text, "MEMO", "Text", 1150, Width::Byte, 199, Kind::Text),
        bytes(F::MEMO_Terminator, "MEMO", "Terminator", 1349).editor(0, 0),
    }};
}();
// clang-format on

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
