#pragma once

#include <string_view>

#include "model/parameter_image.h"

namespace zelvor::model {

enum class ReadOutcome {
    Accepted,
    // No "ZARBOLIK_KEY" followed by 63 anywhere: the image is left as it was.
    VersionMismatch,
};

// Reads the bytes of a parameter file into the image. The file is a sequence
// of white-space separated tokens; everything before the first
// "ZARBOLIK_KEY 63" is skipped. Sections may come in any order and more than
// once (the last wins); unknown tokens and surplus numbers are ignored; a
// section that is absent leaves its fields alone. Numbers are taken modulo
// 65536, then converted, and byte fields keep the result modulo 256. A
// section cut short gives each field without a number the last number read
// before it, converted by that field's rule. "MEMO" takes the next 199 raw
// bytes after white space (zeros past the end of the file) and ends the
// reading. Unit constants, reserved bytes and the memo terminator are never
// touched. Any input is safe to pass; nothing is reported beyond the outcome.
ReadOutcome parseParameterFile(std::string_view content, ParameterImage& image);

}  // namespace zelvor::model
