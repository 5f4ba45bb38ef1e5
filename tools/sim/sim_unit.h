#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/link_frame.h"
#include "sim/block_store.h"
#include "sim/fault_plan.h"
#include "sim/fuel_model.h"
#include "sim/info_block.h"
#include "sim/monitor_frame.h"
#include "sim/ride_sweep.h"

namespace zelvor::sim {

// How the simulated engine runs: the repeating ride or a sweep through the
// cells, and with a probe that knows what the engine needs, a lambda voltage
// that follows the programmed injection map 1; without one, a plain wave.
struct EngineSetup {
    std::optional<RideSweep> sweep;
    std::optional<LambdaProbe> probe;
};

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

    void setEngine(EngineSetup engine) { engine_ = std::move(engine); }

    UnitReply handle(const link::LinkFrame& request, std::chrono::milliseconds now);
    // The engine as the monitor answer at that moment reports it.
    EngineState engineAt(std::chrono::milliseconds now) const;

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
    EngineSetup engine_;
    unsigned answers_ = 0;
    std::uint16_t programmingCount_ = 0;
    bool inProgrammingSession_ = false;
    std::optional<std::chrono::milliseconds> lastProgrammed_;
};

}  // namespace zelvor::sim
