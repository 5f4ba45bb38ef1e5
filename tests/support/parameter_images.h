#pragma once

#include <gtest/gtest.h>

#include <string>

#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"

namespace zelvor::testing {

// The default set of a bike brought into range, as a new file of that bike
// holds it.
inline model::ParameterImage saneDefaults(unsigned bike = 0) {
    model::ParameterImage image;
    image.set(model::Field::BIKE_BikeType, bike);
    model::loadDefaultSet(image);
    model::sanitize(image);
    return image;
}

// A parameter file read the way every command reads one: bike 0's defaults,
// then the file (which must be accepted). Not sanitized.
inline model::ParameterImage readOntoDefaults(const std::string& content) {
    model::ParameterImage image;
    model::loadDefaultSet(image);
    EXPECT_EQ(model::parseParameterFile(content, image), model::ReadOutcome::Accepted);
    return image;
}

}  // namespace zelvor::testing
