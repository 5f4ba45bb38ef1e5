#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// "map": a map of a parameter file as tab-separated text, and such text laid
// into a file.
std::span<const Command> mapCommands();

}  // namespace zelvor::cli
