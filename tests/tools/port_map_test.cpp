#include "link/port_map.h"

#include <gtest/gtest.h>

namespace zelvor::link {
namespace {

TEST(PortMap, DefaultTableCoversUsbAcmAndBuiltInPorts) {
    const PortMap map;
    EXPECT_EQ(map.devicePath(0), "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath(7), "/dev/ttyUSB7");
    EXPECT_EQ(map.devicePath(8), "/dev/ttyACM0");
    EXPECT_EQ(map.devicePath(11), "/dev/ttyACM3");
    EXPECT_EQ(map.devicePath(12), "/dev/ttyS0");
    EXPECT_EQ(map.devicePath(19), "/dev/ttyS7");
    EXPECT_EQ(map.devicePath(-1), "");
    EXPECT_EQ(map.devicePath(20), "");
}

TEST(PortMap, DisplayNamesCountFromOne) {
    EXPECT_EQ(PortMap::displayName(0), "COM1");
    EXPECT_EQ(PortMap::displayName(19), "COM20");
    EXPECT_EQ(PortMap::displayName(20), "");
    for (int i = 0; i < PortMap::kPortCount; ++i) {
        EXPECT_EQ(PortMap::indexOfName(PortMap::displayName(i)), i);
    }
}

TEST(PortMap, SettingsEntriesReplaceSingleRows) {
    const PortMap map({{"COM3", "/dev/ttyUSB1"}, {"com20", " /dev/serial/by-id/unit "}});
    EXPECT_EQ(map.devicePath(2), "/dev/ttyUSB1");
    EXPECT_EQ(map.devicePath(19), "/dev/serial/by-id/unit");
    EXPECT_EQ(map.devicePath(1), "/dev/ttyUSB1");  // its default, now shared with COM3
    EXPECT_EQ(map.devicePath(3), "/dev/ttyUSB3");
}

TEST(PortMap, MalformedEntriesAreIgnored) {
    PortMap map;
    for (const char* key : {"COM0", "COM21", "COM03", "COM", "COM1x", "COM+1", "LPT1", "COM-1"}) {
        EXPECT_FALSE(map.applyOverride(key, "/dev/null")) << key;
    }
    EXPECT_FALSE(map.applyOverride("COM1", "   "));
    EXPECT_TRUE(map.applyOverride(" COM1 ", "/dev/ttyAMA0"));
    EXPECT_EQ(map.devicePath(0), "/dev/ttyAMA0");
    for (int i = 1; i < PortMap::kPortCount; ++i) {
        EXPECT_EQ(map.devicePath(i), PortMap::defaultDevicePath(i)) << i;
    }
}

}  // namespace
}  // namespace zelvor::link
