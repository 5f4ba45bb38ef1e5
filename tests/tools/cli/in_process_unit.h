#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <span>
#include <string>

#include "cli/tick_clock.h"
#include "link/link_frame.h"
#include "link/serial_port.h"
#include "sim/sim_unit.h"

namespace zelvor::cli::testing {

// The simulated unit's answer logic behind the serial port interface, in the
// test's own process and without line timing: a request is answered as it is
// written, so the answer is there for the next tick. With no unit attached
// the line is dead: requests vanish and nothing comes back.
class InProcessUnitPort final : public link::SerialPort {
  public:
    explicit InProcessUnitPort(sim::SimUnit* unit) : unit_(unit) {}

    void attach(sim::SimUnit* unit) { unit_ = unit; }
    void advance(std::chrono::milliseconds time) { now_ += time; }
    int requests() const { return requests_; }

    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    std::size_t queuedBytes() override { return incoming_.size(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), incoming_.size());
        std::copy_n(incoming_.begin(), n, buffer.begin());
        incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    bool write(std::span<const std::uint8_t> frame) override {
        ++requests_;
        if (unit_ == nullptr || frame.size() != link::LinkFrame::kSize) return true;
        const sim::UnitReply reply =
            unit_->handle(link::LinkFrame::fromBytes(frame.first<link::LinkFrame::kSize>()), now_);
        incoming_.insert(incoming_.end(), reply.bytes.begin(), reply.bytes.end());
        return true;
    }
    void purgeInput() override { incoming_.clear(); }

  private:
    sim::SimUnit* unit_;
    std::deque<std::uint8_t> incoming_;
    std::chrono::milliseconds now_{0};
    int requests_ = 0;
};

// A tick clock that does not wait: it counts the ticks and moves the unit's
// time on by one tick each.
class CountingTickClock final : public TickClock {
  public:
    explicit CountingTickClock(InProcessUnitPort& port) : port_(port) {}
    void waitForNextTick() override {
        ++ticks;
        port_.advance(SteadyTickClock::kPeriod);
    }

    int ticks = 0;

  private:
    InProcessUnitPort& port_;
};

}  // namespace zelvor::cli::testing
