// The survey of serial devices against a made-up system.
#include "doctor/serial_survey.h"

#include <gtest/gtest.h>

#include "fake_system.h"

namespace zelvor::doctor {
namespace {

using testing::FakeSystem;

std::vector<std::string> namesOf(const std::vector<SerialDevice>& devices) {
    std::vector<std::string> names;
    for (const SerialDevice& device : devices) names.push_back(device.name);
    return names;
}

TEST(SerialSurvey, ListsSerialFamiliesInOrderOfKindAndNumber) {
    FakeSystem system;
    for (const char* name : {"ttyS1", "ttyACM0", "ttyUSB10", "ttyUSB2", "ttyUSB0"}) {
        system.addDevice(name);
    }
    // Names that only look alike, and other terminals, are no serial ports.
    for (const char* name : {"tty1", "ttyUSB", "ttyUSBx", "ttyACM0a", "console", "ttyprintk"}) {
        system.addDevice(name);
    }
    EXPECT_EQ(namesOf(surveySerialDevices(system.roots())),
              (std::vector<std::string>{"ttyUSB0", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS1"}));
}

TEST(SerialSurvey, LeavesOutBuiltInPortNamesWithoutHardware) {
    FakeSystem system;
    system.addBuiltInPort("ttyS0", 4);
    system.addBuiltInPort("ttyS1", 0);
    system.addBuiltInPort("ttyS2", 0);
    system.addDevice("ttyS3");  // no type known: kept
    EXPECT_EQ(namesOf(surveySerialDevices(system.roots())),
              (std::vector<std::string>{"ttyS0", "ttyS3"}));
}

TEST(SerialSurvey, NoDevicesOrNoDeviceFolderGiveAnEmptyList) {
    FakeSystem system;
    EXPECT_TRUE(surveySerialDevices(system.roots()).empty());
    SystemRoots nowhere = system.roots();
    nowhere.dev /= "missing";
    EXPECT_TRUE(surveySerialDevices(nowhere).empty());
}

TEST(SerialSurvey, UsbAdaptersCarryTheirIdsAndNames) {
    FakeSystem system;
    system.addUsbAdapter("ttyUSB0", "0403", "6001", "FTDI", "FT232R USB UART");
    system.addUsbAdapter("ttyACM0", "2341", "0043");
    system.addBuiltInPort("ttyS0", 4);

    const std::vector<SerialDevice> devices = surveySerialDevices(system.roots());
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].usb, (UsbIdentity{"0403", "6001", "FTDI", "FT232R USB UART"}));
    EXPECT_EQ(devices[0].path, system.roots().dev / "ttyUSB0");
    EXPECT_EQ(describeAdapter(devices[0]), "USB 0403:6001 FTDI FT232R USB UART");
    // The modem class sits one level nearer the USB device than ttyUSB.
    EXPECT_EQ(devices[1].usb, (UsbIdentity{"2341", "0043", "", ""}));
    EXPECT_EQ(describeAdapter(devices[1]), "USB 2341:0043");
    EXPECT_FALSE(devices[2].usb.has_value());
    EXPECT_EQ(describeAdapter(devices[2]), "built-in or unknown adapter");
}

TEST(SerialSurvey, ByIdNamesAreResolvedToTheirDevices) {
    FakeSystem system;
    system.addUsbAdapter("ttyUSB0", "0403", "6001");
    system.addUsbAdapter("ttyUSB1", "1a86", "7523");
    system.addById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
    system.addById("usb-1a86_USB2.0-Serial-if00-port0", "ttyUSB1");
    system.addById("usb-Old_Adapter-if00-port0", "ttyUSB7");  // left behind, leads nowhere
    // An absolute link target is read under the device root.
    std::filesystem::create_symlink("/dev/ttyUSB0",
                                    system.roots().dev / "serial" / "by-id" / "usb-second-name");

    const std::vector<SerialDevice> devices = surveySerialDevices(system.roots());
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].byIdNames,
              (std::vector<std::string>{"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
                                        "usb-second-name"}));
    EXPECT_EQ(devices[1].byIdNames,
              (std::vector<std::string>{"usb-1a86_USB2.0-Serial-if00-port0"}));
}

TEST(SerialSurvey, ComparingTwoSurveysNamesWhatAppearedAndVanished) {
    FakeSystem system;
    system.addDevice("ttyUSB0");
    system.addDevice("ttyS0");
    const std::vector<SerialDevice> before = surveySerialDevices(system.roots());
    EXPECT_TRUE(compareSurveys(before, before).empty());

    // The adapter was re-plugged and came back under another name.
    std::filesystem::remove(system.roots().dev / "ttyUSB0");
    system.addDevice("ttyUSB1");
    system.addDevice("ttyACM0");
    const SurveyChange change = compareSurveys(before, surveySerialDevices(system.roots()));
    EXPECT_EQ(change.appeared, (std::vector<std::string>{"ttyUSB1", "ttyACM0"}));
    EXPECT_EQ(change.vanished, (std::vector<std::string>{"ttyUSB0"}));
    EXPECT_FALSE(change.empty());
}

}  // namespace
}  // namespace zelvor::doctor
