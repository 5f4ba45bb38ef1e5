#pragma once

#include "model/parameter_image.h"

namespace zelvor::sim {

// The parameter set a fresh simulated unit holds: a plausible street setup
// (rising speed axes, advance and injection maps shaped by throttle and
// speed, sensor curves, six gear ratios) that the sanitizer leaves unchanged.
model::ParameterImage builtInImage();

}  // namespace zelvor::sim
