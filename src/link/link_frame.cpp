#include "link/link_frame.h"

#include <algorithm>

namespace zelvor::link {

std::uint8_t frameChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t x = 0xFF;
    for (std::uint8_t b : bytes) x ^= b;
    return x;
}

LinkFrame LinkFrame::make(std::uint8_t command, std::span<const std::uint8_t> data) {
    LinkFrame frame;
    frame.bytes_[0] = command;
    std::copy_n(data.begin(), std::min(data.size(), kDataSize), frame.bytes_.begin() + 1);
    frame.seal();
    return frame;
}

LinkFrame LinkFrame::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    LinkFrame frame;
    std::copy(bytes.begin(), bytes.end(), frame.bytes_.begin());
    return frame;
}

void LinkFrame::seal() {
    bytes_[kSize - 1] = frameChecksum(std::span<const std::uint8_t>(bytes_.data(), kSize - 1));
}

bool LinkFrame::checkOk() const {
    return frameChecksum(bytes_) == 0;
}

}  // namespace zelvor::link
