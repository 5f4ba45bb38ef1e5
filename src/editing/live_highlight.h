#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/colour.h"
#include "link/live_values.h"
#include "link/operating_point.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

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

// The control of entry i of a group: an element of a run-time array
// (name[element]) or a single control (name, element -1).
struct GroupControl {
    std::string name;
    int element = -1;
};
GroupControl groupControl(HighlightGroup group, int index);

struct GroupHighlight {
    HighlightGroup group;
    int lit = kNotLit;  // entry shown lime, or kNotLit

    Colour colour(int index) const {
        return index == lit ? Colour::Lime : plainColour(group, index);
    }
    friend bool operator==(const GroupHighlight&, const GroupHighlight&) = default;
};

// What one page shows of the operating point: every group of the page (each
// to be painted) and, on a map page, the new current cell.
struct PageHighlight {
    std::vector<GroupHighlight> groups;
    std::optional<link::CurrentCell> currentCell;

    // The lit entry of a group, kNotLit when none or when the page lacks it.
    int lit(HighlightGroup group) const;
};

// The highlighting of one page for the live values; other pages give an
// empty result. Pure: the caller keeps the current cell.
PageHighlight highlightLivePoint(int pageIndex, const link::LiveValues& live,
                                 const model::ParameterImage& image);

}  // namespace zelvor::editing
