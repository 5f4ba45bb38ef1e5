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
// written: the bytes go to a temporary file in the same folder that has no
// name until it is complete (so a killed process leaves nothing behind), is
// flushed to the disk and then takes the target's place. On any failure an
// existing target stays as it was.
//
// - A symbolic link is followed to the file it names, which is created when
//   it does not exist yet; the link stays a link. A loop of links fails.
// - An existing file keeps its permission bits (and, where the process may
//   set them, its owner and group). A file without any write permission bit
//   is refused as read-only, also for root.
// - A writable file that cannot be replaced (no rights to the folder, or a
//   shared folder with the sticky bit) is written in place, as a plain save
//   would; the space is reserved first, so a full disk still keeps it whole.
// - A pipe or a device is written into, never replaced.
FileWriteResult writeFileAtomically(const std::filesystem::path& target, std::string_view content);

namespace detail {
// Makes the writer take the way of file systems without anonymous temporary
// files (named temporaries, stale ones of dead processes removed); for tests.
void useAnonymousTemporaries(bool enabled);
}  // namespace detail

}  // namespace zelvor::model
