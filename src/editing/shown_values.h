#pragma once

#include <map>
#include <string>

#include "editing/control_binding.h"

namespace zelvor::editing {

// What the last refresh put into the controls of a page. A collect takes a
// control's value into the image only when it differs from this: the tuner
// changed it. A control that cannot show the image's value (a number beyond
// its range, a bike the list does not know, memo bytes after the end of its
// text) then leaves the image as it is, however often its page is visited.
class ShownValues {
  public:
    void clear() {
        numbers_.clear();
        texts_.clear();
    }
    void record(const Binding& control, int value) { numbers_[&control] = value; }
    void record(const Binding& control, std::string text) { texts_[&control] = std::move(text); }

    // True when the control shows something else than the last refresh put
    // there, or nothing was recorded for it.
    bool changed(const Binding& control, int value) const {
        const auto it = numbers_.find(&control);
        return it == numbers_.end() || it->second != value;
    }
    bool changed(const Binding& control, const std::string& text) const {
        const auto it = texts_.find(&control);
        return it == texts_.end() || it->second != text;
    }

  private:
    // Bindings live in static tables: their addresses identify them.
    std::map<const Binding*, int> numbers_;
    std::map<const Binding*, std::string> texts_;
};

}  // namespace zelvor::editing
