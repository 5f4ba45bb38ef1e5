#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/fault_plan.h"
#include "sim/info_block.h"
#include "sim/ride_sweep.h"

namespace zelvor::sim {

// The command line of zelvor-sim.
struct SimOptions {
    std::optional<std::string> linkPath;   // symbolic link to the device
    std::optional<std::string> imagePath;  // where the unit keeps its blocks
    std::uint8_t version = kProgramVersion;
    FaultPlan faults;
    std::optional<std::string> trueMapPath;  // the tune whose map 1 the engine needs
    bool sweep = false;                      // --ride sweep instead of the ride
    std::optional<CellBlock> cells;          // the cells the sweep visits
    bool exitWithParent = false;             // stop when the process that started it ends
    bool help = false;
};

struct SimOptionsParse {
    std::optional<SimOptions> options;  // empty on error
    std::string error;
};

// Parses the arguments after the program name. Options take their value as
// the next argument or after '=' ("--version 62", "--fault=drop=3").
SimOptionsParse parseSimOptions(std::span<const std::string_view> args);

// The text --help prints.
std::string simUsage();

}  // namespace zelvor::sim
