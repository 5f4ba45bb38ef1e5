#include "i18n/ui_markup.h"

#include <cstddef>

namespace zelvor::i18n {
namespace {

// Length of the UTF-8 sequence that starts with this byte; a stray continuation byte or
// an invalid lead byte counts as one byte so that broken text is never read past its end.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

}  // namespace

HintParts splitHint(std::string_view hint) {
    const std::size_t bar = hint.find('|');
    if (bar == std::string_view::npos) return {hint, hint};
    return {hint.substr(0, bar), hint.substr(bar + 1)};
}

std::string stripAccelerators(std::string_view caption) {
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;  // a marked letter is shown plainly; "&&" leaves one '&'
        }
        shown.push_back(caption[i]);
    }
    return shown;
}

std::string_view acceleratorLetter(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // literal '&'
            continue;
        }
        const std::size_t start = i + 1;
        std::size_t length = sequenceLength(static_cast<unsigned char>(caption[start]));
        if (start + length > caption.size()) length = caption.size() - start;
        return caption.substr(start, length);
    }
    return {};
}

std::string escapeAmpersands(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '&') escaped.push_back('&');
        escaped.push_back(c);
    }
    return escaped;
}

}  // namespace zelvor::i18n
