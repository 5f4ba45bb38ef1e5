#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/settings/ini_document.h"

namespace zelvor::app {

// What the program remembers between runs in section BASIC of the settings
// file. Reading takes the current values as defaults, so a missing file or
// key leaves each value as it is.
struct AppSettings {
    int left = 0;
    int top = 0;
    int height = 0;
    int width = 0;
    std::uint8_t portIndex = 0;  // ComPort - 1, kept in 8 bits
    std::uint8_t language = 0;
    std::string file;    // caption of the file-name label
    std::string iniDir;  // folder last chosen in the file dialogs
    int activePage = 7;  // the page the window design shows (Idle)
    bool zobrMs = false;
    bool extMonitor = false;
    bool allPolohaA = false;
    // Code page of the memo and of the unit's identification: 1250 or 1252.
    int memoCodePage = 1252;
};

inline constexpr const char* kSettingsSection = "BASIC";
inline constexpr const char* kPortsSection = "PORTS";

// Reads the keys in their fixed order, each with the current value as default.
AppSettings readAppSettings(const IniDocument& ini, const AppSettings& current);
// Writes the keys in their fixed order; other sections and keys stay.
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
