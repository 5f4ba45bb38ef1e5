// Feeds arbitrary bytes to the parameter file reader. Besides the sanitizers'
// checks it aborts when a read touches bytes that are not in the file format
// or when writing what was read, reading it back and writing again does not
// give the same file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/field_table.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"

using namespace zelvor::model;

namespace {

ParameterImage startImage() {
    ParameterImage image;
    for (std::size_t i = 0; i < ParameterImage::kSize; ++i) {
        image.setByte(i, static_cast<std::uint8_t>(i * 7 + 3));
    }
    return image;
}

bool outsideTheFileAt(std::size_t offset) {
    if (isReservedOffset(offset)) return true;
    for (const FieldDescriptor& d : kFieldTable) {
        if (offset >= d.offset && offset < d.offset + d.byteLength()) {
            return d.section == "FIXED" || d.id == Field::MEMO_Terminator;
        }
    }
    return false;
}

// Worked out once: looked up per byte and run, the field table made every
// accepted file cost a thousand times its reading.
bool outsideTheFile(std::size_t offset) {
    static const std::array<bool, ParameterImage::kSize> outside = [] {
        std::array<bool, ParameterImage::kSize> table{};
        for (std::size_t i = 0; i < table.size(); ++i) table[i] = outsideTheFileAt(i);
        return table;
    }();
    return outside[offset];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ParameterImage before = startImage();
    ParameterImage image = before;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    if (parseParameterFile(content, image) != ReadOutcome::Accepted) {
        if (!(image == before)) std::abort();
        return 0;
    }
    for (std::size_t offset = 0; offset < ParameterImage::kSize; ++offset) {
        if (outsideTheFile(offset) && image.byte(offset) != before.byte(offset)) std::abort();
    }
    const std::string written = formatParameterFile(image);
    ParameterImage again = image;
    if (parseParameterFile(written, again) != ReadOutcome::Accepted) std::abort();
    if (formatParameterFile(again) != written) std::abort();
    return 0;
}
