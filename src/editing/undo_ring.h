#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/parameter_image.h"

namespace zelvor::editing {

// A set of image blocks; bit n stands for block n (1..9), bit 0 is unused.
using BlockSet = std::bitset<model::ParameterImage::kBlockCount + 1>;

// The last 200 recorded states of the image, each with the page that was
// current when it was recorded. Undo and redo walk between the oldest and
// the newest state; recording after an undo drops the states ahead.
class UndoRing {
  public:
    static constexpr int kSlotCount = 200;

    struct Restored {
        BlockSet changedBlocks;  // blocks in which the image changed
        int page;                // page current when the state was recorded
    };

    UndoRing();

    // Starts over with the image as the only state.
    void init(const model::ParameterImage& image, int page);

    // Records the image if it differs from the current state and returns the
    // blocks that differ (none: nothing recorded). When the ring is full the
    // oldest state is dropped.
    BlockSet record(const model::ParameterImage& image, int page);

    // Steps back (or forward) one state and copies it into the image; nothing
    // when there is no state in that direction.
    std::optional<Restored> undo(model::ParameterImage& image);
    std::optional<Restored> redo(model::ParameterImage& image);

    bool canUndo() const { return current_ != oldest_; }
    // How many undo steps lie behind the current state.
    int undoSteps() const { return (current_ - oldest_ + kSlotCount) % kSlotCount; }
    bool canRedo() const { return current_ != newest_; }

  private:
    struct Slot {
        model::ParameterImage::Bytes bytes{};
        std::uint8_t page = 0;
    };

    static int next(int position) { return (position + 1) % kSlotCount; }
    static int previous(int position) { return (position + kSlotCount - 1) % kSlotCount; }
    void write(int position, const model::ParameterImage& image, int page);
    Restored restore(model::ParameterImage& image) const;

    std::vector<Slot> slots_;
    int oldest_ = 0;
    int current_ = 0;
    int newest_ = 0;
};

}  // namespace zelvor::editing
