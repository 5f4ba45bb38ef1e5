#pragma once

#include "editing/control_access.h"
#include "editing/widgets/control_registry.h"

namespace zelvor::widgets {

// Collect and refresh of the ordinary pages, reaching the widgets through the
// registry. A control missing from the registry reads as its neutral value
// and ignores writes (it is reported by the window's checks, not here).
class QtControlAccess final : public editing::ControlAccess {
  public:
    explicit QtControlAccess(const ControlRegistry& registry) : registry_(registry) {}

    int position(const editing::Binding& spinner) const override;
    void setPosition(const editing::Binding& spinner, int position) override;
    bool isChecked(const editing::Binding& checkBox) const override;
    void setChecked(const editing::Binding& checkBox, bool checked) override;
    int itemIndex(const editing::Binding& control) const override;
    void setItemIndex(const editing::Binding& control, int index) override;
    std::string text(const editing::Binding& memo) const override;
    void setText(const editing::Binding& memo, std::string_view utf8) override;

  private:
    QObject* control(const editing::Binding& binding) const {
        return registry_.object(binding.control, binding.element);
    }

    const ControlRegistry& registry_;
};

}  // namespace zelvor::widgets
