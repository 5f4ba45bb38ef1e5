#pragma once

#include <string>

#include "model/parameter_image.h"

namespace zelvor::model {

// The bytes of a parameter file ("*.ign") holding the image: the magic word
// with the format version, the numeric sections in engineering units and the
// memo, every line ended by CR LF. The unit constants and the reserved bytes
// are not part of the file. Callers sanitize the image first so that the
// file holds exactly what the unit would get.
std::string formatParameterFile(const ParameterImage& image);

}  // namespace zelvor::model
