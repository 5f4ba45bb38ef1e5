#include "editing/change_pipeline.h"

namespace zelvor::editing {

ChangePipeline::ChangePipeline(model::ParameterImage& image, model::OutsideSettings* settings)
    : image_(image), settings_(settings) {}

ChangeOutcome ChangePipeline::initialise(const WindowState& window) {
    ring_.init(image_, window.currentPage);
    ChangeOutcome outcome;
    outcome.enabling = enabling();
    return outcome;
}

void ChangePipeline::sanitize() {
    if (settings_) {
        model::sanitize(image_, *settings_);
    } else {
        model::sanitize(image_);
    }
}

ChangeOutcome ChangePipeline::record(const WindowState& window) {
    ChangeOutcome outcome;
    outcome.changedBlocks = ring_.record(image_, window.currentPage);
    if (!outcome.changed()) return outcome;
    outcome.enabling = enabling();
    outcome.startProgramming = window.programAfterChange;
    return outcome;
}

ChangeOutcome ChangePipeline::restored(const UndoRing::Restored& state,
                                       const WindowState& window) const {
    ChangeOutcome outcome;
    outcome.changedBlocks = state.changedBlocks;
    if (state.page != window.currentPage) outcome.showPage = state.page;
    outcome.refresh = true;
    outcome.enabling = enabling();
    outcome.startProgramming = outcome.changed() && window.programAfterChange;
    return outcome;
}

ChangeOutcome ChangePipeline::undo(const WindowState& window) {
    if (auto state = ring_.undo(image_)) return restored(*state, window);
    return {};
}

ChangeOutcome ChangePipeline::redo(const WindowState& window) {
    if (auto state = ring_.redo(image_)) return restored(*state, window);
    return {};
}

}  // namespace zelvor::editing
