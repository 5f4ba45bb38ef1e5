#pragma once

#include <string_view>

#include "model/parameter_image.h"

namespace zelvor::cli {

// The image to verify against, or to program into, a unit that holds unit:
// a parameter file's content (of this version) laid over what the unit holds.
// A value is taken from the file where the file states it differently from
// the way a file written from the unit would state it; everything else stays
// as the unit has it: the reserved bytes, the unit constants, the memo's
// bytes after its end, and values a file can only approximate (a nitrous
// switch of 5 is written as 1). A file of another bike than the unit's also
// brings that bike's constants and pins, as choosing the bike in the program
// does. So a file read from a unit verifies against it, and programming it
// changes only what was edited.
model::ParameterImage layFileOverUnit(std::string_view content, const model::ParameterImage& unit);

}  // namespace zelvor::cli
