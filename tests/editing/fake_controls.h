#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "editing/control_access.h"

namespace zelvor::editing::testing {

// Controls that behave like the window's: spinners limit their position to
// their range and radio groups select nothing for an item they lack.
class FakeControls : public ControlAccess {
  public:
    int position(const Binding& b) const override { return get(positions_, b, b.minimum); }
    void setPosition(const Binding& b, int position) override {
        positions_[key(b)] = std::clamp(position, b.minimum, b.maximum);
    }
    bool isChecked(const Binding& b) const override { return get(checked_, b, 0) != 0; }
    void setChecked(const Binding& b, bool checked) override { checked_[key(b)] = checked; }
    int itemIndex(const Binding& b) const override { return get(items_, b, -1); }
    void setItemIndex(const Binding& b, int index) override {
        items_[key(b)] = index >= b.minimum && index <= b.maximum ? index : -1;
    }
    std::string text(const Binding&) const override { return memo_; }
    void setText(const Binding&, std::string_view utf8) override { memo_ = std::string(utf8); }

  private:
    using Key = std::pair<std::string, int>;
    static Key key(const Binding& b) { return {std::string(b.control), b.element}; }
    static int get(const std::map<Key, int>& m, const Binding& b, int fallback) {
        auto it = m.find(key(b));
        return it == m.end() ? fallback : it->second;
    }

    std::map<Key, int> positions_;
    std::map<Key, int> checked_;
    std::map<Key, int> items_;
    std::string memo_;
};

}  // namespace zelvor::editing::testing
