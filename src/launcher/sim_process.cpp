#include "launcher/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace zelvor::sim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Waits for the child to exit; its wait status, or nothing at the deadline.
std::optional<int> reap(pid_t pid, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 && errno != EINTR) return -1;  // not our child any more
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(milliseconds(2));
    }
}

// Reads the first line from fd within the deadline; nothing on end of file,
// error or time-out.
std::optional<std::string> readFirstLine(int fd, Clock::time_point deadline) {
    std::string line;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd watch{fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        if (c == '\n') return line;
        line.push_back(c);
    }
}

}  // namespace

std::optional<SimProcess> SimProcess::start(const std::string& executable,
                                            const std::vector<std::string>& arguments,
                                            std::string& error, milliseconds timeout) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);

    std::vector<std::string> argv = {executable};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    // The unit goes when its front end goes, however that ends.
    argv.emplace_back("--exit-with-parent");
    std::vector<char*> pointers;
    for (std::string& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    pid_t pid = -1;
    // A bare name is looked up on the PATH, as a shell would.
    const bool onPath = executable.find('/') == std::string::npos;
    const int spawnError =
        onPath ? ::posix_spawnp(&pid, executable.c_str(), &actions, nullptr, pointers.data(), environ)
               : ::posix_spawn(&pid, executable.c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawnError != 0) {
        ::close(pipeFds[0]);
        error = executable + ": " + std::strerror(spawnError);
        return std::nullopt;
    }
    const std::optional<std::string> device = readFirstLine(pipeFds[0], Clock::now() + timeout);
    ::close(pipeFds[0]);
    SimProcess process(pid, device.value_or(std::string()));
    if (!device || device->empty()) {
        const int status = process.stop(milliseconds(500));
        error =
            executable + " did not name its device (exit status " + std::to_string(status) + ")";
        return std::nullopt;
    }
    return process;
}

SimProcess::SimProcess(SimProcess&& other) noexcept
    : pid_(other.pid_), devicePath_(std::move(other.devicePath_)) {
    other.pid_ = -1;
}

SimProcess::~SimProcess() {
    if (running()) stop();
}

bool SimProcess::alive() {
    if (!running()) return false;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR)) return true;
    pid_ = -1;  // exited and reaped, or not our child any more
    return false;
}

int SimProcess::stop(milliseconds timeout) {
    if (!running()) return -1;
    ::kill(pid_, SIGTERM);
    std::optional<int> status = reap(pid_, timeout);
    if (!status) {
        ::kill(pid_, SIGKILL);
        reap(pid_, std::chrono::seconds(5));
    }
    pid_ = -1;
    if (!status || !WIFEXITED(*status)) return -1;
    return WEXITSTATUS(*status);
}

void SimProcess::kill() {
    if (!running()) return;
    ::kill(pid_, SIGKILL);
    reap(pid_, std::chrono::seconds(5));
    pid_ = -1;
}

}  // namespace zelvor::sim
