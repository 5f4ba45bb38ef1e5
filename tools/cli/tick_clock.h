#pragma once

#include <chrono>
#include <functional>

namespace zelvor::cli {

// What paces the link's tick: the steady 55 ms clock in the program, a counter
// in tests.
class TickClock {
  public:
    virtual ~TickClock() = default;
    // Returns when the next tick is due.
    virtual void waitForNextTick() = 0;
    // As waitForNextTick, but returns false as soon as ready() is true before
    // the tick is due; true when the tick is due. The plain clock only ticks.
    virtual bool waitForNextTickOr(const std::function<bool()>& ready) {
        (void)ready;
        waitForNextTick();
        return true;
    }
};

// Ticks every period on the steady clock, the first one at once. Tick times
// are fixed multiples of the period from the start, so time spent inside a
// tick never shifts the ones after it. After a stall longer than a period
// (the process was stopped, the machine suspended) the missed ticks are
// dropped rather than run back to back, as a window timer does, so the link
// never sees a burst of ticks that would cut its retry times short.
class SteadyTickClock final : public TickClock {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kPeriod{55};
    // How often waitForNextTickOr asks whether it may return early.
    static constexpr std::chrono::milliseconds kReadyCheck{1};

    // now and sleepUntil default to the steady clock and the thread's sleep.
    explicit SteadyTickClock(Clock::duration period = kPeriod,
                             std::function<Clock::time_point()> now = {},
                             std::function<void(Clock::time_point)> sleepUntil = {});

    void waitForNextTick() override;
    bool waitForNextTickOr(const std::function<bool()>& ready) override;

  private:
    Clock::duration period_;
    std::function<Clock::time_point()> now_;
    std::function<void(Clock::time_point)> sleepUntil_;
    Clock::time_point next_;
};

}  // namespace zelvor::cli
