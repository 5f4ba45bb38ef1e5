#include "model/parameter_image.h"

#include <algorithm>
#include <stdexcept>

#include "model/field_table.h"

namespace zelvor::model {

namespace {

std::size_t checkedBlockStart(int n) {
    if (n < 1 || n > ParameterImage::kBlockCount) throw std::out_of_range("block number");
    return static_cast<std::size_t>(n - 1) * ParameterImage::kBlockSize;
}

std::size_t elementOffset(Field field, std::size_t index) {
    const FieldDescriptor& d = descriptor(field);
    if (index >= d.count) throw std::out_of_range("field index");
    return d.offsetOf(index);
}

}  // namespace

void ParameterImage::assign(std::span<const std::uint8_t, kSize> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

std::span<const std::uint8_t, ParameterImage::kBlockSize> ParameterImage::block(int n) const {
    return std::span<const std::uint8_t, kBlockSize>(bytes_.data() + checkedBlockStart(n),
                                                     kBlockSize);
}

std::span<std::uint8_t, ParameterImage::kBlockSize> ParameterImage::block(int n) {
    return std::span<std::uint8_t, kBlockSize>(bytes_.data() + checkedBlockStart(n), kBlockSize);
}

std::uint16_t ParameterImage::word(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes_.at(offset) | (bytes_.at(offset + 1) << 8));
}

void ParameterImage::setWord(std::size_t offset, std::uint16_t value) {
    bytes_.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
    bytes_.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint16_t ParameterImage::get(Field field, std::size_t index) const {
    const std::size_t offset = elementOffset(field, index);
    return descriptor(field).width == Width::Word ? word(offset) : byte(offset);
}

void ParameterImage::set(Field field, std::size_t index, unsigned value) {
    const std::size_t offset = elementOffset(field, index);
    if (descriptor(field).width == Width::Word) {
        setWord(offset, static_cast<std::uint16_t>(value & 0xFFFF));
    } else {
        setByte(offset, static_cast<std::uint8_t>(value & 0xFF));
    }
}

}  // namespace zelvor::model
