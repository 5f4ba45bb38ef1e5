#pragma once

#include <optional>
#include <string>

namespace zelvor::sim {

// A symbolic link with a fixed name to the simulator's device, so that a
// settings file can name the port once. Removed again when this object goes,
// unless something else has replaced it meanwhile.
class DeviceLink {
  public:
    // Makes path a link to target, replacing an older symbolic link there; a
    // regular file or directory at path is never replaced. On failure returns
    // nothing and sets error.
    static std::optional<DeviceLink> create(const std::string& path, const std::string& target,
                                            std::string& error);

    DeviceLink(DeviceLink&& other) noexcept;
    DeviceLink& operator=(DeviceLink&&) = delete;
    DeviceLink(const DeviceLink&) = delete;
    ~DeviceLink();

    const std::string& path() const { return path_; }

  private:
    DeviceLink(std::string path, std::string target)
        : path_(std::move(path)), target_(std::move(target)) {}

    std::string path_;
    std::string target_;
};

}  // namespace zelvor::sim
