#include "sim/sim_server.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "sim/block_store.h"
#include "sim/frame_assembler.h"
#include "sim/line_pacer.h"

namespace zelvor::sim {

namespace {

using Clock = std::chrono::steady_clock;
using LineTime = LinePacer::Time;

constexpr std::array<int, 3> kStopSignals = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t stopFlag = 0;

extern "C" void onStopSignal(int) {
    stopFlag = 1;
}

timespec waitTimeOf(LineTime wait) {
    const auto micros = std::max<long long>(0, wait.count());
    return timespec{static_cast<time_t>(micros / 1'000'000),
                    static_cast<long>(micros % 1'000'000 * 1000)};
}

// Puts bytes on the line. Bytes nobody reads pile up in the terminal; once it
// is full they are lost, as on a real line without a listener.
void sendToLine(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

class UnitLine {
  public:
    UnitLine(SimUnit& unit, const PseudoTerminal& line, const std::optional<std::string>& imagePath)
        : unit_(unit), fd_(line.masterFd()), imagePath_(imagePath), start_(Clock::now()) {}

    LineTime now() const { return std::chrono::duration_cast<LineTime>(Clock::now() - start_); }

    std::optional<LineTime> nextDue() const { return pacer_.nextDue(); }

    void releaseDue() {
        const std::vector<std::uint8_t> due = pacer_.takeDue(now());
        if (!due.empty()) sendToLine(fd_, due);
    }

    // Reads what the client sent; false when the line cannot be read.
    bool receive() {
        std::array<std::uint8_t, 4096> buffer{};
        for (;;) {
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
            if (n <= 0) return false;
            const LineTime receivedAt = now();
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(receivedAt);
            for (const link::LinkFrame& request :
                 assembler_.feed(std::span(buffer.data(), static_cast<std::size_t>(n)), ms)) {
                UnitReply reply = unit_.handle(request, ms);
                if (reply.imageChanged) keepImage();
                pacer_.schedule(std::move(reply.bytes), link::LinkFrame::kSize, receivedAt);
            }
        }
    }

  private:
    void keepImage() {
        if (!imagePath_) return;
        const std::string error = writeImageFile(*imagePath_, unit_.store().image());
        if (!error.empty()) std::cerr << "zelvor-sim: cannot keep the image: " << error << '\n';
    }

    SimUnit& unit_;
    int fd_;
    const std::optional<std::string>& imagePath_;
    Clock::time_point start_;
    FrameAssembler assembler_;
    LinePacer pacer_;
};

}  // namespace

StopSignals::StopSignals() {
    stopFlag = 0;
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signal : kStopSignals) sigaddset(&blocked, signal);
    sigprocmask(SIG_BLOCK, &blocked, &previousMask_);
    waitMask_ = previousMask_;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigdelset(&waitMask_, kStopSignals[i]);
        sigaction(kStopSignals[i], &action, &previousActions_[i]);
    }
    ::signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &previousActions_[i], nullptr);
    }
    sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool StopSignals::stopRequested() const {
    return stopFlag != 0;
}

int serveUnit(SimUnit& unit, const PseudoTerminal& line,
              const std::optional<std::string>& imagePath, const StopSignals& signals) {
    UnitLine unitLine(unit, line, imagePath);
    while (!signals.stopRequested()) {
        unitLine.releaseDue();
        const std::optional<LineTime> due = unitLine.nextDue();
        timespec wait{};
        if (due) wait = waitTimeOf(*due - unitLine.now());
        pollfd watch{line.masterFd(), POLLIN, 0};
        const int ready = ::ppoll(&watch, 1, due ? &wait : nullptr, &signals.waitMask());
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::cerr << "zelvor-sim: waiting for the line: " << std::strerror(errno) << '\n';
            return 1;
        }
        if (ready == 0) continue;
        if ((watch.revents & POLLIN) != 0 && unitLine.receive()) continue;
        // Nothing readable although woken (the line hung up, which holding
        // our own slave descriptor should prevent): do not spin.
        ::usleep(10'000);
    }
    return 0;
}

}  // namespace zelvor::sim
