#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvor::editing {

// The single-byte code pages the memo is stored in.
enum class CodePage : std::uint8_t { Windows1250, Windows1252 };

// Windows-1250 while the user-interface language is Czech (3), Windows-1252
// for every other language.
CodePage memoCodePage(std::uint8_t language);

// Single bytes of the code page to UTF-8.
std::string decode(std::span<const std::uint8_t> bytes, CodePage page);

// UTF-8 to single bytes of the code page. A character the page lacks, and any
// malformed UTF-8 byte, becomes '?'.
std::vector<std::uint8_t> encode(std::string_view utf8, CodePage page);

}  // namespace zelvor::editing
