#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "doctor/serial_survey.h"
#include "doctor/system_roots.h"
#include "doctor/user_identity.h"

namespace zelvor::doctor {

enum class FindingKind {
    Missing,       // the device does not exist
    NoPermission,  // the user may not read and write it
    Busy,          // another process holds it open
    ModemManager,  // ModemManager runs and may probe this USB adapter
};

// What the doctor found wrong with a device, in plain words, and what to do
// about it: one line each, commands on lines of their own.
struct Finding {
    FindingKind kind;
    std::string problem;
    std::vector<std::string> remedy;
};

// The device the user named: a path, a name in serial/by-id or a bare device
// name such as ttyUSB0.
struct NamedDevice {
    std::string given;             // as the user wrote it
    std::filesystem::path path;    // where it lies under the roots
    std::filesystem::path device;  // with symbolic links followed (the path itself if missing)
    bool exists = false;
};

NamedDevice locateDevice(const SystemRoots& roots, const std::string& given);

// Everything the system shows about why the device may not work, without
// opening it. An empty list means nothing stands in the way.
std::vector<Finding> diagnoseDevice(const SystemRoots& roots, const NamedDevice& device,
                                    const UserIdentity& user, pid_t self);

// The single findings, for callers and tests that want one of them.
std::optional<Finding> missingFinding(const SystemRoots& roots, const NamedDevice& device);
std::optional<Finding> permissionFinding(const SystemRoots& roots, const NamedDevice& device,
                                         const UserIdentity& user);
std::optional<Finding> busyFinding(const SystemRoots& roots, const NamedDevice& device, pid_t self);
std::optional<Finding> modemManagerFinding(const SystemRoots& roots, const NamedDevice& device);

// The udev rule that makes ModemManager leave an adapter alone, and the file
// it is installed as.
std::string modemManagerRule(const UsbIdentity& usb);
std::string modemManagerRuleFile(const UsbIdentity& usb);

}  // namespace zelvor::doctor
