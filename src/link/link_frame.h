#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zelvor::link {

// One frame of the serial protocol, the same in both directions: a command
// byte, 150 data bytes and a check byte chosen so that 0xFF XOR all 152 bytes
// is zero. Requests carry the command; answers carry command XOR 0x80.
class LinkFrame {
  public:
    static constexpr std::size_t kSize = 152;
    static constexpr std::size_t kDataSize = 150;
    using Bytes = std::array<std::uint8_t, kSize>;

    // Command bytes of the requests (block number n = command AND 0x3F).
    static constexpr std::uint8_t kProgramBlock = 0x00;  // + n
    static constexpr std::uint8_t kReadBlock = 0x40;     // + n
    static constexpr std::uint8_t kMonitorPoll = 0x30;
    static constexpr std::uint8_t kAnswerBit = 0x80;
    static constexpr std::uint8_t kMonitorAnswer = kMonitorPoll | kAnswerBit;  // 0xB0

    LinkFrame() { bytes_.fill(0); }

    // A frame with the given command and data and a correct check byte.
    static LinkFrame make(std::uint8_t command, std::span<const std::uint8_t> data = {});
    // The first 152 bytes of a received batch, as they are (check not tested).
    static LinkFrame fromBytes(std::span<const std::uint8_t, kSize> bytes);

    std::uint8_t command() const { return bytes_[0]; }
    std::span<const std::uint8_t, kDataSize> data() const {
        return std::span<const std::uint8_t, kDataSize>(bytes_.data() + 1, kDataSize);
    }
    std::span<std::uint8_t, kDataSize> data() {
        return std::span<std::uint8_t, kDataSize>(bytes_.data() + 1, kDataSize);
    }
    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    // Recomputes byte 151 from bytes 0..150.
    void seal();
    // True when 0xFF XOR all 152 bytes is zero.
    bool checkOk() const;

    // Little-endian word at a frame offset (MonitorFrame fields are given by
    // frame offset, byte 0 being the command).
    std::uint16_t word(std::size_t frameOffset) const {
        return static_cast<std::uint16_t>(bytes_[frameOffset] | (bytes_[frameOffset + 1] << 8));
    }
    void setWord(std::size_t frameOffset, std::uint16_t value) {
        bytes_[frameOffset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[frameOffset + 1] = static_cast<std::uint8_t>(value >> 8);
    }

  private:
    Bytes bytes_;
};

// 0xFF XOR every byte of the span: zero for an intact frame.
std::uint8_t frameChecksum(std::span<const std::uint8_t> bytes);

}  // namespace zelvor::link
