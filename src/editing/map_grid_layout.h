#pragma once

namespace zelvor::editing::grid_layout {

// Pixel layout of the map grid inside the client area of its group box. The
// cells stand in 15 columns 62 px apart and 10 rows 30 px apart; each cell is
// a 40 px edit with a 16 x 21 spinner at its right edge.

inline constexpr int kEditWidth = 40;
inline constexpr int kSpinnerWidth = 16;
inline constexpr int kSpinnerHeight = 21;
inline constexpr int kExtraEditWidth = 30;

constexpr int columnLeft(int column) {
    return column * 62 + 44;
}
constexpr int cellTop(int row) {
    return row * 30 + 53;
}
constexpr int rowLabelTop(int row) {
    return row * 30 + 56;
}
// Shorter labels ("0%") stand further right so that the percent signs align.
constexpr int rowLabelLeft(int row) {
    return row <= 2 ? 16 : (row <= 8 ? 10 : 4);
}

inline constexpr int kRpmLabelLeft = 13;
inline constexpr int kRpmLabelTop = 16;
inline constexpr int kTpsLabelLeft = 7;
inline constexpr int kTpsLabelTop = 37;
inline constexpr int kAxisTop = 21;

// The line above the cells, from the first edit to the last spinner.
inline constexpr int kBevelLeft = columnLeft(0);
inline constexpr int kBevelTop = cellTop(0) - 6;
inline constexpr int kBevelWidth = columnLeft(14) + kEditWidth + kSpinnerWidth - kBevelLeft;

// The column buttons under the cells.
constexpr int columnButtonLeft(int column) {
    return column * 62 + 59;
}
inline constexpr int kColumnButtonTop = 350;
inline constexpr int kColumnButtonWidth = 17;
inline constexpr int kColumnButtonHeight = 23;

// The bottom row: tools button at the right, the check boxes and the
// Advance-page extras level with the All box.
constexpr int toolsButtonLeft(int pageControlWidth) {
    return pageControlWidth - 96;
}
inline constexpr int kToolsButtonTop = 378;
inline constexpr int kToolsButtonWidth = 20;
inline constexpr int kToolsButtonHeight = 25;
inline constexpr int kAllBoxOffsetLeft = 40;
inline constexpr int kAllBoxTop = kToolsButtonTop + 7;
inline constexpr int kAllBoxWidth = 40;
inline constexpr int kTpsBoxLeft = 20;
inline constexpr int kTpsBoxWidth = 50;
inline constexpr int kMsBoxLeft = 740;
inline constexpr int kMsBoxWidth = 50;
inline constexpr int kJet12Left = 10;
inline constexpr int kJet12Top = kAllBoxTop - 2;
inline constexpr int kExtrasTop = kAllBoxTop - 2;
inline constexpr int kExtrasLabelTop = kAllBoxTop + 2;

// The Advance-page extras in one row, each placed from the one before.
inline constexpr int kBaseAdvanceEditLeft = kTpsBoxLeft + 70;
inline constexpr int kBaseAdvanceLabelLeft = kBaseAdvanceEditLeft + 55;
inline constexpr int kCylinder1EditLeft = kBaseAdvanceLabelLeft + 120;
inline constexpr int kCylinder2EditLeft = kCylinder1EditLeft + 55;
inline constexpr int kCylinderLabelLeft = kCylinder2EditLeft + 55;

}  // namespace zelvor::editing::grid_layout
