#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvor::editing {

// The single-byte code pages the memo is stored in.
enum class CodePage : std::uint8_t { Windows1250, Windows1252 };

// The code page's number (1250, 1252) and back; nothing for other numbers.
int codePageNumber(CodePage page);
std::optional<CodePage> codePageFromNumber(int number);

// The code page a system locale ("cs_CZ.UTF-8", "hu-HU", "de_DE@euro", "C")
// writes in: Windows-1250 for Czech, Slovak, Polish, Hungarian, Slovenian,
// Croatian and Romanian, Windows-1252 for every other locale.
CodePage defaultCodePage(std::string_view localeName);

// True when the code page has a byte for the character.
bool representable(char32_t c, CodePage page);

// Single bytes of the code page to UTF-8.
std::string decode(std::span<const std::uint8_t> bytes, CodePage page);

// As decode, for a text shown in a label: control characters (and the bytes a
// code page leaves undefined) become '?', so nothing can garble the label.
std::string decodeForDisplay(std::span<const std::uint8_t> bytes, CodePage page);

// UTF-8 to single bytes of the code page. A character the page lacks, and any
// malformed UTF-8 byte, becomes '?'.
std::vector<std::uint8_t> encode(std::string_view utf8, CodePage page);

}  // namespace zelvor::editing
