#include "model/field_table.h"

#include <array>

#include "model/parameter_image.h"

namespace zelvor::model {

namespace {

// The table must list every field once, in enumerator order, inside the
// image, with words at even offsets and no two fields sharing a byte.
constexpr bool tableIsConsistent() {
    std::size_t previousEnd = 0;
    for (std::size_t i = 0; i < kFieldTable.size(); ++i) {
        const FieldDescriptor& d = kFieldTable[i];
        if (static_cast<std::size_t>(d.id) != i) return false;
        if (d.count == 0 || d.scale <= 0) return false;
        if (d.width == Width::Word && d.offset % 2 != 0) return false;
        if (d.offset < previousEnd) return false;
        previousEnd = d.offset + d.byteLength();
        if (previousEnd > ParameterImage::kSize) return false;
    }
    return true;
}
static_assert(tableIsConsistent(), "field table out of order, overlapping or outside the image");

// Every value an editor offers is one stored value exactly: the steps are
// whole multiples of the stored unit, and both ends of the range convert to
// a stored value and back without wrapping round the field's width.
constexpr bool rangesMatchTheirConversions() {
    for (const FieldDescriptor& d : kFieldTable) {
        const EditorRange& r = d.range;
        if (r.step <= 0 || r.step % d.scale != 0) return false;
        if (r.minimum > r.maximum || (r.maximum - r.minimum) % r.step != 0) return false;
        for (const std::int32_t end : {r.minimum, r.maximum}) {
            if (d.toEngineering(d.toStored(end)) != end) return false;
        }
        if (d.toStored(r.minimum) > d.toStored(r.maximum)) return false;
    }
    return true;
}
static_assert(rangesMatchTheirConversions(), "an editor range the field cannot hold");

constexpr std::array<bool, ParameterImage::kSize> coveredOffsets() {
    std::array<bool, ParameterImage::kSize> covered{};
    for (const FieldDescriptor& d : kFieldTable) {
        for (std::size_t k = 0; k < d.byteLength(); ++k) covered[d.offset + k] = true;
    }
    return covered;
}

constexpr std::array<bool, ParameterImage::kSize> kCovered = coveredOffsets();

}  // namespace

std::optional<Field> findField(std::string_view qualified) {
    const std::size_t dot = qualified.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string_view section = qualified.substr(0, dot);
    const std::string_view name = qualified.substr(dot + 1);
    for (const FieldDescriptor& d : kFieldTable) {
        if (d.section == section && d.name == name) return d.id;
    }
    return std::nullopt;
}

std::string qualifiedName(Field field) {
    const FieldDescriptor& d = descriptor(field);
    std::string name(d.section);
    name += '.';
    name += d.name;
    return name;
}

bool isReservedOffset(std::size_t offset) {
    return offset < ParameterImage::kSize && !kCovered[offset];
}

}  // namespace zelvor::model
