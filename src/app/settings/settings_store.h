#pragma once

#include <optional>

#include "app/settings/app_settings.h"
#include "app/settings/image_dump.h"
#include "link/port_map.h"
#include "model/parameter_image.h"

namespace zelvor::app {

// The settings file, the image dump and the test-mode marker in the settings
// folder: read once at start, written once at close. Missing files leave the
// defaults; nothing here is reported to the user except a failed write.
class SettingsStore {
  public:
    explicit SettingsStore(SettingsPaths paths) : paths_(std::move(paths)) {}

    const SettingsPaths& paths() const { return paths_; }

    // Reads the settings file (kept, so that saving leaves its other sections
    // and keys as they were) and returns the settings over the current ones.
    AppSettings load(const AppSettings& current);
    // The COM port table with the settings file's PORTS rows applied.
    link::PortMap portMap() const;
    // Reads the dump over the image and the "All" states of the window state;
    // false when there is no dump.
    bool loadDump(model::ParameterImage& image, editing::WindowState& window) const;
    bool testMode() const { return readTestMode(paths_.testMarker()); }

    // Writes the settings and then the dump (the image and the "All" states of
    // the settings' window state), each atomically; the folder is created
    // when needed. Returns an empty string or what went wrong.
    std::string save(const AppSettings& settings, const model::ParameterImage& image);

  private:
    SettingsPaths paths_;
    IniDocument ini_;
};

}  // namespace zelvor::app
