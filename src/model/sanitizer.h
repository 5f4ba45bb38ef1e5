#pragma once

#include <cstdint>

#include "model/parameter_image.h"

namespace zelvor::model {

// The two settings that live outside the image but are brought into range by
// the same pass: the user-interface language (0..3) and the serial port index
// (0..19).
struct OutsideSettings {
    std::uint8_t language = 0;
    std::uint8_t portIndex = 0;
};

// Forces the image into the ranges and orderings the unit needs (speed axes
// strictly increasing, map cells capped, paired values ordered, sensor
// characteristics monotonic). Every violation is corrected silently in place;
// a second pass changes nothing. Fields without a rule are left alone.
void sanitize(ParameterImage& image, OutsideSettings& settings);

// The same pass for callers that hold no outside settings (files, the link).
void sanitize(ParameterImage& image);

}  // namespace zelvor::model
