#pragma once

#include <cstdint>
#include <span>

#include "link/live_values.h"
#include "link/monitor_channels.h"

namespace zelvor::link {

// Decodes the unit's monitor answers into a sample of every live value and
// into the live values other parts of the program read between answers.
class MonitorDecoder {
  public:
    // Decodes the first 152 bytes of a batch. A batch that is too short or
    // fails the check byte is dropped without any change; returns whether
    // it was accepted.
    bool decode(std::span<const std::uint8_t> batch);

    const MonitorSample& sample() const { return sample_; }
    const LiveValues& live() const { return live_; }
    // Injector duty in %: the engine speed of the previous answer times the
    // longer injection time of this one (the unit reports the time before
    // the speed it was computed for).
    int injectorDuty() const { return injectorDuty_; }
    // Accepted answers so far; a window repaints only when this moves.
    std::uint32_t framesDecoded() const { return framesDecoded_; }

  private:
    MonitorSample sample_;
    LiveValues live_;
    int injectorDuty_ = 0;
    std::uint32_t framesDecoded_ = 0;
};

}  // namespace zelvor::link
