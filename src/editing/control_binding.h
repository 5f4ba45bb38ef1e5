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

// When a control's value reaches the image.
enum class Commit : std::uint8_t {
    Leave,        // an edit with its spinner: leaving the edit, an arrow or Enter takes the page
    Click,        // a run-time table editor: clicking into it, an arrow or Enter takes the page
    MouseUp,      // a check box: releasing the mouse on it takes the page (the space key does not)
    DirectRadio,  // a radio group that writes its item index to its field and records a snapshot
    ModeRadio,    // one of the mode groups: a click on any copies the item indexes of all
    Own,          // the bike list and the memo, which have handlers of their own
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
// The conversion between the control's position and the stored value, and
// the control's range, are the field's own (model::kFieldTable); the range is
// copied here when the table is built.
struct Binding {
    std::string_view control;  // "UpDownFan1", "UpDownKorVoda", "CheckBoxGas", "Memo1"
    std::string_view edit;     // the edit a spinner steps ("EditFan1"); empty for other kinds
    int element;               // index in a run-time control array; -1 for a single control
    ControlKind kind;
    model::Field field;
    std::uint16_t fieldIndex;
    Commit commit;
    int minimum;  // spinner range and step; item range for radio groups and the combo
    int maximum;  // (minimum 0, maximum = item count - 1); maximum length of the memo
    int step;
    int page;
    std::optional<int> startPosition;          // position set when the editor is built
    std::optional<EditorPlacement> placement;  // run-time editors only
};

// A control that takes its page on an event without being bound to a field
// (the window's own check boxes: "All", program after change, extended
// monitor).
struct CommitControl {
    std::string_view control;
    Commit commit;
};

}  // namespace zelvor::editing
