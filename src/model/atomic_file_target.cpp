#include "model/atomic_file_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace zelvor::model::detail {

namespace {

namespace fs = std::filesystem;

// As many links in a row as the kernel follows before it reports a loop.
constexpr int kMaxLinksInARow = 40;

TargetKind kindOf(mode_t mode) {
    if (S_ISREG(mode)) return TargetKind::Regular;
    if (S_ISDIR(mode)) return TargetKind::Folder;
    return TargetKind::Other;
}

int readLink(const fs::path& link, std::string& destination) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (length < 0) return errno;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            destination = std::move(buffer);
            return 0;
        }
        if (buffer.size() >= 65536) return ENAMETOOLONG;
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

int locateTarget(const fs::path& requested, WriteTarget& target) {
    // A pipe, a device or a folder is used by the name given, so that links
    // only the kernel can follow (/dev/stdout) still reach it.
    struct stat followed {};
    if (::stat(requested.c_str(), &followed) == 0 && !S_ISREG(followed.st_mode)) {
        target = {requested, kindOf(followed.st_mode), followed};
        return 0;
    }
    fs::path current = requested;
    for (int link = 0; link <= kMaxLinksInARow; ++link) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno != ENOENT) return errno;
            // Nothing there yet (perhaps the end of a dangling link): the
            // file is created under this path.
            target = {current, TargetKind::Missing, {}};
            return 0;
        }
        if (!S_ISLNK(status.st_mode)) {
            target = {current, kindOf(status.st_mode), status};
            return 0;
        }
        std::string destination;
        if (const int error = readLink(current, destination); error != 0) return error;
        const fs::path next(destination);
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return ELOOP;
}

int writeRefusal(const WriteTarget& target, bool& markedReadOnly) {
    markedReadOnly = false;
    if (target.kind != TargetKind::Regular) return 0;
    // Root may write any file, so the mark is checked here, as a tuner who
    // made a tune read-only expects it to hold.
    if ((target.status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        markedReadOnly = true;
        return EACCES;
    }
    // Replacing needs rights to the folder only; writing the file itself is
    // what a plain save would need, so that is what counts.
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM || errno == EROFS)) {
        return errno;
    }
    return 0;
}

}  // namespace zelvor::model::detail
