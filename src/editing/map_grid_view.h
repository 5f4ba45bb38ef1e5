#pragma once

#include <array>
#include <optional>
#include <string>

#include "editing/colour.h"
#include "editing/map_grid_layout.h"
#include "editing/map_grid_model.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// What one row of cells shows.
struct GridRowView {
    bool editsVisible = true;
    bool spinnersVisible = true;
    // The ms labels stand where the edits were; they have something to show
    // only in ms display.
    bool msLabelsVisible = false;
};

// The bottom row of the grid as it differs between the map pages.
struct GridPageView {
    bool msBoxVisible = false;   // CheckBoxZobrMs_Uni
    bool jet12Visible = false;   // LabelJet12_Uni
    bool extrasVisible = false;  // base advance and cylinder corrections with their labels
};

// The visibility, enabling, texts, colours and positions of the map grid and
// of the coupling-mode menu for the page on show, decided from the image and
// the "Ms" box.
struct MapGridView {
    // Coupling-mode menu marks and the tab of map 2 (hidden while 1 = 2).
    bool separateChecked = true;
    bool coupledChecked = false;
    bool sameChecked = false;
    bool jet2TabVisible = true;

    bool gridEnabled = true;  // map 2 cannot be edited while coupled
    bool singleRow = false;   // advance without throttle: only the 100 % row
    // Row 9 stands in row 0's place in single-row mode.
    int lastRowTop = grid_layout::rowLabelTop(9) - 3;
    std::array<GridRowView, kMapRows> rows{};
    bool cellEditsEnabled = true;
    bool throttleLabelsVisible = true;  // LabelTps_Uni and the ten row labels
    bool columnButtonsVisible = true;
    bool axisSpinnersVisible = true;
    bool axisEditsEnabled = true;
    bool toolsVisible = true;  // tools button and All box
    std::string jet12Text;
    Colour jet12Colour = Colour::Yellow;
    bool tpsBoxVisible = false;
    // Set on the map pages only; other pages leave the bottom row as it is.
    std::optional<GridPageView> page;

    // ms display: the injection times of the page's map, one text per cell.
    bool msDisplay = false;
    std::array<std::string, kMapCells> msTexts{};
};

// The caption of a throttle row (0..9): its position in percent, "0%" ..
// "100%".
const std::string& throttleRowText(int row);
inline constexpr const char* kThrottleLabelText = "TPS";
inline constexpr const char* kSameText = "  1 = 2  ";
inline constexpr const char* kCoupledText = "  1 -> 2  ";

// The view of the grid for the current page. msBoxChecked is the state of
// the "Ms" box, which counts on the injection pages only.
MapGridView mapGridView(int page, const model::ParameterImage& image, bool msBoxChecked);

}  // namespace zelvor::editing
