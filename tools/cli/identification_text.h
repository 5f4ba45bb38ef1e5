#pragma once

#include <ostream>

#include "link/unit_identification.h"

namespace zelvor::cli {

// Prints the unit's identification, date and time, one a line. The
// identification's bytes are decoded with the code page of the user's locale
// (LC_ALL, LC_CTYPE, LANG), the default of the window's memo code page.
void printIdentification(const link::UnitIdentification& unit, std::ostream& out);

}  // namespace zelvor::cli
