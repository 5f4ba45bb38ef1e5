#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zelvor::link {

// The unit program version this PC program speaks; the unit reports its own in
// the information block and in every monitor answer.
inline constexpr int kProgramVersion = 63;

// Offsets inside the 150 data bytes of the information block (block 0).
namespace info_block {
inline constexpr std::size_t kSize = 150;
inline constexpr std::size_t kDay = 4;
inline constexpr std::size_t kMonthCode = 5;
inline constexpr std::size_t kYear = 6;  // year - 2000
inline constexpr std::size_t kHour = 7;
inline constexpr std::size_t kMinute = 8;
inline constexpr std::size_t kVersion = 10;
inline constexpr std::size_t kText = 16;  // optional identification, 30 characters
inline constexpr std::size_t kTextLength = 30;
}  // namespace info_block

// The three texts shown beside the version: identification, date
// (" 25. 2.2002") and time ("14:05").
struct UnitIdentification {
    // Printable ASCII; any other byte shows as '?'.
    std::string identification;
    // The identification's bytes as the unit sent them: single bytes in the
    // code page the memo uses, decoded by whoever shows them.
    std::string identificationBytes;
    std::string date;
    std::string time;

    friend bool operator==(const UnitIdentification&, const UnitIdentification&) = default;
};

// "identification date time" in one line, each piece without its padding
// blanks: how a unit is named in the history of snapshots.
std::string unitText(const UnitIdentification& unit);

UnitIdentification identifyUnit(std::span<const std::uint8_t, info_block::kSize> infoBlock);

// The two month characters for a month code (the sum of the characters of the
// English three-letter month name, modulo 256); "00" for an unknown code.
std::string monthText(std::uint8_t monthCode);

}  // namespace zelvor::link
