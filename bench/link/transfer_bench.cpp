// Read and Program, each with the verify that follows it, against zelvor-sim
// through the real serial port code and the steady 55 ms tick of the command
// line. Prints the elapsed times beside the line-rate floor: 19 request and
// answer round trips of 2 x 152 bytes at 57600 baud.
//
//   transfer_bench [ROUNDS] [ZELVOR_SIM]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/tick_clock.h"
#include "cli/transfer_run.h"
#include "i18n/messages.h"
#include "link/posix_serial_port.h"
#include "model/default_set.h"
#include "model/parameter_image.h"
#include "launcher/sim_process.h"

namespace {

using namespace zelvor;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kRoundTrips = 19;  // 10 blocks (information block included) + 9 verified
constexpr double kFloorSeconds = kRoundTrips * 2.0 * 152 * 10 / 57600;
constexpr double kTickSeconds = 0.055;

// The real port, with the time of the first request written and of the last
// batch read.
class TimedPort final : public link::SerialPort {
  public:
    explicit TimedPort(link::SerialPort& port) : port_(port) {}
    void restart() {
        firstWrite_.reset();
        lastRead_.reset();
        writes_ = 0;
    }

    bool open(const std::string& path) override { return port_.open(path); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::size_t queuedBytes() override { return port_.queuedBytes(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t got = port_.read(buffer);
        if (got > 0) lastRead_ = Clock::now();
        return got;
    }
    bool write(std::span<const std::uint8_t> frame) override {
        if (!firstWrite_) firstWrite_ = Clock::now();
        ++writes_;
        return port_.write(frame);
    }
    void purgeInput() override { port_.purgeInput(); }

    std::optional<Clock::time_point> firstWrite() const { return firstWrite_; }
    std::optional<Clock::time_point> lastRead() const { return lastRead_; }
    int writes() const { return writes_; }

  private:
    link::SerialPort& port_;
    std::optional<Clock::time_point> firstWrite_;
    std::optional<Clock::time_point> lastRead_;
    int writes_ = 0;
};

struct Sample {
    double total = 0;     // start command .. last answer taken
    double exchange = 0;  // first request written .. last answer taken
    int ticks = 0;
    int requests = 0;
};

std::optional<Sample> timeTransfer(cli::TransferKind kind, model::ParameterImage& image,
                                   TimedPort& port, const i18n::MessageTable& messages) {
    port.restart();
    // A fresh link per run, as the command line has: the first request waits
    // for the request timer.
    cli::TransferRun transfer(image, port, messages);
    cli::SteadyTickClock clock;
    const Clock::time_point start = Clock::now();
    const cli::TransferOutcome outcome = transfer.run(kind, clock);
    if (!outcome.succeeded() || !port.firstWrite() || !port.lastRead()) {
        std::fprintf(stderr, "%s failed: %s\n", cli::transferName(kind), outcome.text.c_str());
        return std::nullopt;
    }
    Sample sample;
    sample.total = Seconds(*port.lastRead() - start).count();
    sample.exchange = Seconds(*port.lastRead() - *port.firstWrite()).count();
    sample.ticks = outcome.ticks;
    sample.requests = port.writes();
    return sample;
}

void report(cli::TransferKind kind, const std::vector<Sample>& samples) {
    for (const Sample& s : samples) {
        std::printf(
            "%-8s total %.3f s (%.2f x floor)  first request to last answer %.3f s (%.2f x "
            "floor)  %d ticks  %d requests\n",
            cli::transferName(kind), s.total, s.total / kFloorSeconds, s.exchange,
            s.exchange / kFloorSeconds, s.ticks, s.requests);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string executable = argc > 2 ? argv[2] : ZELVOR_SIM_EXECUTABLE;

    std::string error;
    std::optional<sim::SimProcess> simulator = sim::SimProcess::start(executable, {}, error);
    if (!simulator) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    link::PosixSerialPort serial;
    if (!serial.open(simulator->devicePath())) {
        std::fprintf(stderr, "%s\n", serial.lastError().c_str());
        return 1;
    }
    TimedPort port(serial);
    const i18n::MessageTable messages;
    model::ParameterImage image;
    model::loadDefaultSet(image);

    std::printf("line-rate floor: %d x 2 x 152 bytes x 10 bits / 57600 baud = %.3f s\n",
                kRoundTrips, kFloorSeconds);
    std::printf(
        "tick-bound floor: %d round trips x 55 ms = %.3f s (%.2f x floor); the first request "
        "leaves on the first tick\n\n",
        kRoundTrips, kRoundTrips * kTickSeconds, kRoundTrips * kTickSeconds / kFloorSeconds);

    // Program writes back what Read brought, so the unit ends as it started.
    for (const cli::TransferKind kind : {cli::TransferKind::Read, cli::TransferKind::Program}) {
        std::vector<Sample> samples;
        for (int i = 0; i < rounds; ++i) {
            const std::optional<Sample> sample = timeTransfer(kind, image, port, messages);
            if (!sample) return 1;
            samples.push_back(*sample);
        }
        report(kind, samples);
    }
    return 0;
}
