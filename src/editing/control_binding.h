#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/field.h"

namespace zelvor::editing {

enum class ControlKind : std::uint8_t {
    Spinner,     // an edit with an attached up/down; the position is the engineering value
    CheckBox,    // checked = 1
    RadioGroup,  // item index
    ComboBox,    // item index
    Memo,        // the note text
};

// How a control position becomes the stored value (collect) and back
// (refresh). Stored results are taken modulo 256 in byte fields and modulo
// 65536 in word fields.
enum class Conversion : std::uint8_t {
    Raw,       // stored = position
    Div5,      // stored = position / 5, position = stored * 5
    Div10,     // likewise with 10
    Div50,     // likewise with 50
    Div100,    // likewise with 100
    Div250,    // likewise with 250
    Plus100,   // signed values: stored = position + 100, position = stored - 100
    Minus100,  // percent from 100: stored = position - 100, position = stored + 100
    Tps100,    // stored = position / 10 + 6 in 8 bits, position = stored * 10 + 2500
    Idle,      // stored = (position - 500) / 10, position = stored * 10 + 500
};

// Spinners of the run-time editors are this size and sit at their edit's top.
inline constexpr int kSpinnerWidth = 16;
inline constexpr int kSpinnerHeight = 21;

// Where a run-time table editor is built: its edit rectangle inside the
// parent group box and the left of its spinner. When topAnchor names a label,
// top is relative to that label's top; otherwise to the group box's client
// area.
struct EditorPlacement {
    std::string_view parent;
    std::string_view topAnchor;
    int left;
    int top;
    int width;
    int spinnerLeft;
};

// One control of an ordinary page bound to one element of an image field.
struct Binding {
    std::string_view control;  // "UpDownFan1", "UpDownKorVoda", "CheckBoxGas", "Memo1"
    std::string_view edit;     // the edit a spinner steps ("EditFan1"); empty for other kinds
    int element;               // index in a run-time control array; -1 for a single control
    ControlKind kind;
    model::Field field;
    std::uint16_t fieldIndex;
    Conversion conversion;
    int minimum;  // spinner range and step; item range for radio groups and the combo
    int maximum;  // (minimum 0, maximum = item count - 1); maximum length of the memo
    int step;
    int page;
    std::optional<int> startPosition;          // position set when the editor is built
    std::optional<EditorPlacement> placement;  // run-time editors only
};

}  // namespace zelvor::editing
