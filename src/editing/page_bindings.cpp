#include "editing/page_bindings.h"

#include <array>

#include "editing/memo_text.h"
#include "editing/page_index.h"

namespace zelvor::editing {

namespace {

using model::Field;
using C = Conversion;

// The spinner sits at the right edge of its edit.
constexpr int kRightOfEdit = -1;

// Geometry of one run-time editor array: element i has its edit at
// (leftBase + i * leftStep, topBase + i * topStep) and its spinner at
// spinnerLeft + i * leftStep.
struct EditorLayout {
    std::string_view parent;
    std::string_view topAnchor;
    int leftBase;
    int leftStep;
    int topBase;
    int topStep;
    int width;
    int spinnerLeft;
};

constexpr EditorLayout kPolohaARpm{"GroupBoxPolohaA", "LabelPolohaA_1", 44, 60, -3, 0, 40, 84};
constexpr EditorLayout kPolohaAAngle{"GroupBoxPolohaA", "LabelPolohaA_2", 44, 60, -3, 0, 40, 84};
constexpr EditorLayout kKorVoda{"GroupBoxKorVodaVzduch", "", 85, 0, 65, 39, 40, 123};
constexpr EditorLayout kKorVzduch{"GroupBoxKorVodaVzduch", "", 165, 0, 65, 39, 40, 203};
constexpr EditorLayout kIgnVoda{"GroupBoxIgnVoda", "", 85, 0, 65, 39, 40, 123};
constexpr EditorLayout kCidloTVoda{"GroupBoxCidloTVodaVzduch", "", 85, 0, 65, 39, 40, 123};
constexpr EditorLayout kCidloTVzduch{"GroupBoxCidloTVodaVzduch", "", 165, 0, 65, 39, 40, 203};
constexpr EditorLayout kPomerRpmSpeed{"GroupBoxRpmSpeedProGear", "", 24, 0, 65, 39, 40, 123};
constexpr EditorLayout kGearKorAdv{"GroupBoxGearKor", "", 24, 0, 65, 39, 30, 54};
constexpr EditorLayout kGearKorJet{"GroupBoxGearKor", "", 102, 0, 65, 39, 30, 132};
constexpr EditorLayout kPilotLight1{"GroupBoxClutch", "", 24, 0, 65, 39, 42, kRightOfEdit};
constexpr EditorLayout kPilotLight2{"GroupBoxClutch", "", 114, 0, 65, 39, 42, kRightOfEdit};
constexpr EditorLayout kClutchTime{"GroupBoxClutch", "", 254, 0, 65, 39, 42, kRightOfEdit};
constexpr EditorLayout kClutchPause{"GroupBoxClutch", "", 394, 0, 65, 39, 42, kRightOfEdit};
constexpr EditorLayout kIdleRpmPoz{"GroupBoxIdleRpmPoz", "LabelIdleRpmPoz1", 30, 0, -4, 39, 42,
                                   kRightOfEdit};

// One line of a page table: a single control, or a run-time array of count
// editors bound to consecutive field elements.
struct Row {
    int page;
    std::string_view control;
    std::string_view edit;
    ControlKind kind;
    Field field;
    std::uint16_t fieldIndex;
    Conversion conversion;
    int minimum;
    int maximum;
    int step;
    int count = 0;
    const EditorLayout* layout = nullptr;
    std::optional<int> start = std::nullopt;
};

constexpr Row spinner(int page, std::string_view control, std::string_view edit, Field field,
                      Conversion conversion, int minimum, int maximum, int step = 1,
                      std::uint16_t fieldIndex = 0) {
    return {page,    control, edit, ControlKind::Spinner, field, fieldIndex, conversion,
            minimum, maximum, step};
}

constexpr Row editors(int page, std::string_view control, std::string_view edit, int count,
                      const EditorLayout& layout, Field field, Conversion conversion, int minimum,
                      int maximum, int step = 1, std::optional<int> start = std::nullopt) {
    return {
        page,  control, edit, ControlKind::Spinner, field, 0, conversion, minimum, maximum, step,
        count, &layout, start};
}

constexpr Row check(int page, std::string_view control, Field field) {
    return {page, control, "", ControlKind::CheckBox, field, 0, C::Raw, 0, 1, 1};
}

constexpr Row radio(int page, std::string_view control, Field field, int items) {
    return {page, control, "", ControlKind::RadioGroup, field, 0, C::Raw, 0, items - 1, 1};
}

// clang-format off
constexpr Row kRows[] = {
    // Bike page.
    {kPageBike, "ComboBoxBike", "", ControlKind::ComboBox, Field::BIKE_BikeType, 0, C::Raw, 0, 8, 1},
    check(kPageBike, "CheckBoxNoFuelInd", Field::NO_FUEL_IND_NoFuelInd),
    check(kPageBike, "CheckBoxAktClutchMaster", Field::INPUTS_AktClutchMaster),
    check(kPageBike, "CheckBoxAktRpm", Field::INPUTS_AktRpm),
    check(kPageBike, "CheckBoxAktStartLimiter", Field::INPUTS_AktStartLimiter),
    spinner(kPageBike, "UpDownStartLimiter", "EditStartLimiter", Field::LIMITER_StartLimiter, C::Div100, 900, 25000, 100),
    spinner(kPageBike, "UpDownIgnLimiter", "EditIgnLimiter", Field::LIMITER_IgnLimiter, C::Div100, 900, 25000, 100),
    spinner(kPageBike, "UpDownJetLimiter", "EditJetLimiter", Field::LIMITER_JetLimiter, C::Div100, 900, 25000, 100),
    spinner(kPageBike, "UpDownRetardLimiterRpm", "EditRetardLimiterRpm", Field::LIMITER_RetardLimiterRpm, C::Div100, 900, 25000, 100),
    spinner(kPageBike, "UpDownRetardLimiterAdv", "EditRetardLimiterAdv", Field::LIMITER_RetardLimiterAdv, C::Raw, 1, 250),
    spinner(kPageBike, "UpDownFan1", "EditFan1", Field::FAN_Fan1, C::Raw, 0, 150),
    spinner(kPageBike, "UpDownFan2", "EditFan2", Field::FAN_Fan2, C::Raw, 0, 150),
    spinner(kPageBike, "UpDownRpmPulsu", "EditRpmPulsu", Field::RPM_RpmPulsu, C::Raw, 0, 6),
    spinner(kPageBike, "UpDownRpmKorekce", "EditRpmKorekce", Field::RPM_RpmKorekce, C::Plus100, -60, 60),
    radio(kPageBike, "RadioGroupPinEngine23", Field::INPUTS_PinEngine23, 2),
    radio(kPageBike, "RadioGroupPinEngine14", Field::INPUTS_PinEngine14, 2),
    radio(kPageBike, "RadioGroupPinBody11", Field::INPUTS_PinBody11, 2),
    {kPageBike, "Memo1", "", ControlKind::Memo, Field::MEMO_Text, 0, C::Raw, 0, static_cast<int>(kMemoLength), 1},

    // Injection position page.
    editors(kPagePoloha, "UpDownPolohaARpm", "EditPolohaARpm", 15, kPolohaARpm, Field::POSITION_A_Rpm, C::Div100, 300, 25000, 100),
    editors(kPagePoloha, "UpDownPolohaAAngle", "EditPolohaAAngle", 15, kPolohaAAngle, Field::POSITION_A_Angle, C::Div5, 0, 720, 5),
    radio(kPagePoloha, "RadioGroupPolohaA", Field::POSITION_A_PolohaA, 3),

    // Corrections page.
    editors(kPageKorekce, "UpDownKorVoda", "EditKorVoda", 5, kKorVoda, Field::INJ_CORR_KorVoda, C::Raw, 10, 250),
    editors(kPageKorekce, "UpDownKorVzduch", "EditKorVzduch", 5, kKorVzduch, Field::INJ_CORR_KorVzduch, C::Raw, 10, 250),
    editors(kPageKorekce, "UpDownIgnVoda", "EditIgnVoda", 5, kIgnVoda, Field::ADVANCE_CORR_IgnVoda, C::Plus100, -20, 20),
    spinner(kPageKorekce, "UpDownSyticCas1", "EditSyticCas1", Field::CHOKE_SyticCas, C::Raw, 0, 250, 1, 0),
    spinner(kPageKorekce, "UpDownSyticCas2", "EditSyticCas2", Field::CHOKE_SyticCas, C::Raw, 0, 250, 1, 1),
    spinner(kPageKorekce, "UpDownSyticCas3", "EditSyticCas3", Field::CHOKE_SyticCas, C::Raw, 0, 250, 1, 2),
    spinner(kPageKorekce, "UpDownSyticCas4", "EditSyticCas4", Field::CHOKE_SyticCas, C::Raw, 0, 250, 1, 3),
    spinner(kPageKorekce, "UpDownSyticKorekce0", "EditSyticKorekce0", Field::CHOKE_SyticKorekce, C::Minus100, 100, 350, 1, 0),
    spinner(kPageKorekce, "UpDownSyticKorekce1", "EditSyticKorekce1", Field::CHOKE_SyticKorekce, C::Minus100, 100, 350, 1, 1),
    spinner(kPageKorekce, "UpDownSyticKorekce2", "EditSyticKorekce2", Field::CHOKE_SyticKorekce, C::Minus100, 100, 350, 1, 2),
    spinner(kPageKorekce, "UpDownSyticKorekce3", "EditSyticKorekce3", Field::CHOKE_SyticKorekce, C::Minus100, 100, 350, 1, 3),
    spinner(kPageKorekce, "UpDownAkcelPrah", "EditAkcelPrah", Field::ACCEL_AkcelPrah, C::Div10, 10, 2500, 10),
    spinner(kPageKorekce, "UpDownAkcelJet", "EditAkcelJet", Field::ACCEL_AkcelJet, C::Div50, 0, 7500, 50),
    spinner(kPageKorekce, "UpDownStartJet", "EditStartJet", Field::START_INJ_StartJet, C::Raw, 0, 50),

    // Sensors page.
    spinner(kPageCidla, "UpDownTps0", "EditTps0", Field::TPS_Tps0, C::Div10, 0, 2500, 10),
    spinner(kPageCidla, "UpDownTps100", "EditTps100", Field::TPS_Tps100, C::Tps100, 2500, 5000, 10),
    spinner(kPageCidla, "UpDownApsTlak1", "EditApsTlak1", Field::APS_ApsTlak1, C::Raw, 0, 1000),
    spinner(kPageCidla, "UpDownApsNapeti1", "EditApsNapeti1", Field::APS_ApsNapeti1, C::Raw, 0, 25000),
    spinner(kPageCidla, "UpDownApsTlak2", "EditApsTlak2", Field::APS_ApsTlak2, C::Raw, 0, 1000),
    spinner(kPageCidla, "UpDownApsNapeti2", "EditApsNapeti2", Field::APS_ApsNapeti2, C::Raw, 0, 25000),
    editors(kPageCidla, "UpDownCidloTVoda", "EditCidloTVoda", 5, kCidloTVoda, Field::WATER_TEMP_SENSOR_CidloTVoda, C::Raw, 0, 5000),
    editors(kPageCidla, "UpDownCidloTVzduch", "EditCidloTVzduch", 5, kCidloTVzduch, Field::AIR_TEMP_SENSOR_CidloTVzduch, C::Raw, 0, 5000),

    // Idle page.
    radio(kPageIdle, "RadioGroupIdleMode", Field::IDLE_IdleMode, 3),
    spinner(kPageIdle, "UpDownIdleRpmMez", "EditIdleRpmMez", Field::IDLE_IdleRpmMez, C::Idle, 500, 3000, 10),
    spinner(kPageIdle, "UpDownIdleTpsMez", "EditIdleTpsMez", Field::IDLE_IdleTpsMez, C::Raw, 1, 100),
    check(kPageIdle, "CheckBoxIdleSmerReg", Field::IDLE_IdleSmerReg),
    spinner(kPageIdle, "UpDownIdleStepPerioda", "EditIdleStepPerioda", Field::IDLE_IdleStepPerioda, C::Div250, 250, 25000, 250),
    spinner(kPageIdle, "UpDownIdleHyster", "EditIdleHyster", Field::IDLE_IdleHyster, C::Div10, 0, 2500, 10),
    spinner(kPageIdle, "UpDownIdleAdvNaRpm", "EditIdleAdvNaRpm", Field::IDLE_IdleAdvNaRpm, C::Raw, 0, 250),
    spinner(kPageIdle, "UpDownIdleAdvNaCas", "EditIdleAdvNaCas", Field::IDLE_IdleAdvNaCas, C::Raw, 0, 250),
    spinner(kPageIdle, "UpDowndleMaxAdv", "EditIdleMaxAdv", Field::IDLE_IdleMaxAdv, C::Raw, 1, 100),
    editors(kPageIdle, "UpDownIdleRpmPoz", "EditIdleRpmPoz", 6, kIdleRpmPoz, Field::IDLE_IdleRpmPoz, C::Idle, 500, 3000, 10, 1000),

    // N2O page.
    check(kPageGas, "CheckBoxGas", Field::N2O_Gas),
    spinner(kPageGas, "UpDownGas1", "EditGas1", Field::N2O_Gas1, C::Raw, 0, 100),
    spinner(kPageGas, "UpDownGas2", "EditGas2", Field::N2O_Gas2, C::Raw, 0, 100),
    spinner(kPageGas, "UpDownGasD", "EditGasD", Field::N2O_GasD, C::Div100, 0, 25500, 100),
    spinner(kPageGas, "UpDownGasT", "EditGasT", Field::N2O_GasT, C::Div100, 0, 25500, 100),
    spinner(kPageGas, "UpDownRetard1", "EditRetard1", Field::N2O_Retard1, C::Raw, 0, 25),
    spinner(kPageGas, "UpDownRetard2", "EditRetard2", Field::N2O_Retard2, C::Raw, 0, 25),
    spinner(kPageGas, "UpDownRetardD", "EditRetardD", Field::N2O_RetardD, C::Div100, 0, 25500, 100),
    spinner(kPageGas, "UpDownRetardT", "EditRetardT", Field::N2O_RetardT, C::Div100, 0, 25500, 100),

    // Race page.
    editors(kPageRace, "UpDownClutchTime", "EditClutchTime", 6, kClutchTime, Field::CLUTCH_ClutchTime, C::Div10, 0, 2500, 10),
    editors(kPageRace, "UpDownClutchPause", "EditClutchPause", 6, kClutchPause, Field::CLUTCH_ClutchPause, C::Div10, 0, 2500, 100),
    editors(kPageRace, "UpDownPilotLight1", "EditPilotLight1", 6, kPilotLight1, Field::PILOT_LIGHT_PilotLight1, C::Div100, 900, 25000, 100, 15000),
    editors(kPageRace, "UpDownPilotLight2", "EditPilotLight2", 6, kPilotLight2, Field::PILOT_LIGHT_PilotLight2, C::Div100, 900, 25000, 100, 15000),
    radio(kPageRace, "RadioGroupClutchMode", Field::CLUTCH_ClutchMode, 2),
    spinner(kPageRace, "UpDownClutchMinRpm", "EditClutchMinRpm", Field::CLUTCH_ClutchMinRpm, C::Div100, 1000, 25000, 100),
    spinner(kPageRace, "UpDownClutchJet", "EditClutchJet", Field::CLUTCH_ClutchJet, C::Raw, 0, 100),
    spinner(kPageRace, "UpDownClutchAdv", "EditClutchAdv", Field::CLUTCH_ClutchAdv, C::Raw, 0, 60),
    check(kPageRace, "CheckBoxTempDisplay", Field::DISPLAY_TempDisplay),

    // Gear page.
    radio(kPageGear, "RadioGroupGearSystem", Field::GEAR_GearSystem, 3),
    spinner(kPageGear, "UpDownPocetGear", "EditPocetGear", Field::GEAR_PocetGear, C::Raw, 1, 6),
    editors(kPageGear, "UpDownPomerRpmSpeed", "EditPomerRpmSpeed", 6, kPomerRpmSpeed, Field::GEAR_PomerRpmSpeed, C::Raw, 1, 32000),
    editors(kPageGear, "UpDownGearKorAdv", "EditGearKorAdv", 6, kGearKorAdv, Field::GEAR_CORR_GearKorAdv, C::Plus100, -20, 20),
    editors(kPageGear, "UpDownGearKorJet", "EditGearKorJet", 6, kGearKorJet, Field::GEAR_CORR_GearKorJet, C::Raw, 0, 255),
    spinner(kPageGear, "UpDownGearAutoTime", "EditGearAutoTime", Field::GEAR_AUTO_GearAutoTime, C::Raw, 1, 100),
    spinner(kPageGear, "UpDownGearAutoRpm", "EditGearAutoRpm", Field::GEAR_AUTO_GearAutoRpm, C::Div100, 300, 25000, 100),
    spinner(kPageGear, "UpDownGearAutoTps", "EditGearAutoTps", Field::GEAR_AUTO_GearAutoTps, C::Raw, 0, 100),
    spinner(kPageGear, "UpDownGearAutoBand", "EditGearAutoBand", Field::GEAR_AUTO_GearAutoBand, C::Raw, 1, 100),
    radio(kPageGear, "RadioGroupSpeedMode", Field::SPEED_PULSES_SpeedMode, 2),
    spinner(kPageGear, "UpDownPulsuProSpeed", "EditPulsuProSpeed", Field::SPEED_PULSES_PulsuProSpeed, C::Raw, 1, 32000),
};

// The run-time editors grouped as they are built: each inner list is built
// row by row, taking its editors from left to right within a row.
constexpr std::array<std::array<std::string_view, 4>, 9> kBuildGroups = {{
    {"UpDownPolohaARpm"},
    {"UpDownPolohaAAngle"},
    {"UpDownKorVoda", "UpDownKorVzduch"},
    {"UpDownIgnVoda"},
    {"UpDownCidloTVoda", "UpDownCidloTVzduch"},
    {"UpDownPomerRpmSpeed"},
    {"UpDownGearKorAdv", "UpDownGearKorJet"},
    {"UpDownPilotLight1", "UpDownPilotLight2", "UpDownClutchTime", "UpDownClutchPause"},
    {"UpDownIdleRpmPoz"},
}};
// clang-format on

EditorPlacement placementOf(const EditorLayout& layout, int i) {
    const int left = layout.leftBase + i * layout.leftStep;
    const int spinnerLeft = layout.spinnerLeft == kRightOfEdit
                                ? left + layout.width
                                : layout.spinnerLeft + i * layout.leftStep;
    return {layout.parent, layout.topAnchor, left, layout.topBase + i * layout.topStep,
            layout.width,  spinnerLeft};
}

struct Tables {
    std::vector<Binding> bindings;
    // bindings of page p are [pageStart[p], pageStart[p + 1]).
    std::array<std::size_t, kPageCount + 1> pageStart{};
};

Tables buildTables() {
    Tables t;
    for (const Row& row : kRows) {
        if (row.count == 0) {
            t.bindings.push_back({row.control, row.edit, -1, row.kind, row.field, row.fieldIndex,
                                  row.conversion, row.minimum, row.maximum, row.step, row.page,
                                  row.start, std::nullopt});
            continue;
        }
        for (int i = 0; i < row.count; ++i) {
            t.bindings.push_back({row.control, row.edit, i, row.kind, row.field,
                                  static_cast<std::uint16_t>(row.fieldIndex + i), row.conversion,
                                  row.minimum, row.maximum, row.step, row.page, row.start,
                                  placementOf(*row.layout, i)});
        }
    }
    // The rows are in page order, so each page is one contiguous run.
    std::size_t next = 0;
    for (int page = 0; page <= kPageCount; ++page) {
        while (next < t.bindings.size() && t.bindings[next].page < page) ++next;
        t.pageStart[static_cast<std::size_t>(page)] = next;
    }
    return t;
}

const Tables& tables() {
    static const Tables t = buildTables();
    return t;
}

}  // namespace

std::span<const Binding> allBindings() {
    return tables().bindings;
}

std::span<const Binding> pageBindings(int page) {
    if (page < 0 || page >= kPageCount) return {};
    const Tables& t = tables();
    const auto p = static_cast<std::size_t>(page);
    return std::span<const Binding>(t.bindings)
        .subspan(t.pageStart[p], t.pageStart[p + 1] - t.pageStart[p]);
}

const Binding* findBinding(std::string_view control, int element) {
    for (const Binding& b : tables().bindings) {
        if (b.control == control && b.element == element) return &b;
    }
    return nullptr;
}

std::vector<const Binding*> tableEditorBuildOrder() {
    std::vector<const Binding*> order;
    for (const auto& group : kBuildGroups) {
        for (int i = 0;; ++i) {
            bool any = false;
            for (std::string_view control : group) {
                if (control.empty()) continue;
                if (const Binding* b = findBinding(control, i)) {
                    order.push_back(b);
                    any = true;
                }
            }
            if (!any) break;
        }
    }
    return order;
}

}  // namespace zelvor::editing
