#include "link/port_map.h"

#include <cctype>
#include <charconv>

namespace zelvor::link {

namespace {

// Rows of the default table: a run of consecutive COM ports on consecutive
// device numbers.
struct DefaultRun {
    int firstIndex;
    int count;
    std::string_view devicePrefix;
};

constexpr std::array<DefaultRun, 3> kDefaultRuns = {{
    {0, 8, "/dev/ttyUSB"},
    {8, 4, "/dev/ttyACM"},
    {12, 8, "/dev/ttyS"},
}};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

PortMap::PortMap() {
    for (int i = 0; i < kPortCount; ++i) paths_[i] = defaultDevicePath(i);
}

PortMap::PortMap(const std::map<std::string, std::string>& overrides) : PortMap() {
    for (const auto& [key, path] : overrides) applyOverride(key, path);
}

bool PortMap::applyOverride(std::string_view key, std::string_view devicePath) {
    const int index = indexOfName(trimmed(key));
    const std::string_view path = trimmed(devicePath);
    if (index < 0 || path.empty()) return false;
    paths_[index] = std::string(path);
    return true;
}

std::string PortMap::devicePath(int index) const {
    if (index < 0 || index >= kPortCount) return {};
    return paths_[index];
}

std::string PortMap::defaultDevicePath(int index) {
    for (const DefaultRun& run : kDefaultRuns) {
        if (index >= run.firstIndex && index < run.firstIndex + run.count) {
            return std::string(run.devicePrefix) + std::to_string(index - run.firstIndex);
        }
    }
    return {};
}

std::string PortMap::displayName(int index) {
    if (index < 0 || index >= kPortCount) return {};
    return "COM" + std::to_string(index + 1);
}

int PortMap::indexOfName(std::string_view name) {
    if (name.size() < 4) return -1;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return -1;
    }
    const std::string_view digits = name.substr(3);
    // "COM03" or "COM+3" are not port names.
    if (digits.front() < '1' || digits.front() > '9') return -1;
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return -1;
    if (number < 1 || number > kPortCount) return -1;
    return number - 1;
}

}  // namespace zelvor::link
