#include "sim/info_block.h"

#include <algorithm>
#include <string_view>

namespace zelvor::sim {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Byte positions within the information block.
constexpr std::size_t kCode = 0;
constexpr std::size_t kNumber = 3;
constexpr std::size_t kDay = 4;
constexpr std::size_t kMonth = 5;
constexpr std::size_t kYear = 6;
constexpr std::size_t kHour = 7;
constexpr std::size_t kMinute = 8;
constexpr std::size_t kVersion = 10;
constexpr std::size_t kText = 16;
constexpr std::size_t kTextLength = 30;

}  // namespace

std::uint8_t monthCode(int month) {
    if (month < 1 || month > 12) return 0;
    unsigned sum = 0;
    for (char c : kMonthNames[month - 1]) sum += static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum % 256);
}

std::array<std::uint8_t, 150> makeInfoBlock(const UnitIdentity& identity) {
    std::array<std::uint8_t, 150> block{};
    for (std::size_t i = 0; i < identity.code.size(); ++i) {
        block[kCode + i] = static_cast<std::uint8_t>(identity.code[i]);
    }
    block[kNumber] = identity.number;
    block[kDay] = identity.day;
    block[kMonth] = monthCode(identity.month);
    block[kYear] = static_cast<std::uint8_t>(identity.year >= 2000 ? identity.year - 2000 : 0);
    block[kHour] = identity.hour;
    block[kMinute] = identity.minute;
    block[kVersion] = identity.version;
    const std::size_t length = std::min(identity.text.size(), kTextLength);
    std::copy_n(identity.text.begin(), length, block.begin() + kText);
    return block;
}

}  // namespace zelvor::sim
