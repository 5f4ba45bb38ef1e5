// Measures the round trip of one request and its answer through the
// simulated unit's pseudo-terminal with line timing: from the start of the
// write until the whole answer is queued at the port.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "link/link_frame.h"
#include "link/posix_serial_port.h"
#include "launcher/sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using zelvor::link::LinkFrame;

constexpr int kRounds = 40;
constexpr auto kAnswerLimit = std::chrono::milliseconds(500);

// Milliseconds from the start of the write until a whole answer is queued,
// or a negative value when none came.
double roundTrip(zelvor::link::PosixSerialPort& port, const LinkFrame& request) {
    port.purgeInput();
    const auto start = Clock::now();
    if (!port.write(request.bytes())) return -1;
    while (port.queuedBytes() < LinkFrame::kSize) {
        if (Clock::now() - start > kAnswerLimit) return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
    std::vector<std::uint8_t> answer(port.queuedBytes());
    port.read(answer);
    return elapsed.count();
}

void report(const char* what, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    std::printf("%-22s n=%zu  min %.1f ms  median %.1f ms  max %.1f ms\n", what, samples.size(),
                samples.front(), samples[samples.size() / 2], samples.back());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string executable = argc > 1 ? argv[1] : ZELVOR_SIM_EXECUTABLE;
    std::string error;
    std::optional<zelvor::sim::SimProcess> sim =
        zelvor::sim::SimProcess::start(executable, {}, error);
    if (!sim) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    zelvor::link::PosixSerialPort port;
    if (!port.open(sim->devicePath())) {
        std::fprintf(stderr, "%s\n", port.lastError().c_str());
        return 1;
    }
    const std::vector<std::pair<const char*, LinkFrame>> requests = {
        {"monitor poll (0x30)", LinkFrame::make(LinkFrame::kMonitorPoll)},
        {"read block 4 (0x44)", LinkFrame::make(LinkFrame::kReadBlock + 4)},
    };
    for (const auto& [name, request] : requests) {
        std::vector<double> samples;
        for (int i = 0; i < kRounds; ++i) {
            const double ms = roundTrip(port, request);
            if (ms < 0) {
                std::fprintf(stderr, "%s: no answer\n", name);
                return 1;
            }
            samples.push_back(ms);
        }
        report(name, samples);
    }
    return 0;
}
