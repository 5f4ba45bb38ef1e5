#include "editing/live_highlight.h"

#include <array>

#include "editing/page_index.h"

namespace zelvor::editing {

using G = HighlightGroup;

namespace {

constexpr int kAxisPoints = 15;
constexpr int kGears = 6;
constexpr int kCorrectionPoints = 5;

// Where each group's controls live: a run-time array (name[i]) or numbered
// single controls (name + (i + first)). The after-start points mix labels
// and edits and are named apart.
struct GroupControls {
    HighlightGroup group;
    const char* name;
    bool array;
    int first;
};

constexpr std::array<GroupControls, 21> kGroupControls = {{
    {G::MapAxisEdits, "EditRpm_Uni", true, 0},
    {G::MapRowLabels, "LabelTpsRow_Uni", true, 0},
    {G::MapCells, "EditCell_Uni", true, 0},
    {G::PositionAxisEdits, "EditPolohaARpm", true, 0},
    {G::PositionAngleEdits, "EditPolohaAAngle", true, 0},
    {G::CoolantInjectionEdits, "EditKorVoda", true, 0},
    {G::CoolantAdvanceEdits, "EditIgnVoda", true, 0},
    {G::AirInjectionEdits, "EditKorVzduch", true, 0},
    {G::RaceShiftLight1Edits, "EditPilotLight1", true, 0},
    {G::RaceShiftLight2Edits, "EditPilotLight2", true, 0},
    {G::RaceClutchTimeEdits, "EditClutchTime", true, 0},
    {G::RaceClutchPauses, "EditClutchPause", true, 0},
    {G::RaceGearLabels, "LabelRaceGear", false, 1},
    {G::GearRatioEdits, "EditPomerRpmSpeed", true, 0},
    {G::GearRatioLabels, "LabelPomerRpmSpeed", false, 1},
    {G::GearButtons, "ButtonGear", false, 1},
    {G::GearAutoRatioLabels, "LabelMonPomerRpmSpeedAuto", false, 1},
    {G::GearAutoLabels, "LabelMonGearAuto", false, 1},
    {G::GearCorrectionAdvanceEdits, "EditGearKorAdv", true, 0},
    {G::GearCorrectionInjectionEdits, "EditGearKorJet", true, 0},
    {G::GearCorrectionLabels, "LabelGearKor", false, 1},
}};

// Entry of a per-gear group for gear 1..6; gear 0 (neutral) lights nothing.
int gearEntry(int gear) {
    return gear >= 1 && gear <= kGears ? gear - 1 : kNotLit;
}

PageHighlight mapPage(link::LiveMap map, const link::LiveValues& live,
                      const model::ParameterImage& image) {
    const link::MapOperatingPoint point = link::mapOperatingPoint(map, live, image);
    const int cell = point.cell.row * kAxisPoints + point.cell.column;
    PageHighlight result;
    // The row label follows the throttle even where the unit uses another
    // row; axis and cell are lit only while the engine turns.
    result.groups = {
        {G::MapAxisEdits, point.running ? point.cell.column : kNotLit},
        {G::MapRowLabels, point.throttleRow},
        {G::MapCells, point.running ? cell : kNotLit},
    };
    result.currentCell = point.cell;
    return result;
}

PageHighlight positionPage(const link::LiveValues& live, const model::ParameterImage& image) {
    const int column = link::positionColumn(live, image);
    return {{{G::PositionAxisEdits, column}, {G::PositionAngleEdits, column}}, std::nullopt};
}

PageHighlight correctionsPage(const link::LiveValues& live, const model::ParameterImage& image) {
    const int coolant = link::coolantCorrectionPoint(live.coolantRaw);
    const int air = link::airCorrectionPoint(live.airRaw);
    const int start = link::startCorrectionPoint(live.timeSinceStart, image);
    auto within = [](int point) { return point < kCorrectionPoints ? point : kNotLit; };
    return {{
                {G::CoolantInjectionEdits, within(coolant)},
                {G::CoolantAdvanceEdits, within(coolant)},
                {G::AirInjectionEdits, within(air)},
                {G::StartTimePoints, start},
                {G::StartCorrectionPoints, start},
            },
            std::nullopt};
}

PageHighlight racePage(const link::LiveValues& live) {
    const int gear = gearEntry(live.gear);
    return {{
                {G::RaceShiftLight1Edits, gear},
                {G::RaceShiftLight2Edits, gear},
                {G::RaceClutchTimeEdits, gear},
                {G::RaceClutchPauses, gear},
                {G::RaceGearLabels, gear},
            },
            std::nullopt};
}

PageHighlight gearPage(const link::LiveValues& live, const model::ParameterImage& image) {
    const int gear = gearEntry(live.gear);
    const int system = image.get(model::Field::GEAR_GearSystem);
    const int learning = system == 0 ? gear : kNotLit;   // ratio learning
    const int automatic = system == 1 ? gear : kNotLit;  // automatic gear detection
    return {{
                {G::GearRatioEdits, learning},
                {G::GearRatioLabels, learning},
                {G::GearButtons, learning},
                {G::GearAutoRatioLabels, automatic},
                {G::GearAutoLabels, automatic},
                {G::GearCorrectionAdvanceEdits, gear},
                {G::GearCorrectionInjectionEdits, gear},
                {G::GearCorrectionLabels, gear},
            },
            std::nullopt};
}

}  // namespace

int groupSize(HighlightGroup group) {
    switch (group) {
        case G::MapAxisEdits:
        case G::PositionAxisEdits:
        case G::PositionAngleEdits:
            return kAxisPoints;
        case G::MapRowLabels:
            return 10;
        case G::MapCells:
            return 150;
        case G::CoolantInjectionEdits:
        case G::CoolantAdvanceEdits:
        case G::AirInjectionEdits:
        case G::StartTimePoints:
        case G::StartCorrectionPoints:
            return kCorrectionPoints;
        default:
            return kGears;
    }
}

Colour plainColour(HighlightGroup group, int index) {
    switch (group) {
        case G::MapRowLabels:
        case G::RaceGearLabels:
        case G::GearRatioLabels:
        case G::GearAutoRatioLabels:
        case G::GearAutoLabels:
        case G::GearCorrectionLabels:
            return Colour::ButtonFace;
        case G::StartTimePoints:
            return index == 0 ? Colour::ButtonFace : Colour::Window;
        case G::StartCorrectionPoints:
            return index == 4 ? Colour::ButtonFace : Colour::Window;
        default:
            return Colour::Window;
    }
}

GroupControl groupControl(HighlightGroup group, int index) {
    if (group == G::StartTimePoints) {
        return {index == 0 ? "LabelSyticCas0" : "EditSyticCas" + std::to_string(index)};
    }
    if (group == G::StartCorrectionPoints) {
        return {index == 4 ? "LabelSyticKorekce4" : "EditSyticKorekce" + std::to_string(index)};
    }
    for (const GroupControls& entry : kGroupControls) {
        if (entry.group != group) continue;
        if (entry.array) return {entry.name, index};
        return {entry.name + std::to_string(index + entry.first)};
    }
    return {};
}

int PageHighlight::lit(HighlightGroup group) const {
    for (const GroupHighlight& g : groups) {
        if (g.group == group) return g.lit;
    }
    return kNotLit;
}

PageHighlight highlightLivePoint(int pageIndex, const link::LiveValues& live,
                                 const model::ParameterImage& image) {
    switch (pageIndex) {
        case kPageAdvance:
            return mapPage(link::LiveMap::Advance, live, image);
        case kPageJet1A:
            return mapPage(link::LiveMap::Injection1, live, image);
        case kPageJet2A:
            return mapPage(link::LiveMap::Injection2, live, image);
        case kPagePoloha:
            return positionPage(live, image);
        case kPageKorekce:
            return correctionsPage(live, image);
        case kPageRace:
            return racePage(live);
        case kPageGear:
            return gearPage(live, image);
        default:
            return {};
    }
}

}  // namespace zelvor::editing
