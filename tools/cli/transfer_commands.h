#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// read, verify, program, backup, restore: transfers with the unit over a
// serial device. A failed transfer exits with kExitTransferFailed.
std::span<const Command> transferCommands();

inline constexpr int kExitTransferFailed = 1;

}  // namespace zelvor::cli
