#pragma once

#include <optional>

#include "editing/undo_ring.h"
#include "editing/window_state.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"

namespace zelvor::editing {

struct UndoRedoEnabling {
    bool canUndo = false;
    bool canRedo = false;

    friend bool operator==(const UndoRedoEnabling&, const UndoRedoEnabling&) = default;
};

// What recording, undo or redo did, for the window to act on in this order:
// set the transfer flags of the changed blocks, switch to the page, refresh
// the page shown, enable the undo and redo controls, start programming. An
// empty outcome asks for nothing.
struct [[nodiscard]] ChangeOutcome {
    // Blocks (1..9) in which the image now differs from the state before.
    BlockSet changedBlocks;
    // Restore: the page the restored state was recorded on, when it is not
    // the current page; it is switched to the way the page-change handler
    // does (which refreshes the page entered).
    std::optional<int> showPage;
    // Restore: the page shown is refreshed from the image.
    bool refresh = false;
    // The new enabling of undo and redo; nothing when it stays.
    std::optional<UndoRedoEnabling> enabling;
    // "Programming after change" is ticked and the image changed: programming
    // of the flagged blocks starts.
    bool startProgramming = false;

    bool changed() const { return changedBlocks.any(); }
};

// The image's side of the road every edit takes: sanitize, (the window shows
// the image), record. Recording keeps the undo ring and reports the blocks
// that changed, and whether programming starts at once; undo and redo restore
// a recorded state and report the page it belongs on. Nothing here reaches
// into the window: the window acts on the outcomes.
class ChangePipeline {
  public:
    // settings, when given, is brought into range with the image.
    explicit ChangePipeline(model::ParameterImage& image,
                            model::OutsideSettings* settings = nullptr);

    // Takes the image, on the current page, as the first recorded state;
    // undo and redo disabled.
    ChangeOutcome initialise(const WindowState& window);

    // The first step of a change: the image (and the outside settings) into
    // range. The window then refreshes the page shown twice and records.
    void sanitize();

    // Records the image, on the current page, if it differs from the last
    // recorded state; an empty outcome when it does not.
    ChangeOutcome record(const WindowState& window);

    // Restore the previous (next) recorded state into the image. Nothing
    // happens at the oldest (newest) state. No sanitize runs.
    ChangeOutcome undo(const WindowState& window);
    ChangeOutcome redo(const WindowState& window);

    bool canUndo() const { return ring_.canUndo(); }
    int undoSteps() const { return ring_.undoSteps(); }
    bool canRedo() const { return ring_.canRedo(); }

  private:
    UndoRedoEnabling enabling() const { return {ring_.canUndo(), ring_.canRedo()}; }
    ChangeOutcome restored(const UndoRing::Restored& state, const WindowState& window) const;

    model::ParameterImage& image_;
    model::OutsideSettings* settings_;
    UndoRing ring_;
};

}  // namespace zelvor::editing
