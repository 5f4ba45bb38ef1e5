#pragma once

#include <cstdint>

#include "link/link_frame.h"
#include "sim/engine_model.h"

namespace zelvor::sim {

// What the unit reports about itself besides the engine.
struct UnitStatus {
    std::uint16_t programmingCount = 0;
    std::uint16_t savingCount = 0;  // bytes still to be saved to permanent memory
    std::uint8_t version = 63;
};

// The answer to a monitor poll: command 0xB0, the engine state and the unit
// status at their frame offsets, and a correct check byte.
link::LinkFrame encodeMonitorFrame(const EngineState& engine, const UnitStatus& status);

}  // namespace zelvor::sim
