#pragma once

#include <cstdint>
#include <functional>

#include "editing/change_pipeline.h"
#include "editing/control_access.h"
#include "editing/control_binding.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// The order of steps behind the window's edit, check box, radio group and
// gear button events. The window supplies collect (the collect of the visible
// page, map pages included) and the view update; the handlers decide what
// runs when.
class OptionHandlers {
  public:
    struct Hooks {
        std::function<void()> collect;
        std::function<void()> viewUpdate;
    };

    OptionHandlers(model::ParameterImage& image, ChangePipeline& pipeline, Hooks hooks);

    // An edit left or clicked, a spinner clicked, Enter pressed: collect,
    // then the change pipeline.
    void commitEdit();

    // A key pressed in the memo: collect only.
    void memoKeyPressed();

    // The mouse released on an option check box: collect, view update, change
    // pipeline.
    void checkBoxReleased();

    // A click on one of the radio groups that write their field directly
    // (injection position reference, the three input pins): the item index
    // goes into the field as the group shows it, then a snapshot is recorded.
    // Nothing is written while the group has no selection.
    void directRadioGroupClicked(const Binding& group, int itemIndex);

    // A click on any of the four mode groups (gear determination, clutch
    // mode, speed pulses, idle control): all four item indexes are copied,
    // then the view update, then a snapshot. A group without selection keeps
    // its field.
    void modeRadioGroupClicked(const ControlAccess& controls);

    // Gear button 1..6: with gear determination by ratio (0) the last live
    // ratio becomes the stored ratio of that gear; the change pipeline runs
    // in every case.
    void gearButtonClicked(int gear, std::uint16_t lastLiveRatio);

  private:
    void collect();
    void viewUpdate();

    model::ParameterImage& image_;
    ChangePipeline& pipeline_;
    Hooks hooks_;
};

}  // namespace zelvor::editing
