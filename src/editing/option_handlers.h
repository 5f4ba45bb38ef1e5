#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "editing/change_pipeline.h"
#include "editing/control_access.h"
#include "editing/control_binding.h"
#include "editing/window_state.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// The order of steps behind the window's edit, check box, radio group and
// gear button events, and the change pipeline they end in. The window
// supplies the steps on its page: collect (the collect of the visible page,
// map pages included), the refresh of the visible page (which ends with the
// view update) and the view update alone; the handlers decide what runs when
// and return what the change did, for the window to act on.
class OptionHandlers {
  public:
    struct Hooks {
        std::function<void()> collect;
        std::function<void()> viewUpdate;
        std::function<void()> refresh;
    };

    // window is read when a change is recorded (the current page and
    // "Programming after change").
    OptionHandlers(model::ParameterImage& image, ChangePipeline& pipeline,
                   const WindowState& window, Hooks hooks);

    // The change pipeline: sanitize, refresh twice (the second refresh shows
    // what the view update of the first one wrote), record.
    ChangeOutcome runPipeline();

    // A snapshot alone: records the image if it changed.
    ChangeOutcome recordSnapshot();

    // An edit left or clicked, a spinner clicked, Enter pressed: collect,
    // then the change pipeline.
    ChangeOutcome commitEdit();

    // A key pressed in the memo: collect only.
    void memoKeyPressed();

    // The mouse released on an option check box: collect, view update, change
    // pipeline.
    ChangeOutcome checkBoxReleased();

    // A click on one of the radio groups that write their field directly
    // (injection position reference, the three input pins): the item index
    // goes into the field as the group shows it, then a snapshot is recorded.
    // Nothing is written while the group has no selection.
    ChangeOutcome directRadioGroupClicked(const Binding& group, int itemIndex);

    // A click on any of the four mode groups (gear determination, clutch
    // mode, speed pulses, idle control): all four item indexes are copied,
    // then the view update, then a snapshot. A group without selection keeps
    // its field.
    ChangeOutcome modeRadioGroupClicked(const ControlAccess& controls);

    // Gear button 1..6: with gear determination by ratio (0) the last live
    // ratio becomes the stored ratio of that gear; the change pipeline runs
    // in every case.
    ChangeOutcome gearButtonClicked(int gear, std::uint16_t lastLiveRatio);

  private:
    void collect();
    void viewUpdate();
    void refresh();

    model::ParameterImage& image_;
    ChangePipeline& pipeline_;
    const WindowState& window_;
    Hooks hooks_;
};

}  // namespace zelvor::editing
