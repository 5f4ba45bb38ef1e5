#include "sim/frame_assembler.h"

namespace zelvor::sim {

std::vector<link::LinkFrame> FrameAssembler::feed(std::span<const std::uint8_t> bytes,
                                                  std::chrono::milliseconds now) {
    std::vector<link::LinkFrame> frames;
    if (bytes.empty()) return frames;
    if (!pending_.empty() && now - lastByte_ > kGap) pending_.clear();
    lastByte_ = now;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::size_t used = 0;
    while (pending_.size() - used >= link::LinkFrame::kSize) {
        frames.push_back(
            link::LinkFrame::fromBytes(std::span<const std::uint8_t, link::LinkFrame::kSize>(
                pending_.data() + used, link::LinkFrame::kSize)));
        used += link::LinkFrame::kSize;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    return frames;
}

}  // namespace zelvor::sim
