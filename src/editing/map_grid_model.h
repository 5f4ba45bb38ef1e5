#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editing/page_index.h"
#include "model/field.h"
#include "model/field_table.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

using model::kMapCells;
using model::kMapColumns;
using model::kMapRows;

bool isMapPage(int page);

// What a map page edits: its speed axis (15 bytes, x 100 rpm), its 150 cells
// (row * 15 + column) and how a cell is shown. The advance map shows degrees,
// the injection maps percent of the cell's base time.
struct MapDescriptor {
    model::Field axis;
    model::Field cells;
    std::optional<model::InjectionMap> injection;
    int cellMaximum;
};

// The descriptor of pages 1..3; nothing for other pages.
std::optional<MapDescriptor> mapDescriptor(int page);

struct SpinnerRange {
    int minimum;
    int maximum;
    int step;

    int limit(int position) const;
};

// The editor range of a field, from the field table.
constexpr SpinnerRange rangeOf(model::Field field) {
    const model::EditorRange& range = model::descriptor(field).range;
    return {range.minimum, range.maximum, range.step};
}

// The speed axes of the three maps share one range.
inline constexpr SpinnerRange kAxisRange = rangeOf(model::Field::RPM_ADV_Rpm);
inline constexpr SpinnerRange kBaseAdvanceRange = rangeOf(model::Field::ADVANCE_MISC_BaseAdv);
inline constexpr SpinnerRange kCylinderRange = rangeOf(model::Field::ADVANCE_MISC_CylKor1);
// Injection cells are shown as percent of their base time.
inline constexpr SpinnerRange kPercentRange{0, model::kMaxEditedPercent, 1};
// Cells run over the advance map's range on the advance page, in percent on
// the injection pages. Other pages give the injection range.
SpinnerRange cellRange(int page);

// The Advance-page values below the cells.
struct AdvanceExtras {
    int baseAdvance = 0;  // degrees
    int cylinder1 = 0;    // degrees, -15..15
    int cylinder2 = 0;

    friend bool operator==(const AdvanceExtras&, const AdvanceExtras&) = default;
};

// The positions of the grid's spinners and the states of its check boxes.
struct MapGridValues {
    std::array<int, kMapColumns> axis{};  // rpm
    std::array<int, kMapCells> cells{};   // degrees or percent
    bool useTps = false;                  // "TPS": advance follows the throttle
    std::optional<AdvanceExtras> extras;  // refresh: page 1 only; collect: read on page 1
    bool all = false;                     // "All": the tools act on the whole map

    friend bool operator==(const MapGridValues&, const MapGridValues&) = default;
};

// Image -> grid for map page 1..3. Recomputes the base tables and base times
// from the image and derives the percentages of the page's map (and of map 2
// when the maps are coupled or equal). In "1 = 2" mode map 1's axis and
// times are first copied into map 2. Positions come limited to the ranges of
// their spinners.
MapGridValues refreshMapPage(int page, model::ParameterImage& image,
                             model::InjectionScaling& scaling, const AllFlags& all);

// The axis points of map page 1..3 that differ from shown (all of them when
// none is given) into the image. A point moved on page 2 moves map 2's point
// by as much while the maps are coupled, and copies it while they are equal.
void collectAxisPoints(int page, const std::array<int, kMapColumns>& axis,
                       const std::array<int, kMapColumns>* shown, model::ParameterImage& image);

// Grid -> image for map page 1..3. An injection axis point moved on page 2
// moves map 2's point by as much while the maps are coupled, and copies it
// while they are equal; cells go through the percentages. A cell whose
// percentage lies above what the grid can show, and which still stands at the
// grid's maximum, keeps its percentage (and so its time). Given what the last
// refresh showed (shown), only the values the user changed since are taken:
// an axis point or cell the grid could not show as it is stays as it is.
// Other pages are left alone.
void collectMapPage(int page, const MapGridValues& grid, model::ParameterImage& image,
                    model::InjectionScaling& scaling, AllFlags& all,
                    const MapGridValues* shown = nullptr);

// The injection time of a cell word in ms as the grid shows it: "%5.3f "
// (1234 -> "1.234 ", 60000 -> "60.000 ").
std::string msText(std::uint16_t word);

}  // namespace zelvor::editing
