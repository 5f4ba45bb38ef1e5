#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/link_frame.h"
#include "sim/block_store.h"
#include "sim/fault_plan.h"
#include "sim/info_block.h"
#include "sim/monitor_frame.h"

namespace zelvor::sim {

// What the unit does with one request.
struct UnitReply {
    std::vector<std::uint8_t> bytes;  // what goes on the line; empty: no answer
    bool imageChanged = false;        // a block was programmed
};

// The simulated unit's answer logic: a request frame in, the answer bytes out,
// with the configured faults applied. It keeps the programmed blocks, counts
// programming sessions and reports the save to permanent memory that follows
// each programming. Time comes in with every request (time since the unit
// started), so the logic never reads a clock.
class SimUnit {
  public:
    // Bytes the unit saves after a programming, and how long that takes.
    static constexpr std::uint16_t kFullSave = 2756;
    static constexpr std::chrono::milliseconds kSaveDuration{3000};

    explicit SimUnit(BlockStore store = BlockStore(), UnitIdentity identity = UnitIdentity(),
                     FaultPlan faults = FaultPlan());

    UnitReply handle(const link::LinkFrame& request, std::chrono::milliseconds now);

    const BlockStore& store() const { return store_; }
    std::uint16_t programmingCount() const { return programmingCount_; }
    std::uint16_t savingCount(std::chrono::milliseconds now) const;
    UnitStatus status(std::chrono::milliseconds now) const;

  private:
    // The answer frame and, for a programmed block, its number.
    struct Answer {
        link::LinkFrame frame;
        int programmedBlock = 0;
    };
    std::optional<Answer> answerTo(const link::LinkFrame& request, std::chrono::milliseconds now);
    Answer program(int block, const link::LinkFrame& request, std::chrono::milliseconds now);

    BlockStore store_;
    UnitIdentity identity_;
    FaultPlan faults_;
    unsigned answers_ = 0;
    std::uint16_t programmingCount_ = 0;
    bool inProgrammingSession_ = false;
    std::optional<std::chrono::milliseconds> lastProgrammed_;
};

}  // namespace zelvor::sim
