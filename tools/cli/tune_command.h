#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// tune-from-log: injection corrections from ride logs.
std::span<const Command> tuneCommands();

}  // namespace zelvor::cli
