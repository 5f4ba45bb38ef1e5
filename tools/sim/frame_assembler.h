#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "link/link_frame.h"

namespace zelvor::sim {

// Cuts the received byte stream into 152-byte frames. A pause on the line
// longer than kGap drops an unfinished frame, so a stray byte or a cut-off
// request costs at most that one request and the next one is read from its
// start again.
class FrameAssembler {
  public:
    static constexpr std::chrono::milliseconds kGap{20};

    std::vector<link::LinkFrame> feed(std::span<const std::uint8_t> bytes,
                                      std::chrono::milliseconds now);
    std::size_t pendingBytes() const { return pending_.size(); }

  private:
    std::vector<std::uint8_t> pending_;
    std::chrono::milliseconds lastByte_{0};
};

}  // namespace zelvor::sim
