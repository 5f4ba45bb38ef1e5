#include "model/parameter_file_sections.h"

#include <array>

#include "model/field_table.h"

namespace zelvor::model::file_format {

namespace {

using F = Field;

constexpr Item v(Field field, Rule rule = Rule::Raw, std::uint16_t factor = 1) {
    return {ItemKind::Values, field, static_cast<std::uint8_t>(descriptor(field).count), rule,
            factor,           false};
}
constexpr Item times(Field field, std::uint16_t factor) {
    return v(field, Rule::Times, factor);
}
constexpr Item map(Field field) {
    Item item = v(field);
    item.rowPerLine = true;
    return item;
}
constexpr Item C{ItemKind::Continuation};
constexpr Item IdleC{ItemKind::IdleContinuation};
constexpr Item NL{ItemKind::LineBreak};

constexpr Item kBike[] = {v(F::BIKE_BikeType), C};
constexpr Item kAps[] = {v(F::APS_ApsTlak1), v(F::APS_ApsNapeti1), v(F::APS_ApsTlak2),
                         v(F::APS_ApsNapeti2)};
constexpr Item kWaterTemp[] = {v(F::WATER_TEMP_SENSOR_CidloTVoda)};
constexpr Item kAirTemp[] = {v(F::AIR_TEMP_SENSOR_CidloTVzduch)};
constexpr Item kInputs[] = {v(F::INPUTS_PinEngine23),     v(F::INPUTS_PinEngine14),
                            v(F::INPUTS_PinBody11),       v(F::INPUTS_AktClutchMaster),
                            v(F::INPUTS_AktStartLimiter), v(F::INPUTS_AktRpm)};
constexpr Item kLimiter[] = {times(F::LIMITER_StartLimiter, 100), times(F::LIMITER_IgnLimiter, 100),
                             times(F::LIMITER_JetLimiter, 100),
                             times(F::LIMITER_RetardLimiterRpm, 100),
                             v(F::LIMITER_RetardLimiterAdv)};
constexpr Item kTps[] = {times(F::TPS_Tps0, 10), v(F::TPS_Tps100, Rule::TpsHigh)};
constexpr Item kFan[] = {v(F::FAN_Fan1), v(F::FAN_Fan2)};
constexpr Item kRpm[] = {v(F::RPM_RpmPulsu), v(F::RPM_RpmKorekce, Rule::Signed)};
constexpr Item kNoFuelInd[] = {v(F::NO_FUEL_IND_NoFuelInd), NL};
constexpr Item kAdvanceMisc[] = {
    v(F::ADVANCE_MISC_UseTps), v(F::ADVANCE_MISC_CylKor1, Rule::Signed),
    v(F::ADVANCE_MISC_CylKor2, Rule::Signed), v(F::ADVANCE_MISC_BaseAdv)};
constexpr Item kRpmAdv[] = {times(F::RPM_ADV_Rpm, 100)};
constexpr Item kAdvance[] = {map(F::ADVANCE_Cell)};
constexpr Item kJet1Misc[] = {v(F::JET1_MISC_Jet123Mode)};
constexpr Item kRpmJet1[] = {times(F::RPM_JET_1A_Rpm, 100)};
constexpr Item kJet1[] = {map(F::JET_1A_Cell)};
constexpr Item kRpmJet2[] = {times(F::RPM_JET_2A_Rpm, 100)};
constexpr Item kJet2[] = {map(F::JET_2A_Cell)};
constexpr Item kPosition[] = {v(F::POSITION_A_PolohaA), C, times(F::POSITION_A_Rpm, 100), C,
                              times(F::POSITION_A_Angle, 5)};
constexpr Item kIdle[] = {v(F::IDLE_IdleMode),
                          v(F::IDLE_IdleRpmMez, Rule::IdleRpm),
                          v(F::IDLE_IdleTpsMez),
                          v(F::IDLE_IdleSmerReg),
                          times(F::IDLE_IdleStepPerioda, 250),
                          times(F::IDLE_IdleHyster, 10),
                          v(F::IDLE_IdleAdvNaRpm),
                          v(F::IDLE_IdleAdvNaCas),
                          v(F::IDLE_IdleMaxAdv),
                          IdleC,
                          v(F::IDLE_IdleRpmPoz, Rule::IdleRpm),
                          C};
constexpr Item kChoke[] = {v(F::CHOKE_SyticCas), C, v(F::CHOKE_SyticKorekce, Rule::PlusHundred)};
constexpr Item kStartInj[] = {v(F::START_INJ_StartJet), C};
constexpr Item kInjCorr[] = {v(F::INJ_CORR_KorVoda), C, v(F::INJ_CORR_KorVzduch)};
constexpr Item kAccel[] = {times(F::ACCEL_AkcelPrah, 10), times(F::ACCEL_AkcelJet, 50)};
// The advance correction by coolant temperature is kept as the stored byte
// (degrees + 100); files in use depend on that.
constexpr Item kAdvanceCorr[] = {v(F::ADVANCE_CORR_IgnVoda), C};
// Delay before build-up time, for gas and for retard alike.
constexpr Item kN2o[] = {
    v(F::N2O_Gas, Rule::Flag), C, v(F::N2O_Gas1),    v(F::N2O_Gas2),    times(F::N2O_GasD, 100),
    times(F::N2O_GasT, 100),   C, v(F::N2O_Retard1), v(F::N2O_Retard2), times(F::N2O_RetardD, 100),
    times(F::N2O_RetardT, 100)};
constexpr Item kSpeedPulses[] = {v(F::SPEED_PULSES_SpeedMode), v(F::SPEED_PULSES_PulsuProSpeed), C};
constexpr Item kGear[] = {v(F::GEAR_GearSystem), v(F::GEAR_PocetGear), C, C,
                          v(F::GEAR_PomerRpmSpeed)};
constexpr Item kGearAuto[] = {v(F::GEAR_AUTO_GearAutoTime), times(F::GEAR_AUTO_GearAutoRpm, 100),
                              v(F::GEAR_AUTO_GearAutoTps), v(F::GEAR_AUTO_GearAutoBand)};
constexpr Item kGearCorr[] = {v(F::GEAR_CORR_GearKorAdv, Rule::Signed), C,
                              v(F::GEAR_CORR_GearKorJet)};
constexpr Item kPilotLight[] = {times(F::PILOT_LIGHT_PilotLight1, 100), C,
                                times(F::PILOT_LIGHT_PilotLight2, 100)};
constexpr Item kClutch[] = {v(F::CLUTCH_ClutchMode),
                            times(F::CLUTCH_ClutchMinRpm, 100),
                            v(F::CLUTCH_ClutchJet),
                            v(F::CLUTCH_ClutchAdv),
                            C,
                            times(F::CLUTCH_ClutchTime, 10),
                            C,
                            times(F::CLUTCH_ClutchPause, 10),
                            NL};
constexpr Item kDisplay[] = {v(F::DISPLAY_TempDisplay, Rule::FlagLast), C, NL};

constexpr std::size_t kWide = 19;
constexpr std::size_t kIdleWidth = 14;

constexpr std::array<Section, 33> kSections = {{
    {"BIKE", kSectionNameWidth, kBike},
    {"APS", kSectionNameWidth, kAps},
    {"WATER_TEMP_SENSOR", kWide, kWaterTemp},
    {"AIR_TEMP_SENSOR", kWide, kAirTemp},
    {"INPUTS", kSectionNameWidth, kInputs},
    {"LIMITER", kSectionNameWidth, kLimiter},
    {"TPS", kSectionNameWidth, kTps},
    {"FAN", kSectionNameWidth, kFan},
    {"RPM", kSectionNameWidth, kRpm},
    {"NO_FUEL_IND", kWide, kNoFuelInd},
    {"ADVANCE_MISC", kSectionNameWidth, kAdvanceMisc},
    {"RPM_ADV", kSectionNameWidth, kRpmAdv},
    {"ADVANCE", kSectionNameWidth, kAdvance},
    {"JET1_MISC", kSectionNameWidth, kJet1Misc},
    {"RPM_JET_1A", kSectionNameWidth, kRpmJet1},
    {"JET_1A", kSectionNameWidth, kJet1},
    {"RPM_JET_2A", kSectionNameWidth, kRpmJet2},
    {"JET_2A", kSectionNameWidth, kJet2},
    {"POSITION_A", kSectionNameWidth, kPosition},
    {"IDLE", kIdleWidth, kIdle},
    {"CHOKE", kSectionNameWidth, kChoke},
    {"START_INJ", kSectionNameWidth, kStartInj},
    {"INJ_CORR", kSectionNameWidth, kInjCorr},
    {"ACCEL", kSectionNameWidth, kAccel},
    {"ADVANCE_CORR", kSectionNameWidth, kAdvanceCorr},
    {"N2O", kSectionNameWidth, kN2o},
    {"SPEED_PULSES", kSectionNameWidth, kSpeedPulses},
    {"GEAR", kSectionNameWidth, kGear},
    {"GEAR_AUTO", kSectionNameWidth, kGearAuto},
    {"GEAR_CORR", kSectionNameWidth, kGearCorr},
    {"PILOT_LIGHT", kSectionNameWidth, kPilotLight},
    {"CLUTCH", kSectionNameWidth, kClutch},
    {"DISPLAY", kSectionNameWidth, kDisplay},
}};

// Every field outside FIXED and MEMO is in the file exactly once, in the
// section named like the field's own section.
constexpr bool coversEveryTunableFieldOnce() {
    std::array<int, kFieldCount> seen{};
    for (const Section& section : kSections) {
        for (const Item& item : section.items) {
            if (item.kind != ItemKind::Values) continue;
            const FieldDescriptor& d = descriptor(item.field);
            if (d.section != section.name) return false;
            if (item.count != d.count || item.factor == 0) return false;
            if (d.width == Width::Word && item.rule != Rule::Raw) return false;
            ++seen[static_cast<std::size_t>(item.field)];
        }
    }
    for (const FieldDescriptor& d : kFieldTable) {
        const bool inFile = d.section != "FIXED" && d.section != "MEMO";
        if (seen[static_cast<std::size_t>(d.id)] != (inFile ? 1 : 0)) return false;
    }
    return true;
}
static_assert(coversEveryTunableFieldOnce(), "parameter file sections out of step with fields");

}  // namespace

std::span<const Section> sections() {
    return kSections;
}

const Section* findSection(std::string_view name) {
    for (const Section& section : kSections) {
        if (section.name == name) return &section;
    }
    return nullptr;
}

}  // namespace zelvor::model::file_format
