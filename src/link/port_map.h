#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

namespace zelvor::link {

// Which device stands behind each of the twenty COM ports the user can pick.
// The default table maps COM1..COM8 to USB serial adapters, COM9..COM12 to
// USB modem-class devices and COM13..COM20 to built-in serial ports; entries
// of the settings file's PORTS section ("COM3" -> "/dev/ttyUSB1") replace
// single rows.
class PortMap {
  public:
    static constexpr int kPortCount = 20;

    // The default table.
    PortMap();
    // The default table with every valid override applied; invalid entries are
    // ignored (see applyOverride).
    explicit PortMap(const std::map<std::string, std::string>& overrides);

    // Replaces one row. The key is "COM1".."COM20" (letters in any case,
    // blanks around key and value ignored); the value is a device path. Returns
    // false, changing nothing, for an unknown key or an empty path.
    bool applyOverride(std::string_view key, std::string_view devicePath);

    // Device path of port index 0..19; empty for any other index.
    std::string devicePath(int index) const;

    // Device path of the default table; empty outside 0..19.
    static std::string defaultDevicePath(int index);
    // "COM1".."COM20" for index 0..19; empty for any other index.
    static std::string displayName(int index);
    // Port index 0..19 of a name "COM1".."COM20", or -1.
    static int indexOfName(std::string_view name);

  private:
    std::array<std::string, kPortCount> paths_;
};

}  // namespace zelvor::link
