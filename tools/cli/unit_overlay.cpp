#include "cli/unit_overlay.h"

#include <algorithm>

#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"

namespace zelvor::cli {

using model::Field;
using model::FieldDescriptor;
using model::ParameterImage;

namespace {

// The file's content read onto the unit's image: every field the file holds
// as the file says it, the rest as the unit has it.
ParameterImage readOnto(std::string_view content, const ParameterImage& unit) {
    ParameterImage image = unit;
    model::parseParameterFile(content, image);
    return image;
}

bool sameBytes(const ParameterImage& a, const ParameterImage& b, const FieldDescriptor& field) {
    const auto first = a.bytes().begin() + field.offset;
    return std::equal(first, first + static_cast<std::ptrdiff_t>(field.byteLength()),
                      b.bytes().begin() + field.offset);
}

void copyBytes(const ParameterImage& from, ParameterImage& to, const FieldDescriptor& field) {
    const auto first = from.bytes().begin() + field.offset;
    std::copy(first, first + static_cast<std::ptrdiff_t>(field.byteLength()),
              to.bytes().begin() + field.offset);
}

}  // namespace

ParameterImage layFileOverUnit(std::string_view content, const ParameterImage& unit) {
    const ParameterImage fromFile = readOnto(content, unit);
    // What a file written from the unit says, read back the same way.
    const ParameterImage unitAsFile = readOnto(model::formatParameterFile(unit), unit);

    ParameterImage image = unit;
    for (const FieldDescriptor& field : model::kFieldTable) {
        if (field.kind == model::Kind::Text) {
            // The memo is one text: its bytes after the end belong to it only
            // while the text is the unit's.
            if (!sameBytes(fromFile, unitAsFile, field)) copyBytes(fromFile, image, field);
            continue;
        }
        for (std::size_t i = 0; i < field.count; ++i) {
            const std::uint16_t stated = fromFile.get(field.id, i);
            if (stated != unitAsFile.get(field.id, i)) image.set(field.id, i, stated);
        }
    }
    if (image.get(Field::BIKE_BikeType) != unit.get(Field::BIKE_BikeType)) {
        model::applyBikeUpdate(image);
    }
    return image;
}

}  // namespace zelvor::cli
