#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zelvor::model {

struct FileWriteResult {
    bool ok = false;
    // What failed, in words for the user; empty on success.
    std::string error;

    explicit operator bool() const { return ok; }
};

// Replaces the file at target with content without ever leaving it half
// written: the bytes go to a new temporary file in the same folder, which is
// flushed to the disk and then renamed over the target. On any failure the
// temporary file is removed and an existing target stays as it was. A target
// that is a symbolic link is replaced through the link; an existing target's
// permission bits are kept.
FileWriteResult writeFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace zelvor::model
