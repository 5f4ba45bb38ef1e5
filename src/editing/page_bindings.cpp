#include "editing/page_bindings.h"

#include <array>

#include "editing/page_binder.h"
#include "editing/page_index.h"
#include "model/field_table.h"

namespace zelvor::editing {

namespace {

using model::Field;

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
// editors bound to consecutive field elements. What the control shows and
// within which range comes from the field.
struct Row {
    int page;
    std::string_view control;
    std::string_view edit;
    ControlKind kind;
    Field field;
    std::uint16_t fieldIndex;
    Commit commit;
    int count = 0;
    const EditorLayout* layout = nullptr;
    std::optional<int> start = std::nullopt;
};

// A design-time edit with its spinner.
constexpr Row spinner(int page, std::string_view control, std::string_view edit, Field field,
                      std::uint16_t fieldIndex = 0) {
    return {page, control, edit, ControlKind::Spinner, field, fieldIndex, Commit::Leave};
}

// A run-time array of table editors.
constexpr Row editors(int page, std::string_view control, std::string_view edit, int count,
                      const EditorLayout& layout, Field field,
                      std::optional<int> start = std::nullopt) {
    return {page,  control, edit, ControlKind::Spinner, field, 0, Commit::Click,
            count, &layout, start};
}

constexpr Row check(int page, std::string_view control, Field field) {
    return {page, control, "", ControlKind::CheckBox, field, 0, Commit::MouseUp};
}

// A radio group that writes its own field when clicked.
constexpr Row direct(int page, std::string_view control, Field field) {
    return {page, control, "", ControlKind::RadioGroup, field, 0, Commit::DirectRadio};
}

// One of the mode groups that are copied together when any of them is clicked.
constexpr Row mode(int page, std::string_view control, Field field) {
    return {page, control, "", ControlKind::RadioGroup, field, 0, Commit::ModeRadio};
}

// clang-format off
constexpr Row kRows[] = {
    // Bike page.
    {kPageBike, "ComboBoxBike", "", ControlKind::ComboBox, Field::BIKE_BikeType, 0, Commit::Own},
    check(kPageBike, "CheckBoxNoFuelInd", Field::NO_FUEL_IND_NoFuelInd),
    check(kPageBike, "CheckBoxAktClutchMaster", Field::INPUTS_AktClutchMaster),
    check(kPageBike, "CheckBoxAktRpm", Field::INPUTS_AktRpm),
    check(kPageBike, "CheckBoxAktStartLimiter", Field::INPUTS_AktStartLimiter),
    spinner(kPageBike, "UpDownStartLimiter", "EditStartLimiter", Field::LIMITER_StartLimiter),
    spinner(kPageBike, "UpDownIgnLimiter", "EditIgnLimiter", Field::LIMITER_IgnLimiter),
    spinner(kPageBike, "UpDownJetLimiter", "EditJetLimiter", Field::LIMITER_JetLimiter),
    spinner(kPageBike, "UpDownRetardLimiterRpm", "EditRetardLimiterRpm", Field::LIMITER_RetardLimiterRpm),
    spinner(kPageBike, "UpDownRetardLimiterAdv", "EditRetardLimiterAdv", Field::LIMITER_RetardLimiterAdv),
    spinner(kPageBike, "UpDownFan1", "EditFan1", Field::FAN_Fan1),
    spinner(kPageBike, "UpDownFan2", "EditFan2", Field::FAN_Fan2),
    spinner(kPageBike, "UpDownRpmPulsu", "EditRpmPulsu", Field::RPM_RpmPulsu),
    spinner(kPageBike, "UpDownRpmKorekce", "EditRpmKorekce", Field::RPM_RpmKorekce),
    direct(kPageBike, "RadioGroupPinEngine23", Field::INPUTS_PinEngine23),
    direct(kPageBike, "RadioGroupPinEngine14", Field::INPUTS_PinEngine14),
    direct(kPageBike, "RadioGroupPinBody11", Field::INPUTS_PinBody11),
    {kPageBike, "Memo1", "", ControlKind::Memo, Field::MEMO_Text, 0, Commit::Own},

    // Injection position page.
    editors(kPagePoloha, "UpDownPolohaARpm", "EditPolohaARpm", 15, kPolohaARpm, Field::POSITION_A_Rpm),
    editors(kPagePoloha, "UpDownPolohaAAngle", "EditPolohaAAngle", 15, kPolohaAAngle, Field::POSITION_A_Angle),
    direct(kPagePoloha, "RadioGroupPolohaA", Field::POSITION_A_PolohaA),

    // Corrections page.
    editors(kPageKorekce, "UpDownKorVoda", "EditKorVoda", 5, kKorVoda, Field::INJ_CORR_KorVoda),
    editors(kPageKorekce, "UpDownKorVzduch", "EditKorVzduch", 5, kKorVzduch, Field::INJ_CORR_KorVzduch),
    editors(kPageKorekce, "UpDownIgnVoda", "EditIgnVoda", 5, kIgnVoda, Field::ADVANCE_CORR_IgnVoda),
    spinner(kPageKorekce, "UpDownSyticCas1", "EditSyticCas1", Field::CHOKE_SyticCas, 0),
    spinner(kPageKorekce, "UpDownSyticCas2", "EditSyticCas2", Field::CHOKE_SyticCas, 1),
    spinner(kPageKorekce, "UpDownSyticCas3", "EditSyticCas3", Field::CHOKE_SyticCas, 2),
    spinner(kPageKorekce, "UpDownSyticCas4", "EditSyticCas4", Field::CHOKE_SyticCas, 3),
    spinner(kPageKorekce, "UpDownSyticKorekce0", "EditSyticKorekce0", Field::CHOKE_SyticKorekce, 0),
    spinner(kPageKorekce, "UpDownSyticKorekce1", "EditSyticKorekce1", Field::CHOKE_SyticKorekce, 1),
    spinner(kPageKorekce, "UpDownSyticKorekce2", "EditSyticKorekce2", Field::CHOKE_SyticKorekce, 2),
    spinner(kPageKorekce, "UpDownSyticKorekce3", "EditSyticKorekce3", Field::CHOKE_SyticKorekce, 3),
    spinner(kPageKorekce, "UpDownAkcelPrah", "EditAkcelPrah", Field::ACCEL_AkcelPrah),
    spinner(kPageKorekce, "UpDownAkcelJet", "EditAkcelJet", Field::ACCEL_AkcelJet),
    spinner(kPageKorekce, "UpDownStartJet", "EditStartJet", Field::START_INJ_StartJet),

    // Sensors page.
    spinner(kPageCidla, "UpDownTps0", "EditTps0", Field::TPS_Tps0),
    spinner(kPageCidla, "UpDownTps100", "EditTps100", Field::TPS_Tps100),
    spinner(kPageCidla, "UpDownApsTlak1", "EditApsTlak1", Field::APS_ApsTlak1),
    spinner(kPageCidla, "UpDownApsNapeti1", "EditApsNapeti1", Field::APS_ApsNapeti1),
    spinner(kPageCidla, "UpDownApsTlak2", "EditApsTlak2", Field::APS_ApsTlak2),
    spinner(kPageCidla, "UpDownApsNapeti2", "EditApsNapeti2", Field::APS_ApsNapeti2),
    editors(kPageCidla, "UpDownCidloTVoda", "EditCidloTVoda", 5, kCidloTVoda, Field::WATER_TEMP_SENSOR_CidloTVoda),
    editors(kPageCidla, "UpDownCidloTVzduch", "EditCidloTVzduch", 5, kCidloTVzduch, Field::AIR_TEMP_SENSOR_CidloTVzduch),

    // Idle page.
    mode(kPageIdle, "RadioGroupIdleMode", Field::IDLE_IdleMode),
    spinner(kPageIdle, "UpDownIdleRpmMez", "EditIdleRpmMez", Field::IDLE_IdleRpmMez),
    spinner(kPageIdle, "UpDownIdleTpsMez", "EditIdleTpsMez", Field::IDLE_IdleTpsMez),
    check(kPageIdle, "CheckBoxIdleSmerReg", Field::IDLE_IdleSmerReg),
    spinner(kPageIdle, "UpDownIdleStepPerioda", "EditIdleStepPerioda", Field::IDLE_IdleStepPerioda),
    spinner(kPageIdle, "UpDownIdleHyster", "EditIdleHyster", Field::IDLE_IdleHyster),
    spinner(kPageIdle, "UpDownIdleAdvNaRpm", "EditIdleAdvNaRpm", Field::IDLE_IdleAdvNaRpm),
    spinner(kPageIdle, "UpDownIdleAdvNaCas", "EditIdleAdvNaCas", Field::IDLE_IdleAdvNaCas),
    spinner(kPageIdle, "UpDowndleMaxAdv", "EditIdleMaxAdv", Field::IDLE_IdleMaxAdv),
    editors(kPageIdle, "UpDownIdleRpmPoz", "EditIdleRpmPoz", 6, kIdleRpmPoz, Field::IDLE_IdleRpmPoz, 1000),

    // N2O page.
    check(kPageGas, "CheckBoxGas", Field::N2O_Gas),
    spinner(kPageGas, "UpDownGas1", "EditGas1", Field::N2O_Gas1),
    spinner(kPageGas, "UpDownGas2", "EditGas2", Field::N2O_Gas2),
    spinner(kPageGas, "UpDownGasD", "EditGasD", Field::N2O_GasD),
    spinner(kPageGas, "UpDownGasT", "EditGasT", Field::N2O_GasT),
    spinner(kPageGas, "UpDownRetard1", "EditRetard1", Field::N2O_Retard1),
    spinner(kPageGas, "UpDownRetard2", "EditRetard2", Field::N2O_Retard2),
    spinner(kPageGas, "UpDownRetardD", "EditRetardD", Field::N2O_RetardD),
    spinner(kPageGas, "UpDownRetardT", "EditRetardT", Field::N2O_RetardT),

    // Race page.
    editors(kPageRace, "UpDownClutchTime", "EditClutchTime", 6, kClutchTime, Field::CLUTCH_ClutchTime),
    editors(kPageRace, "UpDownClutchPause", "EditClutchPause", 6, kClutchPause, Field::CLUTCH_ClutchPause),
    editors(kPageRace, "UpDownPilotLight1", "EditPilotLight1", 6, kPilotLight1, Field::PILOT_LIGHT_PilotLight1, 15000),
    editors(kPageRace, "UpDownPilotLight2", "EditPilotLight2", 6, kPilotLight2, Field::PILOT_LIGHT_PilotLight2, 15000),
    mode(kPageRace, "RadioGroupClutchMode", Field::CLUTCH_ClutchMode),
    spinner(kPageRace, "UpDownClutchMinRpm", "EditClutchMinRpm", Field::CLUTCH_ClutchMinRpm),
    spinner(kPageRace, "UpDownClutchJet", "EditClutchJet", Field::CLUTCH_ClutchJet),
    spinner(kPageRace, "UpDownClutchAdv", "EditClutchAdv", Field::CLUTCH_ClutchAdv),
    check(kPageRace, "CheckBoxTempDisplay", Field::DISPLAY_TempDisplay),

    // Gear page.
    mode(kPageGear, "RadioGroupGearSystem", Field::GEAR_GearSystem),
    spinner(kPageGear, "UpDownPocetGear", "EditPocetGear", Field::GEAR_PocetGear),
    editors(kPageGear, "UpDownPomerRpmSpeed", "EditPomerRpmSpeed", 6, kPomerRpmSpeed, Field::GEAR_PomerRpmSpeed),
    editors(kPageGear, "UpDownGearKorAdv", "EditGearKorAdv", 6, kGearKorAdv, Field::GEAR_CORR_GearKorAdv),
    editors(kPageGear, "UpDownGearKorJet", "EditGearKorJet", 6, kGearKorJet, Field::GEAR_CORR_GearKorJet),
    spinner(kPageGear, "UpDownGearAutoTime", "EditGearAutoTime", Field::GEAR_AUTO_GearAutoTime),
    spinner(kPageGear, "UpDownGearAutoRpm", "EditGearAutoRpm", Field::GEAR_AUTO_GearAutoRpm),
    spinner(kPageGear, "UpDownGearAutoTps", "EditGearAutoTps", Field::GEAR_AUTO_GearAutoTps),
    spinner(kPageGear, "UpDownGearAutoBand", "EditGearAutoBand", Field::GEAR_AUTO_GearAutoBand),
    mode(kPageGear, "RadioGroupSpeedMode", Field::SPEED_PULSES_SpeedMode),
    spinner(kPageGear, "UpDownPulsuProSpeed", "EditPulsuProSpeed", Field::SPEED_PULSES_PulsuProSpeed),
};

// Controls that take their page without being bound to a field.
constexpr CommitControl kUnboundControls[] = {
    {"CheckBoxAll_PolohaA", Commit::MouseUp},
    {"CheckBoxProgHned", Commit::MouseUp},
    {"CheckBoxExtMonitor", Commit::MouseUp},
    {"CheckBoxAll_Uni", Commit::MouseUp},
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

// The values a control offers: the field's editor range, except that the
// bike list has the separator after the known bikes and the memo's range is
// its length.
model::EditorRange controlRange(const Row& row) {
    const model::FieldDescriptor& field = model::descriptor(row.field);
    switch (row.kind) {
        case ControlKind::ComboBox:
            return {field.range.minimum, kBikeSeparatorItem, 1};
        case ControlKind::Memo:
            return {0, field.count, 1};
        default:
            return field.range;
    }
}

Tables buildTables() {
    Tables t;
    for (const Row& row : kRows) {
        const model::EditorRange range = controlRange(row);
        if (row.count == 0) {
            t.bindings.push_back({row.control, row.edit, -1, row.kind, row.field, row.fieldIndex,
                                  row.commit, range.minimum, range.maximum, range.step, row.page,
                                  row.start, std::nullopt});
            continue;
        }
        for (int i = 0; i < row.count; ++i) {
            t.bindings.push_back({row.control, row.edit, i, row.kind, row.field,
                                  static_cast<std::uint16_t>(row.fieldIndex + i), row.commit,
                                  range.minimum, range.maximum, range.step, row.page, row.start,
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

std::vector<std::string_view> controlsCommittingOn(Commit commit) {
    std::vector<std::string_view> names;
    for (const Binding& b : tables().bindings) {
        if (b.commit == commit && b.element <= 0) names.push_back(b.control);
    }
    for (const CommitControl& c : kUnboundControls) {
        if (c.commit == commit) names.push_back(c.control);
    }
    return names;
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
