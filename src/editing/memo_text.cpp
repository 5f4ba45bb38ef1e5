#include "editing/memo_text.h"

#include <algorithm>

#include "model/field_table.h"

namespace zelvor::editing {

namespace {

constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';

std::size_t memoOffset() {
    return model::descriptor(model::Field::MEMO_Text).offset;
}

}  // namespace

std::vector<std::uint8_t> memoBytes(std::string_view text, CodePage page) {
    std::string joined;
    joined.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            joined += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            joined.push_back(c);
        }
    }
    return encode(joined, page);
}

void storeMemo(model::ParameterImage& image, std::string_view text, CodePage page) {
    const std::vector<std::uint8_t> bytes = memoBytes(text, page);
    std::size_t length = std::min(bytes.size(), kMemoLength);
    // A cut between CR and LF would leave half a line break behind.
    if (length < bytes.size() && length > 0 && bytes[length - 1] == kCr && bytes[length] == kLf) {
        --length;
    }
    auto out = image.bytes().begin() + static_cast<std::ptrdiff_t>(memoOffset());
    std::copy_n(bytes.begin(), length, out);
    std::fill(out + static_cast<std::ptrdiff_t>(length),
              out + static_cast<std::ptrdiff_t>(kMemoLength), 0);
    image.set(model::Field::MEMO_Terminator, 0);
}

std::string loadMemo(const model::ParameterImage& image, CodePage page) {
    const auto begin = image.bytes().begin() + static_cast<std::ptrdiff_t>(memoOffset());
    const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(kMemoLength), 0);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(end - begin));
    for (auto it = begin; it != end; ++it) {
        if (*it == kCr) {
            bytes.push_back(kLf);
            if (it + 1 != end && *(it + 1) == kLf) ++it;
        } else {
            bytes.push_back(*it);
        }
    }
    return decode(bytes, page);
}

}  // namespace zelvor::editing
