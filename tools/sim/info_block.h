#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zelvor::sim {

// The program version the PC program expects the unit to report.
inline constexpr std::uint8_t kProgramVersion = 63;

// What the simulated unit says about itself in its information block.
struct UnitIdentity {
    std::array<char, 3> code = {'Z', 'S', 'U'};
    std::uint8_t number = 1;
    std::uint8_t day = 14;
    std::uint8_t month = 3;  // 1..12
    std::uint16_t year = 2025;
    std::uint8_t hour = 10;
    std::uint8_t minute = 30;
    std::string text = "Zelvor simulated unit";  // at most 30 characters are sent
    std::uint8_t version = kProgramVersion;
};

// Month code of the information block: the sum of the character codes of the
// English three-letter month name, modulo 256 ("Mar" -> 32). Month 1..12; 0
// for any other month.
std::uint8_t monthCode(int month);

// The 150 data bytes of the information block: identification code and
// number, program date and time, program version, identification text.
std::array<std::uint8_t, 150> makeInfoBlock(const UnitIdentity& identity);

}  // namespace zelvor::sim
