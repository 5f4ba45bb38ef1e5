#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "model/parameter_image.h"

namespace zelvor::cli {

// Reads a parameter file the way the program opens one on its first start:
// the default set of bike 0, then the file on top. Reports "Open file error!"
// or "Unmatched version of *.ign file!" with the path and returns nothing
// when the file cannot be used. Not sanitized.
std::optional<model::ParameterImage> loadParameterFile(const std::string& path, std::ostream& err);

// Writes content to path without ever leaving a half-written file; reports
// "Open file error!" with the path and the reason on failure.
bool writeOutput(const std::string& path, std::string_view content, std::ostream& err);

// The whole content of a file, or nothing after reporting "Open file error!".
std::optional<std::string> readInput(const std::string& path, std::ostream& err);

}  // namespace zelvor::cli
