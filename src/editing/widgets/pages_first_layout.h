#pragma once

#include <span>
#include <string_view>

#include "editing/widgets/control_factory.h"

class QWidget;

namespace zelvor::widgets {

// Pixel measures shared by the bike, position, corrections, sensors and idle
// pages: a spin box is 22 px high and its caption label (16 px) sits 3 px
// lower, so that both texts share one base line.
inline constexpr int kSpinHeight = 22;
inline constexpr int kCaptionHeight = 16;
inline constexpr int kCaptionDrop = 3;
inline constexpr int kCheckBoxHeight = 19;
inline constexpr int kReadoutHeight = 20;

// One row of a settings list: a caption label and the bound spin box it names.
struct LabelledSpin {
    std::string_view label;
    std::string_view upDown;
};

// Where a settings list goes: the top left of its first row, the width of the
// caption column and of the spin boxes, and the distance between rows.
struct RowLayout {
    int left;
    int top;
    int labelWidth;
    int spinWidth;
    int pitch;
};

// Builds the rows top to bottom: caption at the left, its spin box 4 px to
// the right of the caption column.
void buildLabelledSpins(QWidget* parent, ControlFactory& factory,
                        std::span<const LabelledSpin> rows, const RowLayout& layout);

}  // namespace zelvor::widgets
