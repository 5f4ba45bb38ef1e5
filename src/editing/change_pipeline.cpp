#include "editing/change_pipeline.h"

#include <utility>

namespace zelvor::editing {

ChangePipeline::ChangePipeline(model::ParameterImage& image, PipelineHooks hooks,
                               model::OutsideSettings* settings)
    : image_(image), hooks_(std::move(hooks)), settings_(settings) {}

int ChangePipeline::currentPage() const {
    return hooks_.currentPage ? hooks_.currentPage() : 0;
}

void ChangePipeline::updateEnabling() {
    if (hooks_.undoRedoEnabled) hooks_.undoRedoEnabled(ring_.canUndo(), ring_.canRedo());
}

void ChangePipeline::markBlocks(const BlockSet& blocks) {
    if (!hooks_.markBlock) return;
    for (int n = 1; n <= model::ParameterImage::kBlockCount; ++n) {
        if (blocks.test(static_cast<std::size_t>(n))) hooks_.markBlock(n);
    }
}

void ChangePipeline::programIfWanted(const BlockSet& changed) {
    if (changed.any() && hooks_.programAfterChange && hooks_.programAfterChange() &&
        hooks_.startProgramming) {
        hooks_.startProgramming();
    }
}

void ChangePipeline::initialise() {
    ring_.init(image_, currentPage());
    updateEnabling();
}

void ChangePipeline::run() {
    if (settings_) {
        model::sanitize(image_, *settings_);
    } else {
        model::sanitize(image_);
    }
    // The second refresh shows what the view update of the first one wrote.
    if (hooks_.refresh) {
        hooks_.refresh();
        hooks_.refresh();
    }
    recordSnapshot();
}

bool ChangePipeline::recordSnapshot() {
    const BlockSet changed = ring_.record(image_, currentPage());
    if (changed.none()) return false;
    markBlocks(changed);
    updateEnabling();
    programIfWanted(changed);
    return true;
}

void ChangePipeline::restored(const UndoRing::Restored& state) {
    markBlocks(state.changedBlocks);
    if (state.page != currentPage() && hooks_.switchPage) hooks_.switchPage(state.page);
    if (hooks_.refresh) hooks_.refresh();
    updateEnabling();
    programIfWanted(state.changedBlocks);
}

void ChangePipeline::undo() {
    if (auto state = ring_.undo(image_)) restored(*state);
}

void ChangePipeline::redo() {
    if (auto state = ring_.redo(image_)) restored(*state);
}

}  // namespace zelvor::editing
