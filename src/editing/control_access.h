#pragma once

#include <string>
#include <string_view>

#include "editing/control_binding.h"

namespace zelvor::editing {

// The window's controls as collect and refresh see them, addressed by their
// binding. The Qt window implements it over its widgets; tests use a fake.
// A control keeps its own range: setPosition limits the value to the
// spinner's minimum..maximum, and setItemIndex with an index the control does
// not have leaves nothing selected.
class ControlAccess {
  public:
    virtual ~ControlAccess() = default;

    virtual int position(const Binding& spinner) const = 0;
    virtual void setPosition(const Binding& spinner, int position) = 0;

    virtual bool isChecked(const Binding& checkBox) const = 0;
    virtual void setChecked(const Binding& checkBox, bool checked) = 0;

    // Radio groups and the combo box; -1 when nothing is selected.
    virtual int itemIndex(const Binding& control) const = 0;
    virtual void setItemIndex(const Binding& control, int index) = 0;

    // The memo's text in UTF-8 with lines separated by '\n'.
    virtual std::string text(const Binding& memo) const = 0;
    virtual void setText(const Binding& memo, std::string_view utf8) = 0;
};

}  // namespace zelvor::editing
