// Uses POSIX file calls: the standard library cannot flush a file to the disk
// or create a file that must not exist yet.
#include "model/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace zelvor::model {

namespace {

namespace fs = std::filesystem;

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

// The file to replace: through a symbolic link to the file it points at.
fs::path resolveTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec)) return target;
    fs::path resolved = fs::weakly_canonical(target, ec);
    return ec ? target : resolved;
}

// A new, not yet existing file beside the target, opened for writing. The
// mode 0666 lets the umask decide, as for any newly created file.
int createTemporary(const fs::path& target, fs::path& temporary, int& error) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / ("." + target.filename().string() + ".tmp" +
                              std::to_string(::getpid()) + "-" + std::to_string(counter++));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        error = errno;
        if (error != EEXIST) return -1;
    }
    return -1;
}

bool writeAll(int fd, std::string_view content, int& error) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; failing here loses nothing already written.
void syncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileWriteResult writeFileAtomically(const fs::path& requestedTarget, std::string_view content) {
    const fs::path target = resolveTarget(requestedTarget);
    if (target.filename().empty()) {
        return failure("cannot write " + requestedTarget.string() + ": not a file name");
    }
    struct stat existing {};
    const bool targetExists = ::stat(target.c_str(), &existing) == 0;
    if (targetExists && S_ISDIR(existing.st_mode)) {
        return failure(describe("cannot write", requestedTarget, EISDIR));
    }

    fs::path temporary;
    int error = 0;
    const int fd = createTemporary(target, temporary, error);
    if (fd < 0) return failure(describe("cannot create a file beside", requestedTarget, error));

    bool ok = writeAll(fd, content, error);
    if (ok && targetExists) ::fchmod(fd, existing.st_mode & 07777);
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return failure(describe("cannot write", requestedTarget, error));
    }
    syncFolder(target);
    return {true, {}};
}

}  // namespace zelvor::model
