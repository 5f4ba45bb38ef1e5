#include "link/operating_point.h"

#include <algorithm>
#include <array>

namespace zelvor::link {

using G = HighlightGroup;
using model::Field;

namespace {

constexpr int kAxisPoints = 15;
constexpr int kGears = 6;
constexpr int kCorrectionPoints = 5;

// Reads a 15-entry speed axis (x100 rpm) as rpm.
std::array<int, kAxisPoints> rpmAxis(const model::ParameterImage& image, Field field) {
    std::array<int, kAxisPoints> axis{};
    for (int i = 0; i < kAxisPoints; ++i) axis[i] = image.get(field, i) * 100;
    return axis;
}

// Entry of a per-gear group for gear 1..6; gear 0 (neutral) lights nothing.
int gearEntry(int gear) {
    return gear >= 1 && gear <= kGears ? gear - 1 : kNotLit;
}

PageHighlight mapPage(int pageIndex, const LiveValues& live, const model::ParameterImage& image) {
    const Field axisField = pageIndex == page::kAdvanceMap      ? Field::RPM_ADV_Rpm
                            : pageIndex == page::kInjectionMap1 ? Field::RPM_JET_1A_Rpm
                                                                : Field::RPM_JET_2A_Rpm;
    const auto axis = rpmAxis(image, axisField);
    const int column = nearestPoint(axis, live.engineSpeed);
    const int throttleRow = nearestPoint(kThrottleRows, live.throttlePercent);
    // Without the throttle in the advance map the unit uses its 100 % row;
    // the row label still follows the throttle.
    const bool fullRowOnly =
        pageIndex == page::kAdvanceMap && image.get(Field::ADVANCE_MISC_UseTps) == 0;
    const int row = fullRowOnly ? 9 : throttleRow;
    const bool running = live.engineSpeed != 0;

    PageHighlight result;
    result.groups = {
        {G::MapAxisEdits, running ? column : kNotLit},
        {G::MapRowLabels, throttleRow},
        {G::MapCells, running ? row * kAxisPoints + column : kNotLit},
    };
    result.currentCell =
        CurrentCell{static_cast<std::uint16_t>(column), static_cast<std::uint16_t>(row)};
    return result;
}

PageHighlight positionPage(const LiveValues& live, const model::ParameterImage& image) {
    const int column = nearestPoint(rpmAxis(image, Field::POSITION_A_Rpm), live.engineSpeed);
    return {{{G::PositionAxisEdits, column}, {G::PositionAngleEdits, column}}, std::nullopt};
}

PageHighlight correctionsPage(const LiveValues& live, const model::ParameterImage& image) {
    const int coolant = coolantCorrectionPoint(live.coolantRaw);
    const int air = airCorrectionPoint(live.airRaw);
    const int start = startCorrectionPoint(live.timeSinceStart, image);
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

PageHighlight racePage(const LiveValues& live) {
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

PageHighlight gearPage(const LiveValues& live, const model::ParameterImage& image) {
    const int gear = gearEntry(live.gear);
    const int system = image.get(Field::GEAR_GearSystem);
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

int PageHighlight::lit(HighlightGroup group) const {
    for (const GroupHighlight& g : groups) {
        if (g.group == group) return g.lit;
    }
    return kNotLit;
}

int nearestPoint(std::span<const int> axis, int value) {
    if (axis.empty()) return 0;
    for (std::size_t i = 0; i + 1 < axis.size(); ++i) {
        if (axis[i] + axis[i + 1] > 2 * value) return static_cast<int>(i);
    }
    return static_cast<int>(axis.size()) - 1;
}

namespace {

// First point i with raw < 105 + 30 i: the nearest of -10, 20, 50, 80, 110 C.
int temperaturePoint(int raw) {
    for (int i = 0; i < kCorrectionPoints; ++i) {
        if (raw < 105 + 30 * i) return i;
    }
    return kCorrectionPoints;
}

}  // namespace

int coolantCorrectionPoint(int coolantRaw) {
    return coolantRaw == 0 ? 3 : temperaturePoint(coolantRaw);
}

int airCorrectionPoint(int airRaw) {
    return airRaw == 0 ? 2 : temperaturePoint(airRaw);
}

int startCorrectionPoint(int timeSinceStart, const model::ParameterImage& image) {
    // The nearest time point, tenths of a second on both sides and doubled:
    // 2 t against the sums of neighbouring points (0 s before the first).
    const int twice = 2 * timeSinceStart;
    std::array<int, 4> points{};
    for (int i = 0; i < 4; ++i) points[i] = 10 * image.get(Field::CHOKE_SyticCas, i);
    if (twice <= points[0]) return 0;
    for (int j = 1; j <= 3; ++j) {
        if (points[j - 1] + points[j] > twice) return j;
    }
    return 4;
}

PageHighlight highlightLivePoint(int pageIndex, const LiveValues& live,
                                 const model::ParameterImage& image) {
    switch (pageIndex) {
        case page::kAdvanceMap:
        case page::kInjectionMap1:
        case page::kInjectionMap2:
            return mapPage(pageIndex, live, image);
        case page::kPosition:
            return positionPage(live, image);
        case page::kCorrections:
            return correctionsPage(live, image);
        case page::kRace:
            return racePage(live);
        case page::kGear:
            return gearPage(live, image);
        default:
            return {};
    }
}

}  // namespace zelvor::link
