// Uses POSIX file calls: the standard library cannot flush a file to the disk,
// create a file without a name or reserve space for one.
#include "model/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/atomic_file_target.h"
#include "model/atomic_file_temporary.h"

namespace zelvor::model {

namespace {

namespace fs = std::filesystem;
using detail::TargetKind;
using detail::Temporary;
using detail::WriteTarget;

std::string describe(std::string_view what, const fs::path& path, int error) {
    std::string text(what);
    text += ' ';
    text += path.string();
    text += ": ";
    text += std::strerror(error);
    return text;
}

FileWriteResult failure(std::string error) {
    return {false, std::move(error)};
}

int writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The replacement belongs to whom the old file belonged, where the process
// may say so (root may; a user may keep one of their own groups), and has
// its permission bits.
void keepOwnerAndMode(int fd, const struct stat& old) {
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // The replacement stays the writer's own, as a new file would.
        }
    }
    ::fchmod(fd, old.st_mode & 07777);
}

// Makes the rename itself durable; failing here loses nothing already written.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// No temporary file can be made, or it cannot take the target's place,
// because the folder may not be changed (no rights, or the sticky bit).
bool folderRefuses(int error) {
    return error == EACCES || error == EPERM;
}

// Asks for the space a growing file needs before its old bytes are
// overwritten, so that a full disk fails while the file is still whole.
int reserveSpace(int fd, off_t oldSize, std::size_t newSize) {
    if (static_cast<off_t>(newSize) <= oldSize) return 0;
    if (::fallocate(fd, 0, 0, static_cast<off_t>(newSize)) == 0) return 0;
    const int error = errno;
    if (error == EOPNOTSUPP || error == ENOSYS) return 0;  // the write itself will tell
    if (::ftruncate(fd, oldSize) != 0) {
        // The size is still the old one unless the reservation had grown it.
    }
    return error;
}

// Truncates and writes the file itself, as a plain save does: for a pipe
// or a device, and for a writable file that cannot be replaced.
FileWriteResult writeInPlace(const WriteTarget& target, const fs::path& requested,
                             std::string_view content) {
    const bool regular = target.kind == TargetKind::Regular;
    // A pipe without a reader fails at once instead of blocking the program.
    const int fd =
        ::open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (regular ? 0 : O_NONBLOCK));
    if (fd < 0) return failure(describe("cannot write", requested, errno));
    int error = 0;
    if (!regular && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) error = errno;
    if (regular) error = reserveSpace(fd, target.status.st_size, content.size());
    if (error == 0) error = writeAll(fd, content);
    if (error == 0 && regular && ::ftruncate(fd, static_cast<off_t>(content.size())) != 0) {
        error = errno;
    }
    if (error == 0 && regular && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) return failure(describe("cannot write", requested, error));
    return {true, {}};
}

FileWriteResult replaceFile(const WriteTarget& target, const fs::path& requested,
                            std::string_view content) {
    const fs::path folder = target.path.has_parent_path() ? target.path.parent_path() : ".";
    const std::string targetName = target.path.filename().string();
    const bool exists = target.kind == TargetKind::Regular;
    Temporary temporary;
    int error = temporary.create(folder, targetName);
    if (error != 0) {
        if (exists && folderRefuses(error)) return writeInPlace(target, requested, content);
        return failure(describe("cannot create a file beside", requested, error));
    }
    error = writeAll(temporary.fd(), content);
    if (error == 0 && exists) keepOwnerAndMode(temporary.fd(), target.status);
    if (error == 0 && ::fsync(temporary.fd()) != 0) error = errno;
    if (error == 0) error = temporary.giveName(folder, targetName);
    if (const int closeError = temporary.close(); error == 0) error = closeError;
    if (error == 0 && ::rename(temporary.name().c_str(), target.path.c_str()) != 0) {
        error = errno;
        if (exists && folderRefuses(error)) {
            temporary.remove();
            return writeInPlace(target, requested, content);
        }
    }
    if (error != 0) return failure(describe("cannot write", requested, error));
    temporary.release();
    syncFolder(folder);
    return {true, {}};
}

}  // namespace

FileWriteResult writeFileAtomically(const fs::path& requested, std::string_view content) {
    if (requested.filename().empty()) {
        return failure("cannot write " + requested.string() + ": not a file name");
    }
    WriteTarget target;
    if (const int error = detail::locateTarget(requested, target); error != 0) {
        return failure(describe("cannot write", requested, error));
    }
    if (target.kind == TargetKind::Folder)
        return failure(describe("cannot write", requested, EISDIR));
    if (target.kind == TargetKind::Other) return writeInPlace(target, requested, content);
    bool markedReadOnly = false;
    if (const int error = detail::writeRefusal(target, markedReadOnly); error != 0) {
        if (markedReadOnly) {
            return failure("cannot write " + requested.string() + ": the file is marked read-only");
        }
        return failure(describe("cannot write", requested, error));
    }
    return replaceFile(target, requested, content);
}

}  // namespace zelvor::model
