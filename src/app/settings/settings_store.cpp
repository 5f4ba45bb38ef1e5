#include "app/settings/settings_store.h"

#include <system_error>

#include "model/atomic_file.h"
#include "model/parameter_file_io.h"

namespace zelvor::app {

AppSettings SettingsStore::load(const AppSettings& current) {
    const auto text = model::readFileContent(paths_.settingsFile());
    ini_ = text ? IniDocument::parse(*text) : IniDocument{};
    return readAppSettings(ini_, current);
}

link::PortMap SettingsStore::portMap() const {
    link::PortMap map;
    for (const auto& [key, device] : ini_.entries(kPortsSection)) map.applyOverride(key, device);
    return map;
}

bool SettingsStore::loadDump(model::ParameterImage& image, editing::WindowState& window) const {
    const auto text = model::readFileContent(paths_.imageDump());
    if (!text) return false;
    parseImageDump(*text, image, window.allFlags);
    return true;
}

std::string SettingsStore::save(const AppSettings& settings, const model::ParameterImage& image) {
    std::error_code ec;
    std::filesystem::create_directories(paths_.folder, ec);
    writeAppSettings(ini_, settings);
    std::string problems;
    if (auto r = model::writeFileAtomically(paths_.settingsFile(), ini_.serialize()); !r) {
        problems += r.error;
    }
    // A dump that cannot be written is skipped; the settings still count.
    if (auto r = model::writeFileAtomically(paths_.imageDump(),
                                            formatImageDump(image, settings.window.allFlags));
        !r) {
        if (!problems.empty()) problems += '\n';
        problems += r.error;
    }
    return problems;
}

}  // namespace zelvor::app
