#include "doctor/port_diagnosis.h"

#include <sys/stat.h>

#include <system_error>

#include "doctor/process_scan.h"

namespace zelvor::doctor {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 16;
constexpr const char* kModemManager = "ModemManager";

// Follows symbolic links as the roots see them: an absolute target such as
// "/dev/ttyUSB0" lies under the device root.
fs::path followLinks(const SystemRoots& roots, fs::path path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)) || error) break;
        const fs::path target = fs::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? roots.rooted(target) : path.parent_path() / target;
        path = path.lexically_normal();
    }
    return path;
}

// "crw-rw----" as ls shows a mode.
std::string modeText(const struct stat& info) {
    std::string text = S_ISCHR(info.st_mode) ? "c" : S_ISDIR(info.st_mode) ? "d" : "-";
    constexpr mode_t kBits[] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP,
                                S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    constexpr char kLetters[] = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) text += (info.st_mode & kBits[i]) ? kLetters[i] : '-';
    return text;
}

bool readWrite(mode_t mode, mode_t readBit, mode_t writeBit) {
    return (mode & readBit) && (mode & writeBit);
}

// Whether the user may open the device for reading and writing, by the rules
// the system applies: owner bits for the owner, group bits for a member,
// the others' bits for everybody else; root may do anything.
bool userMayReadWrite(const struct stat& info, const UserIdentity& user) {
    if (user.isRoot()) return true;
    if (user.uid == info.st_uid) return readWrite(info.st_mode, S_IRUSR, S_IWUSR);
    if (user.hasGroup(info.st_gid)) return readWrite(info.st_mode, S_IRGRP, S_IWGRP);
    return readWrite(info.st_mode, S_IROTH, S_IWOTH);
}

bool listsMember(const GroupEntry& group, const std::string& user) {
    for (const std::string& member : group.members) {
        if (member == user) return true;
    }
    return false;
}

std::string processList(const std::vector<ProcessInfo>& processes) {
    std::string text;
    for (const ProcessInfo& process : processes) {
        if (!text.empty()) text += ", ";
        text += "process " + std::to_string(process.pid) + " (" +
                (process.command.empty() ? std::string("unknown") : process.command) + ")";
    }
    return text;
}

std::string pidList(const std::vector<ProcessInfo>& processes) {
    std::string text = processes.size() == 1 ? "process " : "processes ";
    for (std::size_t i = 0; i < processes.size(); ++i) {
        text += (i ? ", " : "") + std::to_string(processes[i].pid);
    }
    return text;
}

std::string devicesPresent(const SystemRoots& roots) {
    std::string text;
    for (const SerialDevice& device : surveySerialDevices(roots)) {
        if (!text.empty()) text += ", ";
        text += device.path.string() + " (" + describeAdapter(device) + ")";
    }
    return text;
}

// The lasting name of an adapter that is plugged in, to show in an example;
// a placeholder when none has one.
std::string byIdExample(const SystemRoots& roots) {
    for (const SerialDevice& device : surveySerialDevices(roots)) {
        if (!device.byIdNames.empty()) return device.byIdNames.front();
    }
    return "<name>";
}

// A pseudo-terminal (a simulated unit, for one) is always held open by the
// program that made it; that is no sign of a port in use.
bool isPseudoTerminal(const SystemRoots& roots, const fs::path& device) {
    const fs::path folder = device.parent_path().lexically_normal();
    return folder == (roots.dev / "pts").lexically_normal();
}

}  // namespace

NamedDevice locateDevice(const SystemRoots& roots, const std::string& given) {
    NamedDevice named;
    named.given = given;
    const fs::path asGiven(given);
    if (asGiven.is_absolute()) {
        named.path = roots.rooted(asGiven);
    } else if (given.find('/') != std::string::npos) {
        named.path = asGiven;
    } else {
        const fs::path byId = roots.dev / "serial" / "by-id" / given;
        std::error_code error;
        named.path = fs::exists(fs::symlink_status(byId, error)) ? byId : roots.dev / given;
    }
    if (given.empty()) return named;
    named.device = followLinks(roots, named.path);
    std::error_code error;
    named.exists = fs::exists(named.device, error) && !fs::is_directory(named.device, error);
    return named;
}

std::optional<Finding> missingFinding(const SystemRoots& roots, const NamedDevice& device) {
    if (device.exists) return std::nullopt;
    Finding finding{FindingKind::Missing, device.given + " does not exist.", {}};
    std::error_code error;
    if (device.given.empty()) {
        finding.problem = "No device was named.";
    } else if (fs::is_directory(device.device, error)) {
        finding.problem = device.given + " is a folder, not a serial device.";
    } else if (device.device != device.path) {
        finding.problem = device.given + " leads to " + device.device.string() +
                          ", which does not exist: the adapter is not plugged in.";
    }
    const std::string present = devicesPresent(roots);
    if (present.empty()) {
        finding.remedy.push_back(
            "No serial device is present. Plug in the adapter and check its cable.");
    } else {
        finding.remedy.push_back("Serial devices present now: " + present + ".");
        finding.remedy.push_back(
            "An adapter plugged into another socket may come back under another name; its name "
            "in /dev/serial/by-id stays the same.");
        finding.remedy.push_back(
            "To find the adapter by that name, bind a Com item to it in the [PORTS] section of "
            "the settings file Zelvor.ini, for example:");
        finding.remedy.push_back("  COM1=/dev/serial/by-id/" + byIdExample(roots));
    }
    return finding;
}

std::optional<Finding> permissionFinding(const SystemRoots& roots, const NamedDevice& device,
                                         const UserIdentity& user) {
    struct stat info {};
    if (!device.exists || ::stat(device.device.c_str(), &info) != 0) return std::nullopt;
    if (userMayReadWrite(info, user)) return std::nullopt;

    const std::vector<GroupEntry> groups = readGroupFile(roots.groupFile);
    const std::optional<GroupEntry> group = findGroup(groups, info.st_gid);
    const std::string groupName = group ? group->name : std::to_string(info.st_gid);
    const std::string path = device.device.string();

    Finding finding{FindingKind::NoPermission,
                    "You (" + user.name + ") may not read and write " + path + ": its mode is " +
                        modeText(info) + ", its group is " + groupName + ".",
                    {}};
    const bool groupMayReadWrite = readWrite(info.st_mode, S_IRGRP, S_IWGRP);
    if (info.st_uid == user.uid) {
        finding.problem += " It belongs to you, but its mode does not let you read and write it.";
        finding.remedy.push_back("Give yourself read and write access:");
        finding.remedy.push_back("chmod u+rw " + path);
    } else if (groupMayReadWrite && info.st_gid != 0 && !user.hasGroup(info.st_gid)) {
        if (group && listsMember(*group, user.name)) {
            finding.problem += " You are in group " + groupName +
                               ", but this login session started before you joined it.";
            finding.remedy.push_back(
                "Log out and log in again (or restart the computer): a new group counts from "
                "the next login.");
        } else {
            finding.problem += " Members of group " + groupName + " may use it; you are not one.";
            finding.remedy.push_back("Join the group:");
            finding.remedy.push_back("sudo usermod -aG " + groupName + " " + user.name);
            finding.remedy.push_back(
                "Then log out and log in again (or restart the computer): a new group counts "
                "only from the next login.");
        }
    } else {
        finding.problem += " Only its owner may use it.";
        finding.remedy.push_back(
            "Give everybody read and write access until it is plugged in again:");
        finding.remedy.push_back("sudo chmod a+rw " + path);
    }
    return finding;
}

std::optional<Finding> busyFinding(const SystemRoots& roots, const NamedDevice& device,
                                   pid_t self) {
    if (!device.exists || isPseudoTerminal(roots, device.device)) return std::nullopt;
    const DeviceHolders found = findDeviceHolders(roots, device.device, self);
    if (found.holders.empty()) return std::nullopt;
    Finding finding{FindingKind::Busy,
                    device.device.string() + " is in use by " + processList(found.holders) + ".",
                    {"Close that program (a terminal program, another tuner window, a logger), "
                     "or end it:"}};
    for (const ProcessInfo& holder : found.holders) {
        finding.remedy.push_back("kill " + std::to_string(holder.pid));
    }
    return finding;
}

std::string modemManagerRule(const UsbIdentity& usb) {
    return "ATTRS{idVendor}==\"" + usb.vendorId + "\", ATTRS{idProduct}==\"" + usb.productId +
           "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"";
}

std::string modemManagerRuleFile(const UsbIdentity& usb) {
    return "/etc/udev/rules.d/99-zelvor-" + usb.vendorId + "-" + usb.productId + ".rules";
}

std::optional<Finding> modemManagerFinding(const SystemRoots& roots, const NamedDevice& device) {
    if (!device.exists) return std::nullopt;
    const std::optional<UsbIdentity> usb = usbIdentityOf(roots, device.device.filename().string());
    if (!usb) return std::nullopt;
    const std::vector<ProcessInfo> running = findProcessesNamed(roots, kModemManager);
    if (running.empty()) return std::nullopt;
    return Finding{
        FindingKind::ModemManager,
        "ModemManager is running (" + pidList(running) +
            "). It probes new USB serial adapters such as this one (USB " + usb->vendorId + ":" +
            usb->productId + ") and spoils the line for a while after plugging in.",
        {"Tell it to leave this adapter alone with a udev rule:",
         "echo '" + modemManagerRule(*usb) + "' | sudo tee " + modemManagerRuleFile(*usb),
         "sudo udevadm control --reload-rules", "Then unplug the adapter and plug it in again."}};
}

std::vector<Finding> diagnoseDevice(const SystemRoots& roots, const NamedDevice& device,
                                    const UserIdentity& user, pid_t self) {
    std::vector<Finding> findings;
    if (auto missing = missingFinding(roots, device)) {
        findings.push_back(std::move(*missing));
        return findings;
    }
    for (auto finding : {permissionFinding(roots, device, user), busyFinding(roots, device, self),
                         modemManagerFinding(roots, device)}) {
        if (finding) findings.push_back(std::move(*finding));
    }
    return findings;
}

}  // namespace zelvor::doctor
