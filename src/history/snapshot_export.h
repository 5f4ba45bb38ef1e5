#pragma once

#include <filesystem>
#include <string>

#include "history/snapshot_store.h"

namespace zelvor::history {

// A snapshot written out as a parameter file.
struct Exported {
    enum class Failure { None, Image, Write };
    Failure failure = Failure::None;
    std::string problem;  // why nothing was written
    // The snapshot held values out of range; the file holds them in range.
    bool corrected = false;
    // What the file holds.
    model::ParameterImage image;

    bool written() const { return failure == Failure::None; }
};

// Writes the snapshot's image, brought into range, as a parameter file
// (whole or not at all). Keeping the written file in the history is the
// caller's step.
Exported exportSnapshot(const SnapshotStore& store, const SnapshotInfo& snapshot,
                        const std::filesystem::path& file);

}  // namespace zelvor::history
