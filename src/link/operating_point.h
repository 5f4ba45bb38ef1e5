#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/colour.h"
#include "link/live_values.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::link {

// Pages of the main window whose tables show the live operating point.
namespace page {
inline constexpr int kAdvanceMap = 1;
inline constexpr int kInjectionMap1 = 2;
inline constexpr int kInjectionMap2 = 3;
inline constexpr int kPosition = 4;
inline constexpr int kCorrections = 5;
inline constexpr int kRace = 9;
inline constexpr int kGear = 10;
}  // namespace page

// The groups of controls that light the live operating point. At most one
// entry of a group is lit (lime); the others show their plain colour.
enum class HighlightGroup : std::uint8_t {
    MapAxisEdits,                  // EditRpm_Uni, 15
    MapRowLabels,                  // LabelTpsRow_Uni, 10
    MapCells,                      // EditCell_Uni, 150 (row * 15 + column); LabelMs_Uni follow them
    PositionAxisEdits,             // first row of GroupBoxPolohaA, 15
    PositionAngleEdits,            // second row of GroupBoxPolohaA, 15
    CoolantInjectionEdits,         // INJ_CORR.KorVoda, 5
    CoolantAdvanceEdits,           // ADVANCE_CORR.IgnVoda, 5
    AirInjectionEdits,             // INJ_CORR.KorVzduch, 5
    StartTimePoints,               // LabelSyticCas0, EditSyticCas1..4
    StartCorrectionPoints,         // EditSyticKorekce0..3, LabelSyticKorekce4
    RaceShiftLight1Edits,          // GroupBoxClutch, per gear, 6
    RaceShiftLight2Edits,          //
    RaceClutchTimeEdits,           //
    RaceClutchPauses,              //
    RaceGearLabels,                // LabelRaceGear1..6
    GearRatioEdits,                // GroupBoxRpmSpeedProGear, 6
    GearRatioLabels,               // LabelPomerRpmSpeed1..6
    GearButtons,                   // ButtonGear1..6: the lit one has a bold caption, no colour
    GearAutoRatioLabels,           // LabelMonPomerRpmSpeedAuto1..6
    GearAutoLabels,                // LabelMonGearAuto1..6
    GearCorrectionAdvanceEdits,    // GroupBoxGearKor, first row, 6
    GearCorrectionInjectionEdits,  // GroupBoxGearKor, second row, 6
    GearCorrectionLabels,          // LabelGearKor1..6
};

inline constexpr int kNotLit = -1;

// Number of entries of a group and the plain colour of entry i (labels rest
// on button face, edits on window colour).
int groupSize(HighlightGroup group);
Colour plainColour(HighlightGroup group, int index);

struct GroupHighlight {
    HighlightGroup group;
    int lit = kNotLit;  // entry shown lime, or kNotLit

    Colour colour(int index) const {
        return index == lit ? Colour::Lime : plainColour(group, index);
    }
    friend bool operator==(const GroupHighlight&, const GroupHighlight&) = default;
};

// The map cell the map tools act on.
struct CurrentCell {
    std::uint16_t column = 0;  // 0..14
    std::uint16_t row = 0;     // 0..9

    friend bool operator==(const CurrentCell&, const CurrentCell&) = default;
};

// What one page shows of the operating point: every group of the page (each
// to be painted) and, on a map page, the new current cell.
struct PageHighlight {
    std::vector<GroupHighlight> groups;
    std::optional<CurrentCell> currentCell;

    // The lit entry of a group, kNotLit when none or when the page lacks it.
    int lit(HighlightGroup group) const;
};

// Index of the axis point nearest to value: the first i with
// axis[i] + axis[i + 1] > 2 * value, else the last one (ties go up).
int nearestPoint(std::span<const int> axis, int value);

// The throttle positions of the map rows, in %.
inline constexpr const auto& kThrottleRows = model::kMapThrottleRows;

// Column of the correction tables for a coolant or air temperature (degrees
// C + 100); 5 means none (from 125 degrees C on). Raw 0 means a missing
// sensor: the coolant then uses point 3 (80 C), the air point 2 (50 C).
int coolantCorrectionPoint(int coolantRaw);
int airCorrectionPoint(int airRaw);
// After-start correction point 0..4 for the time since start (0.1 s) and
// the after-start time points CHOKE.SyticCas (s).
int startCorrectionPoint(int timeSinceStart, const model::ParameterImage& image);

// The highlighting of one page for the live values; other pages give an
// empty result. Pure: the caller keeps the current cell.
PageHighlight highlightLivePoint(int pageIndex, const LiveValues& live,
                                 const model::ParameterImage& image);

}  // namespace zelvor::link
