#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zelvor::sim {

// zelvor-sim started as a child process, for tests, timing programs and
// front ends that want a unit to talk to. The child's first line of output
// names the device to open. An executable given without a folder is looked
// up on the PATH.
class SimProcess {
  public:
    // Starts the executable with the arguments (and --exit-with-parent, so the
    // child never outlives this process) and waits up to timeout for the
    // device line. On failure (cannot start, exits, says nothing) returns
    // nothing and sets error; a child that was started is stopped again.
    static std::optional<SimProcess> start(
        const std::string& executable, const std::vector<std::string>& arguments,
        std::string& error, std::chrono::milliseconds timeout = std::chrono::seconds(5));

    SimProcess(SimProcess&& other) noexcept;
    SimProcess& operator=(SimProcess&&) = delete;
    SimProcess(const SimProcess&) = delete;
    ~SimProcess();  // stops the child if it still runs

    pid_t pid() const { return pid_; }
    const std::string& devicePath() const { return devicePath_; }
    bool running() const { return pid_ > 0; }
    // Whether the child still runs; one that has exited is reaped here and
    // counts as not running from then on.
    bool alive();

    // Sends SIGTERM and waits up to timeout for the exit (then SIGKILL).
    // Returns the exit status, or -1 when the child did not exit by itself.
    int stop(std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Kills the child at once (SIGKILL) and reaps it.
    void kill();

  private:
    SimProcess(pid_t pid, std::string devicePath) : pid_(pid), devicePath_(std::move(devicePath)) {}

    pid_t pid_ = -1;
    std::string devicePath_;
};

}  // namespace zelvor::sim
