#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace zelvor::sim {

// Gives the simulated unit the timing of a real 57600 baud line, which a
// pseudo-terminal does not have: a request is taken as fully received only
// after its own time on the line, and an answer is released in a few chunks,
// each when its last byte would have arrived. Times are durations since the
// simulator started.
class LinePacer {
  public:
    using Time = std::chrono::microseconds;

    static constexpr int kBaudRate = 57600;
    static constexpr int kBitsPerByte = 10;
    static constexpr std::size_t kChunkSize = 38;  // a 152-byte frame in four chunks
    static constexpr Time kProcessingTime{500};

    // Time the given number of bytes take on the line.
    static Time lineTime(std::size_t bytes);

    // Queues the answer to a request of requestSize bytes whose last byte was
    // read at receivedAt. Answers never overlap on the line.
    void schedule(std::vector<std::uint8_t> answer, std::size_t requestSize, Time receivedAt);

    // When the next chunk is due, if any.
    std::optional<Time> nextDue() const;
    // All bytes due at or before now, in line order.
    std::vector<std::uint8_t> takeDue(Time now);

  private:
    struct Chunk {
        Time due;
        std::vector<std::uint8_t> bytes;
    };
    std::deque<Chunk> chunks_;
    Time lineFreeAt_{0};
};

}  // namespace zelvor::sim
