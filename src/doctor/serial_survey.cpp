#include "doctor/serial_survey.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string_view>
#include <system_error>

namespace zelvor::doctor {

namespace fs = std::filesystem;

namespace {

struct DeviceFamily {
    std::string_view prefix;
    bool builtIn;  // a built-in port: may be a name without hardware
};

// In the order the survey lists them.
constexpr std::array<DeviceFamily, 3> kFamilies{{
    {"ttyUSB", false},
    {"ttyACM", false},
    {"ttyS", true},
}};

// Levels above a tty's device to look for the USB device: ttyUSB sits two
// levels below it (interface, then port), ttyACM one.
constexpr int kUsbSearchLevels = 3;

// The first line of a small system file, without its line end; empty when the
// file cannot be read.
std::string firstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    return line;
}

// The number after a family prefix, or -1 when the rest is not all digits.
long deviceNumber(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return -1;
    long number = 0;
    for (const char c : name.substr(prefix.size())) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        if (number > 100000) return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

// A built-in port without hardware: the kernel reports its UART type as 0.
bool isEmptyBuiltInPort(const SystemRoots& roots, const std::string& name) {
    return firstLine(roots.sys / "class" / "tty" / name / "type") == "0";
}

// Where a symbolic link in the by-id folder leads, as a path under the roots.
fs::path linkTarget(const SystemRoots& roots, const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error) return {};
    if (target.is_absolute()) return roots.rooted(target).lexically_normal();
    return (link.parent_path() / target).lexically_normal();
}

}  // namespace

std::optional<UsbIdentity> usbIdentityOf(const SystemRoots& roots, const std::string& ttyName) {
    std::error_code error;
    fs::path folder = fs::canonical(roots.sys / "class" / "tty" / ttyName / "device", error);
    if (error) return std::nullopt;
    for (int level = 0; level <= kUsbSearchLevels && folder.has_relative_path(); ++level) {
        const std::string vendor = firstLine(folder / "idVendor");
        if (!vendor.empty()) {
            return UsbIdentity{vendor, firstLine(folder / "idProduct"),
                               firstLine(folder / "manufacturer"), firstLine(folder / "product")};
        }
        folder = folder.parent_path();
    }
    return std::nullopt;
}

std::vector<SerialDevice> surveySerialDevices(const SystemRoots& roots) {
    struct Found {
        std::size_t family;
        long number;
        SerialDevice device;
    };
    std::vector<Found> found;
    std::error_code error;
    for (fs::directory_iterator entry(roots.dev, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        for (std::size_t family = 0; family < kFamilies.size(); ++family) {
            const long number = deviceNumber(name, kFamilies[family].prefix);
            if (number < 0) continue;
            if (kFamilies[family].builtIn && isEmptyBuiltInPort(roots, name)) break;
            SerialDevice device;
            device.name = name;
            device.path = roots.dev / name;
            device.usb = usbIdentityOf(roots, name);
            found.push_back({family, number, std::move(device)});
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.family != b.family ? a.family < b.family : a.number < b.number;
    });

    std::vector<SerialDevice> devices;
    for (Found& f : found) devices.push_back(std::move(f.device));

    const fs::path byId = roots.dev / "serial" / "by-id";
    for (fs::directory_iterator entry(byId, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path target = linkTarget(roots, entry->path());
        for (SerialDevice& device : devices) {
            if (target == device.path.lexically_normal()) {
                device.byIdNames.push_back(entry->path().filename().string());
            }
        }
    }
    for (SerialDevice& device : devices)
        std::sort(device.byIdNames.begin(), device.byIdNames.end());
    return devices;
}

SurveyChange compareSurveys(const std::vector<SerialDevice>& before,
                            const std::vector<SerialDevice>& after) {
    const auto contains = [](const std::vector<SerialDevice>& list, const std::string& name) {
        return std::any_of(list.begin(), list.end(),
                           [&](const SerialDevice& d) { return d.name == name; });
    };
    SurveyChange change;
    for (const SerialDevice& device : after) {
        if (!contains(before, device.name)) change.appeared.push_back(device.name);
    }
    for (const SerialDevice& device : before) {
        if (!contains(after, device.name)) change.vanished.push_back(device.name);
    }
    return change;
}

std::string describeAdapter(const SerialDevice& device) {
    if (!device.usb) return "built-in or unknown adapter";
    std::string text = "USB " + device.usb->vendorId + ":" + device.usb->productId;
    if (!device.usb->manufacturer.empty()) text += " " + device.usb->manufacturer;
    if (!device.usb->product.empty()) text += " " + device.usb->product;
    return text;
}

}  // namespace zelvor::doctor
