#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editing/code_page.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// Bytes of the note kept in the image (MEMO.Text).
inline constexpr std::size_t kMemoLength = 199;

// The memo text as the image holds it: lines (separated by '\n', "\r\n" or
// '\r' in text) joined by CR LF, in the code page. Not yet cut to length, so
// the window can tell how much of the text fits.
std::vector<std::uint8_t> memoBytes(std::string_view text, CodePage page);

// Writes the memo into the image: its first 199 bytes into MEMO.Text, without
// splitting a CR LF pair, zeros after a shorter text (the first of them ends
// the text), and MEMO.Terminator = 0.
void storeMemo(model::ParameterImage& image, std::string_view text, CodePage page);

// The memo as shown: MEMO.Text up to its first 0 byte, or all 199 bytes,
// decoded, with each line break given as '\n'.
std::string loadMemo(const model::ParameterImage& image, CodePage page);

}  // namespace zelvor::editing
