#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "doctor/system_roots.h"

namespace zelvor::doctor {

// A running process as the process folder shows it.
struct ProcessInfo {
    pid_t pid = 0;
    std::string command;  // the short command name

    friend bool operator==(const ProcessInfo&, const ProcessInfo&) = default;
};

// Processes that hold the device open, found through the links of their open
// files, in the order of their numbers. Processes whose files may not be
// looked at (those of other users, unless run as root) are counted in
// hiddenProcesses. The process given as self is left out.
struct DeviceHolders {
    std::vector<ProcessInfo> holders;
    int hiddenProcesses = 0;
};

DeviceHolders findDeviceHolders(const SystemRoots& roots, const std::filesystem::path& device,
                                pid_t self);

// Running processes whose command name is the one given.
std::vector<ProcessInfo> findProcessesNamed(const SystemRoots& roots, const std::string& command);

}  // namespace zelvor::doctor
