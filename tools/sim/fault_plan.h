#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_frame.h"

namespace zelvor::sim {

// Faults the simulated unit can put on its answers, to exercise the PC side's
// retry and error handling.
enum class FaultKind {
    Drop,          // every N-th answer is not sent
    Corrupt,       // every N-th answer has one byte changed (check byte fails)
    WrongCommand,  // every N-th answer carries a wrong command byte, correctly sealed
    Stray,         // stray bytes go out before every N-th answer
    EchoMismatch,  // the echo of programmed block N always differs in one byte
    Silent,        // no answer at all
};

struct Fault {
    FaultKind kind;
    unsigned value = 0;  // N, or the block number; unused for Silent
};

// Parses "drop=3", "corrupt=2", "wrong-command=5", "stray=4",
// "echo-mismatch=4" (block 1..9) or "silent". On failure returns nothing and
// sets error to a message naming the problem.
std::optional<Fault> parseFault(std::string_view text, std::string& error);

// The faults in force and how they shape each answer.
class FaultPlan {
  public:
    void add(const Fault& fault) { faults_.push_back(fault); }
    bool empty() const { return faults_.empty(); }
    bool silent() const;

    // The bytes that go on the line for the answerNumber-th answer (counted
    // from 1). programmedBlock is the block (1..9) whose echo this answer is,
    // or 0 for any other answer. Empty when nothing is sent.
    std::vector<std::uint8_t> shape(link::LinkFrame answer, unsigned answerNumber,
                                    int programmedBlock) const;

    // Bytes that precede an answer hit by the Stray fault.
    static constexpr std::uint8_t kStrayBytes[] = {0x00, 0x5A, 0xFF};

  private:
    bool hits(FaultKind kind, unsigned answerNumber) const;
    bool echoMismatch(int block) const;

    std::vector<Fault> faults_;
};

}  // namespace zelvor::sim
