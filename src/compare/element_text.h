#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/field.h"
#include "model/parameter_image.h"

namespace zelvor::compare {

// "SECTION.Field" for a single field, "SECTION.Field[i]" for an element of
// an array field.
std::string elementName(const model::FieldDescriptor& field, std::size_t index);

// The element's value in engineering units as the field table converts it
// (signed fields with their sign), as a decimal number.
std::string engineeringText(const model::ParameterImage& image, const model::FieldDescriptor& field,
                            std::size_t index);

// The memo text: the bytes up to its first 0, at most 199.
std::string_view memoBytes(const model::ParameterImage& image);

// A byte string in double quotes, readable on one line: \r \n \t \" \\ for
// those characters and \xHH (always two hex digits) for every other byte
// outside printable ASCII.
std::string quoted(std::string_view bytes);

}  // namespace zelvor::compare
