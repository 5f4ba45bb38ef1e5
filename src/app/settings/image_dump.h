#pragma once

#include <string>
#include <string_view>

#include "editing/page_index.h"
#include "model/parameter_image.h"

namespace zelvor::app {

// The per-page state of the map grid's "All" check box, carried in the dump.
using editing::AllFlags;

// The image of the last orderly close as text: 1350 values "%5u " with a
// line end after every tenth value and a blank line after every hundredth,
// then the twelve "All" states.
std::string formatImageDump(const model::ParameterImage& image, const AllFlags& all);

// Reads unsigned decimal numbers into image bytes 0, 1, 2 ... (low 8 bits of
// each) until 1350 were read or the text ends, then up to 12 into the "All"
// states. Whatever the text does not reach keeps its value; reading stops at
// the first token that is not a number.
void parseImageDump(std::string_view text, model::ParameterImage& image, AllFlags& all);

}  // namespace zelvor::app
