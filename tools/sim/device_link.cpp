#include "sim/device_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace zelvor::sim {

namespace {

std::optional<std::string> linkTarget(const std::string& path) {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

}  // namespace

std::optional<DeviceLink> DeviceLink::create(const std::string& path, const std::string& target,
                                             std::string& error) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = path + ": exists and is not a symbolic link; not replaced";
        return std::nullopt;
    }
    // Make the new link under a temporary name and rename it over the old one,
    // so the path never stops existing.
    const std::string temporary = path + ".new" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    return DeviceLink(path, target);
}

DeviceLink::DeviceLink(DeviceLink&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_)) {
    other.path_.clear();
}

DeviceLink::~DeviceLink() {
    if (path_.empty()) return;
    if (linkTarget(path_) == target_) ::unlink(path_.c_str());
}

}  // namespace zelvor::sim
