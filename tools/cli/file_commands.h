#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// new, show, normalize, diff, export-image, import-image: commands on
// parameter files and raw images that need no unit.
std::span<const Command> fileCommands();

}  // namespace zelvor::cli
