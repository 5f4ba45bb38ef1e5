#include "model/parameter_file_sections.h"

#include <array>

#include "model/field_table.h"

namespace zelvor::model::file_format {

namespace {

using F = Field;

constexpr Item v(Field field) {
    return {ItemKind::Values, field, static_cast<std::uint8_t>(descriptor(field).count)};
}
constexpr Item map(Field field) {
    Item item = v(field);
    item.rowPerLine = true;
    return item;
}
constexpr Item last(Field field) {
    Item item = v(field);
    item.noTrailingSpace = true;
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
constexpr Item kLimiter[] = {v(F::LIMITER_StartLimiter), v(F::LIMITER_IgnLimiter),
                             v(F::LIMITER_JetLimiter), v(F::LIMITER_RetardLimiterRpm),
                             v(F::LIMITER_RetardLimiterAdv)};
constexpr Item kTps[] = {v(F::TPS_Tps0), v(F::TPS_Tps100)};
constexpr Item kFan[] = {v(F::FAN_Fan1), v(F::FAN_Fan2)};
constexpr Item kRpm[] = {v(F::RPM_RpmPulsu), v(F::RPM_RpmKorekce)};
constexpr Item kNoFuelInd[] = {v(F::NO_FUEL_IND_NoFuelInd), NL};
constexpr Item kAdvanceMisc[] = {v(F::ADVANCE_MISC_UseTps), v(F::ADVANCE_MISC_CylKor1),
                                 v(F::ADVANCE_MISC_CylKor2), v(F::ADVANCE_MISC_BaseAdv)};
constexpr Item kRpmAdv[] = {v(F::RPM_ADV_Rpm)};
constexpr Item kAdvance[] = {map(F::ADVANCE_Cell)};
constexpr Item kJet1Misc[] = {v(F::JET1_MISC_Jet123Mode)};
constexpr Item kRpmJet1[] = {v(F::RPM_JET_1A_Rpm)};
constexpr Item kJet1[] = {map(F::JET_1A_Cell)};
constexpr Item kRpmJet2[] = {v(F::RPM_JET_2A_Rpm)};
constexpr Item kJet2[] = {map(F::JET_2A_Cell)};
constexpr Item kPosition[] = {v(F::POSITION_A_PolohaA), C, v(F::POSITION_A_Rpm), C,
                              v(F::POSITION_A_Angle)};
constexpr Item kIdle[] = {v(F::IDLE_IdleMode),        v(F::IDLE_IdleRpmMez),
                          v(F::IDLE_IdleTpsMez),      v(F::IDLE_IdleSmerReg),
                          v(F::IDLE_IdleStepPerioda), v(F::IDLE_IdleHyster),
                          v(F::IDLE_IdleAdvNaRpm),    v(F::IDLE_IdleAdvNaCas),
                          v(F::IDLE_IdleMaxAdv),      IdleC,
                          v(F::IDLE_IdleRpmPoz),      C};
constexpr Item kChoke[] = {v(F::CHOKE_SyticCas), C, v(F::CHOKE_SyticKorekce)};
constexpr Item kStartInj[] = {v(F::START_INJ_StartJet), C};
constexpr Item kInjCorr[] = {v(F::INJ_CORR_KorVoda), C, v(F::INJ_CORR_KorVzduch)};
constexpr Item kAccel[] = {v(F::ACCEL_AkcelPrah), v(F::ACCEL_AkcelJet)};
constexpr Item kAdvanceCorr[] = {v(F::ADVANCE_CORR_IgnVoda), C};
// Delay before build-up time, for gas and for retard alike.
constexpr Item kN2o[] = {
    v(F::N2O_Gas),    C, v(F::N2O_Gas1),    v(F::N2O_Gas2),    v(F::N2O_GasD),
    v(F::N2O_GasT),   C, v(F::N2O_Retard1), v(F::N2O_Retard2), v(F::N2O_RetardD),
    v(F::N2O_RetardT)};
constexpr Item kSpeedPulses[] = {v(F::SPEED_PULSES_SpeedMode), v(F::SPEED_PULSES_PulsuProSpeed), C};
constexpr Item kGear[] = {v(F::GEAR_GearSystem), v(F::GEAR_PocetGear), C, C,
                          v(F::GEAR_PomerRpmSpeed)};
constexpr Item kGearAuto[] = {v(F::GEAR_AUTO_GearAutoTime), v(F::GEAR_AUTO_GearAutoRpm),
                              v(F::GEAR_AUTO_GearAutoTps), v(F::GEAR_AUTO_GearAutoBand)};
constexpr Item kGearCorr[] = {v(F::GEAR_CORR_GearKorAdv), C, v(F::GEAR_CORR_GearKorJet)};
constexpr Item kPilotLight[] = {v(F::PILOT_LIGHT_PilotLight1), C, v(F::PILOT_LIGHT_PilotLight2)};
constexpr Item kClutch[] = {v(F::CLUTCH_ClutchMode),
                            v(F::CLUTCH_ClutchMinRpm),
                            v(F::CLUTCH_ClutchJet),
                            v(F::CLUTCH_ClutchAdv),
                            C,
                            v(F::CLUTCH_ClutchTime),
                            C,
                            v(F::CLUTCH_ClutchPause),
                            NL};
constexpr Item kDisplay[] = {last(F::DISPLAY_TempDisplay), C, NL};

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
            if (item.count != d.count) return false;
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

std::int32_t fileNumber(const FieldDescriptor& field, unsigned stored) {
    switch (field.fileForm) {
        case FileForm::Engineering:
            return field.toEngineering(stored);
        case FileForm::Stored:
            return static_cast<std::int32_t>(stored);
        case FileForm::Flag:
            return stored != 0 ? 1 : 0;
    }
    return static_cast<std::int32_t>(stored);
}

unsigned storedFromFile(const FieldDescriptor& field, std::int32_t number) {
    if (field.fileForm == FileForm::Engineering) return field.toStored(number);
    return static_cast<unsigned>(number) & field.storedMask();
}

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
