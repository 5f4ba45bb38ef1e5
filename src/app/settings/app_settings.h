#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/settings/ini_document.h"
#include "app/settings/recent_files.h"
#include "editing/window_state.h"

namespace zelvor::app {

// What the program remembers between runs in section BASIC of the settings
// file: the window's place, the port and language, and the window state
// (file, folder, page, the three remembered boxes, the memo's code page; the
// "All" flags of the map grid go into the image dump). Reading takes the
// current values as defaults, so a missing file or key leaves each value as
// it is, and what is not kept (programming after change) stays as it is.
struct AppSettings {
    int left = 0;
    int top = 0;
    int height = 0;
    int width = 0;
    std::uint8_t portIndex = 0;  // ComPort - 1, kept in 8 bits
    std::uint8_t language = 0;
    editing::WindowState window;
    // Kept in a section of its own, which versions without the list leave
    // as it is.
    RecentFiles recentFiles;
};

inline constexpr const char* kSettingsSection = "BASIC";
inline constexpr const char* kPortsSection = "PORTS";

// Reads the keys in their fixed order, each with the current value as default.
AppSettings readAppSettings(const IniDocument& ini, const AppSettings& current);
// Writes the keys in their fixed order and the recent files; other sections
// and keys stay.
void writeAppSettings(IniDocument& ini, const AppSettings& settings);

// Where the settings file, the image dump and the test-mode marker live:
// $XDG_CONFIG_HOME/zelvor (default ~/.config/zelvor).
struct SettingsPaths {
    std::filesystem::path folder;

    std::filesystem::path settingsFile() const { return folder / "Zelvor.ini"; }
    std::filesystem::path imageDump() const { return folder / "_Zelvor.ini"; }
    std::filesystem::path testMarker() const { return folder / "test_tolvek.txt"; }

    static SettingsPaths fromEnvironment();
};

// The marker switches test mode on when any white-space separated word in it
// is exactly "DIAG_SWITCH"; a missing file means off.
bool readTestMode(const std::filesystem::path& marker);

}  // namespace zelvor::app
