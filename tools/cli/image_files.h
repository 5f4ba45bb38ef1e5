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

// The content of a parameter file of this program's version. Reports "Open
// file error!" or "Unmatched version of *.ign file!" with the path and returns
// nothing when the file cannot be used.
std::optional<std::string> readParameterFile(const std::string& path, std::ostream& err);

// A parameter file's content (of this version) as the program holds it after
// opening it at start-up: the default set of the file's own bike, the file on
// top, then the bike update, so the pins and the unit constants follow the
// file's bike exactly as the program's own start makes them. Not sanitized.
model::ParameterImage openedImage(std::string_view content);

// readParameterFile, then openedImage.
std::optional<model::ParameterImage> loadParameterFile(const std::string& path, std::ostream& err);

// Writes content to path without ever leaving a half-written file; reports
// "Open file error!" with the path and the reason on failure.
bool writeOutput(const std::string& path, std::string_view content, std::ostream& err);

// The whole content of a file, or nothing after reporting "Open file error!".
std::optional<std::string> readInput(const std::string& path, std::ostream& err);

// A raw parameter image of exactly 1350 bytes, or nothing after reporting
// why the file is none.
std::optional<model::ParameterImage> readImageFile(const std::string& path, std::ostream& err);

}  // namespace zelvor::cli
