#pragma once

#include <optional>
#include <string>
#include <vector>

#include "doctor/system_roots.h"

namespace zelvor::doctor {

// What the system tells of the USB device behind a serial adapter.
struct UsbIdentity {
    std::string vendorId;      // four hex digits, as the system gives them ("0403")
    std::string productId;     // "6001"
    std::string manufacturer;  // may be empty
    std::string product;       // may be empty

    friend bool operator==(const UsbIdentity&, const UsbIdentity&) = default;
};

// One serial device that exists.
struct SerialDevice {
    std::string name;                    // "ttyUSB0"
    std::filesystem::path path;          // the device under the device root
    std::vector<std::string> byIdNames;  // file names in serial/by-id that lead to it
    std::optional<UsbIdentity> usb;      // only for USB adapters

    friend bool operator==(const SerialDevice&, const SerialDevice&) = default;
};

// The serial devices that exist (ttyUSB*, ttyACM*, ttyS*), USB adapters first,
// each family in the order of its numbers. Built-in ports the kernel keeps a
// name for without any hardware behind it (type 0 in the system's tty class)
// are left out.
std::vector<SerialDevice> surveySerialDevices(const SystemRoots& roots);

// The USB identity of a tty by its name, found by walking up from its device
// in the system's tty class to the USB device that carries idVendor.
std::optional<UsbIdentity> usbIdentityOf(const SystemRoots& roots, const std::string& ttyName);

// Devices that came or went between two surveys, by name.
struct SurveyChange {
    std::vector<std::string> appeared;
    std::vector<std::string> vanished;

    bool empty() const { return appeared.empty() && vanished.empty(); }
};

SurveyChange compareSurveys(const std::vector<SerialDevice>& before,
                            const std::vector<SerialDevice>& after);

// "USB 0403:6001 FTDI FT232R USB UART", or "built-in or unknown" without USB.
std::string describeAdapter(const SerialDevice& device);

}  // namespace zelvor::doctor
