#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/field.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

enum class ViewProperty : std::uint8_t { Visible, Enabled, Checked, VerticalScrollBar };

// When a rule's property is true.
enum class ViewCondition : std::uint8_t {
    Always,
    Never,
    FieldNonZero,    // field element 0 is not 0
    FieldAtLeast,    // field element 0 >= threshold
    MemoLinesAbove,  // the memo holds more than threshold lines
};

// One property of one control of the ordinary pages, derived from the image.
// element is the index in a run-time control array, -1 for a single control.
struct ViewRule {
    std::string control;
    int element;
    ViewProperty property;
    ViewCondition condition;
    model::Field field;
    int threshold;
};

struct ViewSetting {
    std::string control;
    int element;
    ViewProperty property;
    bool value;
};

// The rules the window applies after every refresh: the N2O groups shown
// while N2O is enabled, the temperature display option always off and
// disabled, the controls of gears 2..6 shown only up to the number of gears,
// the memo's scroll bar beyond 13 lines, the sensor label enabled.
const std::vector<ViewRule>& pageViewRules();

// Writes what the rules force into the image (DISPLAY.TempDisplay = 0), then
// evaluates every rule. memoLines is the number of lines the memo shows.
std::vector<ViewSetting> applyPageViewRules(model::ParameterImage& image, int memoLines);

}  // namespace zelvor::editing
