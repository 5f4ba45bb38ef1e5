#include "sim/line_pacer.h"

#include <algorithm>

namespace zelvor::sim {

LinePacer::Time LinePacer::lineTime(std::size_t bytes) {
    const auto micros = static_cast<long long>(bytes) * kBitsPerByte * 1'000'000 / kBaudRate;
    return Time(micros);
}

void LinePacer::schedule(std::vector<std::uint8_t> answer, std::size_t requestSize,
                         Time receivedAt) {
    if (answer.empty()) return;
    Time start = std::max(receivedAt + lineTime(requestSize) + kProcessingTime, lineFreeAt_);
    for (std::size_t from = 0; from < answer.size(); from += kChunkSize) {
        const std::size_t to = std::min(answer.size(), from + kChunkSize);
        chunks_.push_back(
            Chunk{start + lineTime(to),
                  std::vector<std::uint8_t>(answer.begin() + from, answer.begin() + to)});
    }
    lineFreeAt_ = start + lineTime(answer.size());
}

std::optional<LinePacer::Time> LinePacer::nextDue() const {
    if (chunks_.empty()) return std::nullopt;
    return chunks_.front().due;
}

std::vector<std::uint8_t> LinePacer::takeDue(Time now) {
    std::vector<std::uint8_t> out;
    while (!chunks_.empty() && chunks_.front().due <= now) {
        const auto& bytes = chunks_.front().bytes;
        out.insert(out.end(), bytes.begin(), bytes.end());
        chunks_.pop_front();
    }
    return out;
}

}  // namespace zelvor::sim
