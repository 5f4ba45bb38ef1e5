#include "app/settings/recent_files.h"

#include <algorithm>

namespace zelvor::app {

namespace {

std::string keyOf(std::size_t position) {
    return "File" + std::to_string(position + 1);
}

}  // namespace

void RecentFiles::add(std::string_view path) {
    // A line break would end the key in the settings file and let the rest
    // of the name pose as keys and sections of its own.
    if (path.empty() || path.find_first_of("\r\n") != std::string_view::npos) return;
    remove(path);
    paths_.insert(paths_.begin(), std::string(path));
    if (paths_.size() > kLimit) paths_.resize(kLimit);
}

void RecentFiles::remove(std::string_view path) {
    std::erase(paths_, path);
}

RecentFiles RecentFiles::read(const IniDocument& ini) {
    RecentFiles recent;
    for (std::size_t i = 0; i < kLimit; ++i) {
        const std::string path = ini.value(kRecentFilesSection, keyOf(i)).value_or("");
        if (path.empty() || std::ranges::find(recent.paths_, path) != recent.paths_.end()) continue;
        recent.paths_.push_back(path);
    }
    return recent;
}

void RecentFiles::write(IniDocument& ini) const {
    for (std::size_t i = 0; i < kLimit; ++i) {
        ini.setValue(kRecentFilesSection, keyOf(i), i < paths_.size() ? paths_[i] : std::string());
    }
}

}  // namespace zelvor::app
