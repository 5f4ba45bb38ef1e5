#pragma once

#include <span>

#include "command.h"

namespace zelvor::cli {

// doctor: which serial devices exist, what keeps one from opening and what to
// do about it, and whether a unit answers on it.
std::span<const Command> doctorCommands();

// No unit answered (or the port did not open).
inline constexpr int kExitNoUnit = 1;

}  // namespace zelvor::cli
