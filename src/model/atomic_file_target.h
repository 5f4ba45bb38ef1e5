#pragma once

// Where a write lands: the file a path names once its symbolic links are
// followed, what kind of file is there, and whether it may be written.
#include <sys/stat.h>

#include <filesystem>

namespace zelvor::model::detail {

enum class TargetKind { Missing, Regular, Folder, Other };

struct WriteTarget {
    // The path itself, or the file its links lead to (which may not exist
    // yet); pipes, devices and folders keep the path as given.
    std::filesystem::path path;
    TargetKind kind = TargetKind::Missing;
    struct stat status {};  // of the existing file; unused when Missing
};

// Follows the symbolic links of the path's last component. Returns 0, or the
// errno that stops it (ELOOP for a loop of links).
int locateTarget(const std::filesystem::path& requested, WriteTarget& target);

// 0 when an existing regular file may be written, else the errno of the
// reason. markedReadOnly tells that the file has no write permission bit at
// all, which refuses it also for root.
int writeRefusal(const WriteTarget& target, bool& markedReadOnly);

}  // namespace zelvor::model::detail
