#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/field.h"

namespace zelvor::model {

// The unit's parameter memory: 1350 bytes, moved over the link as nine
// blocks of 150 bytes (block n holds bytes (n-1)*150 .. n*150-1). Words are
// little-endian. The image stores values as they are: it converts nothing and
// checks no ranges.
class ParameterImage {
  public:
    static constexpr std::size_t kSize = 1350;
    static constexpr std::size_t kBlockSize = 150;
    static constexpr int kBlockCount = 9;

    using Bytes = std::array<std::uint8_t, kSize>;

    ParameterImage() { bytes_.fill(0); }
    explicit ParameterImage(const Bytes& bytes) : bytes_(bytes) {}

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }
    void assign(std::span<const std::uint8_t, kSize> bytes);

    // Block n, 1..9. Out-of-range block numbers are a programming error.
    std::span<const std::uint8_t, kBlockSize> block(int n) const;
    std::span<std::uint8_t, kBlockSize> block(int n);
    // Block (1..9) holding the byte at offset.
    static int blockOf(std::size_t offset) { return static_cast<int>(offset / kBlockSize) + 1; }

    std::uint8_t byte(std::size_t offset) const { return bytes_.at(offset); }
    void setByte(std::size_t offset, std::uint8_t value) { bytes_.at(offset) = value; }
    std::uint16_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::uint16_t value);

    // Named access by field; index selects the element of an array field.
    // Byte fields take the value modulo 256.
    std::uint16_t get(Field field, std::size_t index = 0) const;
    void set(Field field, std::size_t index, unsigned value);
    void set(Field field, unsigned value) { set(field, 0, value); }

    friend bool operator==(const ParameterImage&, const ParameterImage&) = default;

  private:
    Bytes bytes_;
};

}  // namespace zelvor::model
