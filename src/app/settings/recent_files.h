#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/ini_document.h"

namespace zelvor::app {

inline constexpr const char* kRecentFilesSection = "RecentFiles";

// The parameter files opened or saved last, newest first, each once, at most
// kLimit of them.
class RecentFiles {
  public:
    static constexpr std::size_t kLimit = 8;

    // Puts the path first; an entry already in the list moves up, the
    // oldest falls off when the list is full. An empty path, or one with a
    // line break (which the settings file cannot hold), is ignored.
    void add(std::string_view path);
    void remove(std::string_view path);
    const std::vector<std::string>& paths() const { return paths_; }

    // Section RecentFiles, keys File1 (newest) to File8. Empty values, and
    // repeats of a path already read, are skipped; keys beyond File8 are
    // not read.
    static RecentFiles read(const IniDocument& ini);
    // Writes all eight keys, those without a file empty, so that a shorter
    // list leaves no older entry behind.
    void write(IniDocument& ini) const;

    friend bool operator==(const RecentFiles&, const RecentFiles&) = default;

  private:
    std::vector<std::string> paths_;
};

}  // namespace zelvor::app
