#include "link/unit_identification.h"

#include <array>
#include <utility>

namespace zelvor::link {
namespace {

// Month code -> month text. The code is what the unit's build tool leaves of
// the month name: "Jan" = 74 + 97 + 110 = 281, modulo 256 = 25, and so on.
constexpr std::array<std::pair<std::uint8_t, const char*>, 12> kMonthCodes{{
    {25, " 1"},
    {13, " 2"},
    {32, " 3"},
    {35, " 4"},
    {39, " 5"},
    {45, " 6"},
    {43, " 7"},
    {29, " 8"},
    {40, " 9"},
    {38, "10"},
    {51, "11"},
    {12, "12"},
}};

// Identification bytes come straight from the unit; anything that is not
// printable ASCII would garble the label or break the UTF-8 text.
char printable(std::uint8_t byte) {
    return (byte >= 0x20 && byte < 0x7F) ? static_cast<char>(byte) : '?';
}

// A digit character is '0' plus the value, as the unit's own display does; a
// value above 9 (a damaged block) gives a letter, never a control character.
char digit(int value) {
    return static_cast<char>('0' + value);
}

}  // namespace

std::string monthText(std::uint8_t monthCode) {
    for (const auto& [code, text] : kMonthCodes) {
        if (code == monthCode) return text;
    }
    return "00";
}

UnitIdentification identifyUnit(std::span<const std::uint8_t, info_block::kSize> infoBlock) {
    using namespace info_block;
    UnitIdentification id;
    std::string& raw = id.identificationBytes;
    if (infoBlock[kText] != 0) {
        for (std::size_t i = kText; i < kText + kTextLength && infoBlock[i] != 0; ++i) {
            raw += static_cast<char>(infoBlock[i]);
        }
    } else {
        raw += static_cast<char>(infoBlock[0]);
        raw += static_cast<char>(infoBlock[1]);
        raw += static_cast<char>(infoBlock[2]);
        raw += digit(infoBlock[3] / 10);
        raw += digit(infoBlock[3] % 10);
    }
    for (char byte : raw) id.identification += printable(static_cast<std::uint8_t>(byte));

    const int day = infoBlock[kDay];
    id.date += day < 10 ? ' ' : digit(day / 10);
    id.date += digit(day % 10);
    id.date += '.';
    id.date += monthText(infoBlock[kMonthCode]);
    id.date += ".20";
    id.date += digit(infoBlock[kYear] / 10);
    id.date += digit(infoBlock[kYear] % 10);

    id.time += digit(infoBlock[kHour] / 10);
    id.time += digit(infoBlock[kHour] % 10);
    id.time += ':';
    id.time += digit(infoBlock[kMinute] / 10);
    id.time += digit(infoBlock[kMinute] % 10);
    return id;
}

std::string unitText(const UnitIdentification& unit) {
    std::string text;
    for (const std::string& piece : {unit.identification, unit.date, unit.time}) {
        const std::size_t first = piece.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        const std::size_t last = piece.find_last_not_of(' ');
        if (!text.empty()) text += ' ';
        text += piece.substr(first, last - first + 1);
    }
    return text;
}

}  // namespace zelvor::link
