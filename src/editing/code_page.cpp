#include "editing/code_page.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zelvor::editing {

namespace {

using UpperHalf = std::array<char16_t, 128>;

// Unicode code points of the bytes 0x80..0xFF. The few bytes a page leaves
// undefined map to the C1 control of the same value, so that any byte string
// survives a decode and encode unchanged.
constexpr UpperHalf kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

constexpr UpperHalf kWindows1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3,
    0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

const UpperHalf& upperHalf(CodePage page) {
    return page == CodePage::Windows1250 ? kWindows1250 : kWindows1252;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Reads one UTF-8 sequence at text[i] and advances i past it. A malformed,
// overlong or truncated sequence yields kInvalid and consumes one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    ++i;
    if (lead < 0x80) return lead;
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return kInvalid;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) return kInvalid;
    for (int k = 0; k < length; ++k) {
        const auto cont = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((cont & 0xC0) != 0x80) return kInvalid;
        c = (c << 6) | (cont & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kInvalid;
    i += static_cast<std::size_t>(length);
    return c;
}

std::uint8_t encodeOne(char32_t c, const UpperHalf& upper) {
    if (c < 0x80) return static_cast<std::uint8_t>(c);
    for (std::size_t k = 0; k < upper.size(); ++k) {
        if (upper[k] == c) return static_cast<std::uint8_t>(0x80 + k);
    }
    return '?';
}

}  // namespace

int codePageNumber(CodePage page) {
    return page == CodePage::Windows1250 ? 1250 : 1252;
}

std::optional<CodePage> codePageFromNumber(int number) {
    if (number == 1250) return CodePage::Windows1250;
    if (number == 1252) return CodePage::Windows1252;
    return std::nullopt;
}

CodePage defaultCodePage(std::string_view localeName) {
    // The language is what stands before the territory, the character set
    // and the modifier: "cs" of "cs_CZ.UTF-8".
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_-.@"));
    constexpr std::string_view kCentralEuropean[] = {"cs", "sk", "pl", "hu", "sl", "hr", "ro"};
    for (std::string_view code : kCentralEuropean) {
        if (language == code) return CodePage::Windows1250;
    }
    return CodePage::Windows1252;
}

bool representable(char32_t c, CodePage page) {
    if (c < 0x80) return true;
    const UpperHalf& upper = upperHalf(page);
    return std::find(upper.begin(), upper.end(), c) != upper.end();
}

std::string decode(std::span<const std::uint8_t> bytes, CodePage page) {
    const UpperHalf& upper = upperHalf(page);
    std::string out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) appendUtf8(out, b < 0x80 ? b : upper[b - 0x80]);
    return out;
}

std::string decodeForDisplay(std::span<const std::uint8_t> bytes, CodePage page) {
    const UpperHalf& upper = upperHalf(page);
    std::string out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        const char32_t c = b < 0x80 ? b : upper[b - 0x80];
        const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
        appendUtf8(out, control ? U'?' : c);
    }
    return out;
}

std::vector<std::uint8_t> encode(std::string_view utf8, CodePage page) {
    const UpperHalf& upper = upperHalf(page);
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        out.push_back(c == kInvalid ? static_cast<std::uint8_t>('?') : encodeOne(c, upper));
    }
    return out;
}

}  // namespace zelvor::editing
