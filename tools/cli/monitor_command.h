#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// monitor: the unit's live values on standard output. A unit that stops
// answering ends it with kExitMonitorFailed.
std::span<const Command> monitorCommands();

inline constexpr int kExitMonitorFailed = 1;

}  // namespace zelvor::cli
