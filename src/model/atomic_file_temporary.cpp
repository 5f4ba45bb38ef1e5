#include "model/atomic_file_temporary.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <string_view>

#include "model/atomic_file.h"

namespace zelvor::model {

namespace {

namespace fs = std::filesystem;

std::atomic<bool> anonymousTemporaries{true};

// Short, so that a target name of any allowed length still leaves room; the
// process id lets a later write tell the stale ones of dead processes.
constexpr std::string_view kTemporaryPrefix = ".zelvor-tmp-";

std::string nextTemporaryName() {
    static std::atomic<unsigned> counter{0};
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

// Takes the decimal number at the start of text off it.
bool takeNumber(std::string_view& text, long& number) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end == text.data()) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

// The process that made a temporary file of this writer, from its name
// "PREFIX<pid>-<n>"; names of earlier versions of the writer,
// ".<target>.tmp<pid>-<n>", count for the target being written. 0 for any
// other name.
pid_t writerOf(std::string_view name, const std::string& targetName) {
    const std::string oldPrefix = "." + targetName + ".tmp";
    if (name.starts_with(kTemporaryPrefix)) {
        name.remove_prefix(kTemporaryPrefix.size());
    } else if (name.starts_with(oldPrefix)) {
        name.remove_prefix(oldPrefix.size());
    } else {
        return 0;
    }
    long pid = 0;
    long counter = 0;
    if (!takeNumber(name, pid) || name.empty() || name.front() != '-') return 0;
    name.remove_prefix(1);
    if (!takeNumber(name, counter) || !name.empty()) return 0;
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool processIsGone(pid_t pid) {
    return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// A write killed while its temporary file had a name left that name behind.
void removeStaleTemporaries(const fs::path& folder, const std::string& targetName) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = writerOf(entry->d_name, targetName);
        if (writer != 0 && processIsGone(writer)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

bool useAnonymous() {
    // Naming such a file again needs its descriptor's path under /proc.
    return anonymousTemporaries && ::access("/proc/self/fd", X_OK) == 0;
}

bool anonymousUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

}  // namespace

void detail::useAnonymousTemporaries(bool enabled) {
    anonymousTemporaries = enabled;
}

namespace detail {

Temporary::~Temporary() {
    close();
    remove();
}

int Temporary::create(const fs::path& folder, const std::string& targetName) {
    if (useAnonymous()) {
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0) return 0;
        if (!anonymousUnsupported(errno)) return errno;
    }
    removeStaleTemporaries(folder, targetName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path name = folder / nextTemporaryName();
        // Mode 0666 lets the umask decide, as for any newly created file.
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            name_ = std::move(name);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

int Temporary::giveName(const fs::path& folder, const std::string& targetName) {
    if (!name_.empty()) return 0;
    removeStaleTemporaries(folder, targetName);
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path name = folder / nextTemporaryName();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            name_ = std::move(name);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

int Temporary::close() {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

void Temporary::remove() {
    if (name_.empty()) return;
    ::unlink(name_.c_str());
    name_.clear();
}

}  // namespace detail

}  // namespace zelvor::model
