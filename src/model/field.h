#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvor::model {

// Every named field of the parameter image. The enumerator name is the field's
// "SECTION.Field" name with the dot replaced by an underscore; the order is the
// order of the field table (kFieldTable), which a static check keeps in step.
enum class Field : std::uint16_t {
    BIKE_BikeType,
    FIXED_Byte2,
    FIXED_Byte3,
    FIXED_Byte4,
    FIXED_Byte5,
    APS_ApsTlak1,
    APS_ApsNapeti1,
    APS_ApsTlak2,
    APS_ApsNapeti2,
    NO_FUEL_IND_NoFuelInd,
    INPUTS_AktClutchMaster,
    INPUTS_AktStartLimiter,
    INPUTS_AktRpm,
    LIMITER_StartLimiter,
    LIMITER_IgnLimiter,
    LIMITER_JetLimiter,
    LIMITER_RetardLimiterRpm,
    LIMITER_RetardLimiterAdv,
    TPS_Tps0,
    TPS_Tps100,
    FAN_Fan1,
    RPM_RpmPulsu,
    RPM_RpmKorekce,
    INPUTS_PinEngine23,
    INPUTS_PinEngine14,
    INPUTS_PinBody11,
    FAN_Fan2,
    ADVANCE_MISC_UseTps,
    ADVANCE_MISC_CylKor1,
    ADVANCE_MISC_CylKor2,
    ADVANCE_MISC_BaseAdv,
    JET1_MISC_Jet123Mode,
    POSITION_A_PolohaA,
    CHOKE_SyticCas,
    CHOKE_SyticKorekce,
    INJ_CORR_KorVoda,
    INJ_CORR_KorVzduch,
    ACCEL_AkcelPrah,
    ACCEL_AkcelJet,
    START_INJ_StartJet,
    ADVANCE_CORR_IgnVoda,
    N2O_Gas,
    N2O_Gas1,
    N2O_Gas2,
    N2O_GasT,
    N2O_GasD,
    N2O_Retard1,
    N2O_Retard2,
    N2O_RetardT,
    N2O_RetardD,
    DISPLAY_TempDisplay,
    PILOT_LIGHT_PilotLight1,
    PILOT_LIGHT_PilotLight2,
    CLUTCH_ClutchMode,
    CLUTCH_ClutchTime,
    CLUTCH_ClutchPause,
    CLUTCH_ClutchMinRpm,
    CLUTCH_ClutchJet,
    CLUTCH_ClutchAdv,
    GEAR_GearSystem,
    GEAR_PocetGear,
    SPEED_PULSES_SpeedMode,
    GEAR_AUTO_GearAutoTime,
    GEAR_AUTO_GearAutoRpm,
    GEAR_AUTO_GearAutoTps,
    GEAR_AUTO_GearAutoBand,
    SPEED_PULSES_PulsuProSpeed,
    GEAR_PomerRpmSpeed,
    GEAR_CORR_GearKorAdv,
    GEAR_CORR_GearKorJet,
    FIXED_Byte191,
    FIXED_Byte192,
    FIXED_Byte193,
    WATER_TEMP_SENSOR_CidloTVoda,
    AIR_TEMP_SENSOR_CidloTVzduch,
    FIXED_Table214,
    IDLE_IdleMode,
    IDLE_IdleRpmMez,
    IDLE_IdleTpsMez,
    IDLE_IdleSmerReg,
    IDLE_IdleStepPerioda,
    IDLE_IdleHyster,
    IDLE_IdleAdvNaRpm,
    IDLE_IdleAdvNaCas,
    IDLE_IdleMaxAdv,
    IDLE_IdleRpmPoz,
    FIXED_Byte252,
    FIXED_Byte253,
    FIXED_Byte254,
    FIXED_Byte261,
    FIXED_Byte262,
    FIXED_Byte265,
    FIXED_Byte266,
    FIXED_Byte267,
    FIXED_Byte268,
    FIXED_Byte269,
    FIXED_Byte270,
    FIXED_Byte271,
    FIXED_Byte272,
    FIXED_Byte275,
    FIXED_Byte276,
    POSITION_A_Rpm,
    POSITION_A_Angle,
    RPM_ADV_Rpm,
    RPM_JET_1A_Rpm,
    RPM_JET_2A_Rpm,
    ADVANCE_Cell,
    JET_1A_Cell,
    JET_2A_Cell,
    MEMO_Text,
    MEMO_Terminator,
    Count
};

inline constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::Count);

enum class Width : std::uint8_t { Byte, Word };

// How the value a tuner sees (the engineering value) follows from the stored
// value:
//   engineering = stored * scale + bias
// Signed fields are stored as value + 100 (bias -100) and shown with a sign.
// Text marks the memo, which is a byte string rather than a number.
enum class Kind : std::uint8_t { Number, Signed, Text };

// How an engineering value goes back to the stored value. Both divisions
// truncate, and the result is kept modulo the field's width.
enum class StoreOrder : std::uint8_t {
    BiasFirst,    // stored = (engineering - bias) / scale
    DivideFirst,  // stored = engineering / scale - bias / scale
};

// How a parameter file holds a field.
enum class FileForm : std::uint8_t {
    Engineering,  // the engineering value, signed fields with their sign
    Stored,       // the stored value as it is
    Flag,         // 1 for any non-zero stored value, else 0; read back as it is
};

// The values an editor offers, in engineering units: minimum..maximum in
// steps of step. For lists and check boxes these are the item indexes.
struct EditorRange {
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t step;

    friend constexpr bool operator==(const EditorRange&, const EditorRange&) = default;
};

struct FieldDescriptor {
    Field id;
    std::string_view section;
    std::string_view name;
    std::uint16_t offset;
    Width width;
    std::uint16_t count;
    std::int32_t scale;
    std::int32_t bias;
    Kind kind;
    StoreOrder storeOrder;
    FileForm fileForm;
    EditorRange range;
    std::string_view unit;  // of the engineering value; empty for counts, indexes and flags

    constexpr std::size_t elementSize() const { return width == Width::Word ? 2 : 1; }
    constexpr std::size_t byteLength() const { return elementSize() * count; }
    constexpr std::size_t offsetOf(std::size_t index) const {
        return offset + index * elementSize();
    }
    constexpr bool isSigned() const { return kind == Kind::Signed; }
    constexpr unsigned storedMask() const { return width == Width::Word ? 0xFFFFu : 0xFFu; }

    // The engineering value of a stored value.
    constexpr std::int32_t toEngineering(unsigned stored) const {
        return static_cast<std::int32_t>(stored) * scale + bias;
    }
    // The stored value of an engineering value, taken modulo the width (so a
    // result of -250 in a byte is 6).
    constexpr unsigned toStored(std::int32_t engineering) const {
        const std::int32_t value = storeOrder == StoreOrder::DivideFirst
                                       ? engineering / scale - bias / scale
                                       : (engineering - bias) / scale;
        return static_cast<unsigned>(value) & storedMask();
    }
};

}  // namespace zelvor::model
