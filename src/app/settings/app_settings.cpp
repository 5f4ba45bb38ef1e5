#include "app/settings/app_settings.h"

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace zelvor::app {

namespace {

constexpr const char* kLeft = "Left";
constexpr const char* kTop = "Top";
constexpr const char* kHeight = "Height";
constexpr const char* kWidth = "Width";
constexpr const char* kComPort = "ComPort";
constexpr const char* kLanguage = "Language";
constexpr const char* kFile = "File";
constexpr const char* kIniDir = "IniDir";
constexpr const char* kActivePage = "PageControl1->ActivePageIndex";
constexpr const char* kZobrMs = "CheckBoxZobrMs_Uni->Checked";
constexpr const char* kExtMonitor = "CheckBoxExtMonitor->Checked";
constexpr const char* kAllPolohaA = "CheckBoxAll_PolohaA->Checked";
constexpr const char* kMemoCodePage = "MemoCodePage";

bool readFlag(const IniDocument& ini, const char* key, bool current) {
    return ini.integer(kSettingsSection, key, current ? 1 : 0) != 0;
}

}  // namespace

AppSettings readAppSettings(const IniDocument& ini, const AppSettings& current) {
    AppSettings s = current;
    s.left = ini.integer(kSettingsSection, kLeft, current.left);
    s.top = ini.integer(kSettingsSection, kTop, current.top);
    s.height = ini.integer(kSettingsSection, kHeight, current.height);
    s.width = ini.integer(kSettingsSection, kWidth, current.width);
    // The default is the current index itself, so an absent key keeps it; the
    // stored number is one above the index and wraps in 8 bits like the index
    // (counted unsigned, so that the lowest int wraps too).
    const int comPort = ini.integer(kSettingsSection, kComPort, current.portIndex);
    s.portIndex = static_cast<std::uint8_t>(static_cast<unsigned>(comPort) - 1u);
    s.language =
        static_cast<std::uint8_t>(ini.integer(kSettingsSection, kLanguage, current.language));
    editing::WindowState& w = s.window;
    w.fileName = ini.value(kSettingsSection, kFile).value_or("");
    w.iniDir = ini.value(kSettingsSection, kIniDir).value_or("");
    // A page the window does not have keeps the current one.
    const int page = ini.integer(kSettingsSection, kActivePage, current.window.currentPage);
    if (page >= 0 && page < editing::kPageCount) w.currentPage = page;
    w.msDisplay = readFlag(ini, kZobrMs, current.window.msDisplay);
    w.extendedMonitor = readFlag(ini, kExtMonitor, current.window.extendedMonitor);
    w.allPosition = readFlag(ini, kAllPolohaA, current.window.allPosition);
    // Only the two code pages the memo can be kept in; anything else keeps the
    // current one.
    const int codePage = ini.integer(kSettingsSection, kMemoCodePage,
                                     editing::codePageNumber(current.window.memoCodePage));
    w.memoCodePage = editing::codePageFromNumber(codePage).value_or(current.window.memoCodePage);
    s.recentFiles = RecentFiles::read(ini);
    return s;
}

void writeAppSettings(IniDocument& ini, const AppSettings& s) {
    const auto put = [&](const char* key, const std::string& value) {
        ini.setValue(kSettingsSection, key, value);
    };
    put(kLeft, std::to_string(s.left));
    put(kTop, std::to_string(s.top));
    put(kHeight, std::to_string(s.height));
    put(kWidth, std::to_string(s.width));
    put(kComPort, std::to_string(s.portIndex + 1));
    put(kLanguage, std::to_string(s.language));
    const editing::WindowState& w = s.window;
    put(kFile, w.fileName);
    put(kIniDir, w.iniDir);
    put(kActivePage, std::to_string(w.currentPage));
    put(kZobrMs, w.msDisplay ? "1" : "0");
    put(kExtMonitor, w.extendedMonitor ? "1" : "0");
    put(kAllPolohaA, w.allPosition ? "1" : "0");
    put(kMemoCodePage, std::to_string(editing::codePageNumber(w.memoCodePage)));
    s.recentFiles.write(ini);
}

SettingsPaths SettingsPaths::fromEnvironment() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        return {std::filesystem::path(xdg) / "zelvor"};
    }
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = home != nullptr && *home != '\0' ? home : ".";
    return {base / ".config" / "zelvor"};
}

bool readTestMode(const std::filesystem::path& marker) {
    std::ifstream in(marker);
    std::string word;
    while (in >> word) {
        if (word == "DIAG_SWITCH") return true;
    }
    return false;
}

}  // namespace zelvor::app
