#pragma once

#include <functional>

#include "editing/undo_ring.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"

namespace zelvor::editing {

// What the pipeline needs from the window and the link. Every hook may be
// left empty; an empty hook does nothing (currentPage then reads 0 and
// programAfterChange false).
struct PipelineHooks {
    // The refresh step of the visible page, ending with the view update.
    std::function<void()> refresh;
    // Switches to a page the way the page-change handler does (which
    // refreshes the page entered).
    std::function<void(int page)> switchPage;
    std::function<int()> currentPage;
    // "Programming after change" is ticked.
    std::function<bool()> programAfterChange;
    // Sets the transfer flag of block n (1..9).
    std::function<void(int block)> markBlock;
    std::function<void()> startProgramming;
    // Enables the undo and redo buttons and menu items.
    std::function<void(bool canUndo, bool canRedo)> undoRedoEnabled;
};

// The road every edit takes: sanitize, show, record. Recording keeps the undo
// ring, marks the blocks that changed for transfer and, when programming
// after a change is wanted, starts programming them.
class ChangePipeline {
  public:
    // settings, when given, is brought into range with the image.
    ChangePipeline(model::ParameterImage& image, PipelineHooks hooks,
                   model::OutsideSettings* settings = nullptr);

    // Takes the image as the first recorded state; undo and redo disabled.
    void initialise();

    // Sanitize, refresh twice, record snapshot.
    void run();

    // Records the image if it changed; true when it did.
    bool recordSnapshot();

    // Restore the previous (next) recorded state, on its own page, and show
    // it. Nothing happens at the oldest (newest) state. No sanitize runs.
    void undo();
    void redo();

    bool canUndo() const { return ring_.canUndo(); }
    int undoSteps() const { return ring_.undoSteps(); }
    bool canRedo() const { return ring_.canRedo(); }

  private:
    int currentPage() const;
    void markBlocks(const BlockSet& blocks);
    void programIfWanted(const BlockSet& changed);
    void restored(const UndoRing::Restored& state);
    void updateEnabling();

    model::ParameterImage& image_;
    PipelineHooks hooks_;
    model::OutsideSettings* settings_;
    UndoRing ring_;
};

}  // namespace zelvor::editing
