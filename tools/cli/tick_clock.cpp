#include "cli/tick_clock.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace zelvor::cli {

SteadyTickClock::SteadyTickClock(Clock::duration period, std::function<Clock::time_point()> now,
                                 std::function<void(Clock::time_point)> sleepUntil)
    : period_(period), now_(std::move(now)), sleepUntil_(std::move(sleepUntil)) {
    if (!now_) now_ = [] { return Clock::now(); };
    if (!sleepUntil_) sleepUntil_ = [](Clock::time_point t) { std::this_thread::sleep_until(t); };
    next_ = now_();
}

void SteadyTickClock::waitForNextTick() {
    waitForNextTickOr({});
}

bool SteadyTickClock::waitForNextTickOr(const std::function<bool()>& ready) {
    Clock::time_point now = now_();
    while (now < next_) {
        if (ready && ready()) return false;
        sleepUntil_(ready ? std::min(next_, now + kReadyCheck) : next_);
        now = now_();
    }
    if (now - next_ >= period_) {
        // Late by one period or more: skip to the last tick that is already
        // due, keeping the ticks on their grid.
        next_ += (now - next_) / period_ * period_;
    }
    next_ += period_;
    return true;
}

}  // namespace zelvor::cli
