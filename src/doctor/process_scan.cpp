#include "doctor/process_scan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <system_error>

namespace zelvor::doctor {

namespace fs = std::filesystem;

namespace {

// The process folders (those named by a number) in the order of their numbers.
std::vector<ProcessInfo> listProcesses(const SystemRoots& roots) {
    std::vector<ProcessInfo> processes;
    std::error_code error;
    for (fs::directory_iterator entry(roots.proc, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        pid_t pid = 0;
        const auto [stop, failed] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (failed != std::errc() || stop != name.data() + name.size() || pid <= 0) continue;
        std::ifstream comm(entry->path() / "comm");
        std::string command;
        std::getline(comm, command);
        processes.push_back({pid, command});
    }
    std::sort(processes.begin(), processes.end(),
              [](const ProcessInfo& a, const ProcessInfo& b) { return a.pid < b.pid; });
    return processes;
}

// The device a path names, with links followed, for comparing open files.
fs::path identityPath(const fs::path& path) {
    std::error_code error;
    const fs::path canonical = fs::canonical(path, error);
    return error ? path.lexically_normal() : canonical;
}

}  // namespace

DeviceHolders findDeviceHolders(const SystemRoots& roots, const fs::path& device, pid_t self) {
    const fs::path wanted = identityPath(device);
    DeviceHolders result;
    for (const ProcessInfo& process : listProcesses(roots)) {
        if (process.pid == self) continue;
        std::error_code error;
        fs::directory_iterator entry(roots.proc / std::to_string(process.pid) / "fd", error);
        if (error) {
            if (error == std::errc::permission_denied) ++result.hiddenProcesses;
            continue;
        }
        for (fs::directory_iterator end; entry != end; entry.increment(error)) {
            if (error) break;
            std::error_code linkError;
            const fs::path target = fs::read_symlink(entry->path(), linkError);
            if (linkError || !target.is_absolute()) continue;
            if (target.lexically_normal() == wanted || identityPath(target) == wanted) {
                result.holders.push_back(process);
                break;
            }
        }
    }
    return result;
}

std::vector<ProcessInfo> findProcessesNamed(const SystemRoots& roots, const std::string& command) {
    std::vector<ProcessInfo> found;
    for (ProcessInfo& process : listProcesses(roots)) {
        if (process.command == command) found.push_back(std::move(process));
    }
    return found;
}

}  // namespace zelvor::doctor
