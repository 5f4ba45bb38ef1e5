#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// "history": lists the images kept at every read, program and save, and
// writes one of them as a parameter file.
std::span<const Command> historyCommands();

}  // namespace zelvor::cli
