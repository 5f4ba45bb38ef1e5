#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "model/parameter_image.h"

namespace zelvor::cli {

// The default set of a bike, as a new parameter file of that bike holds it
// (not sanitized).
model::ParameterImage defaultImage(unsigned bike = 0);

// Reads a parameter file the way the program opens one on its first start:
// the default set of bike 0, then the file on top. Reports "Open file error!"
// or "Unmatched version of *.ign file!" with the path and returns nothing
// when the file cannot be used. Not sanitized.
std::optional<model::ParameterImage> loadParameterFile(const std::string& path, std::ostream& err);

// A parameter file as the image to verify or program: read onto the default
// set of bike 0 and, for a file of another bike, onto that bike's default set
// instead. A file does not hold the unit constants; those of bike 0 would put
// a wrong constant into a unit of a bike whose constants differ. Reports as
// loadParameterFile does.
std::optional<model::ParameterImage> loadTuneFile(const std::string& path, std::ostream& err);

// Writes content to path without ever leaving a half-written file; reports
// "Open file error!" with the path and the reason on failure.
bool writeOutput(const std::string& path, std::string_view content, std::ostream& err);

// The whole content of a file, or nothing after reporting "Open file error!".
std::optional<std::string> readInput(const std::string& path, std::ostream& err);

}  // namespace zelvor::cli
