#include "editing/option_handlers.h"

#include <utility>

#include "editing/page_bindings.h"

namespace zelvor::editing {

namespace {

constexpr int kGearCount = 6;
constexpr unsigned kGearByRatio = 0;

}  // namespace

OptionHandlers::OptionHandlers(model::ParameterImage& image, ChangePipeline& pipeline,
                               const WindowState& window, Hooks hooks)
    : image_(image), pipeline_(pipeline), window_(window), hooks_(std::move(hooks)) {}

void OptionHandlers::collect() {
    if (hooks_.collect) hooks_.collect();
}

void OptionHandlers::viewUpdate() {
    if (hooks_.viewUpdate) hooks_.viewUpdate();
}

void OptionHandlers::refresh() {
    if (hooks_.refresh) hooks_.refresh();
}

ChangeOutcome OptionHandlers::runPipeline() {
    pipeline_.sanitize();
    refresh();
    refresh();
    return recordSnapshot();
}

ChangeOutcome OptionHandlers::recordSnapshot() {
    return pipeline_.record(window_);
}

ChangeOutcome OptionHandlers::commitEdit() {
    collect();
    return runPipeline();
}

void OptionHandlers::memoKeyPressed() {
    collect();
}

ChangeOutcome OptionHandlers::checkBoxReleased() {
    collect();
    viewUpdate();
    return runPipeline();
}

ChangeOutcome OptionHandlers::directRadioGroupClicked(const Binding& group, int itemIndex) {
    if (itemIndex >= 0) image_.set(group.field, group.fieldIndex, static_cast<unsigned>(itemIndex));
    return recordSnapshot();
}

ChangeOutcome OptionHandlers::modeRadioGroupClicked(const ControlAccess& controls) {
    // Each group writes a field of its own, so the order does not matter.
    for (const Binding& group : allBindings()) {
        if (group.commit != Commit::ModeRadio) continue;
        const int item = controls.itemIndex(group);
        if (item >= 0) image_.set(group.field, group.fieldIndex, static_cast<unsigned>(item));
    }
    viewUpdate();
    return recordSnapshot();
}

ChangeOutcome OptionHandlers::gearButtonClicked(int gear, std::uint16_t lastLiveRatio) {
    if (gear >= 1 && gear <= kGearCount &&
        image_.get(model::Field::GEAR_GearSystem) == kGearByRatio) {
        image_.set(model::Field::GEAR_PomerRpmSpeed, static_cast<std::size_t>(gear - 1),
                   lastLiveRatio);
    }
    return runPipeline();
}

}  // namespace zelvor::editing
