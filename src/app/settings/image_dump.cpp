#include "app/settings/image_dump.h"

#include <cstdint>
#include <cstdio>
#include <optional>

namespace zelvor::app {

namespace {

void appendValue(std::string& out, unsigned value) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%5u ", value);
    out.append(buffer, static_cast<std::size_t>(n));
}

// Reads the next unsigned decimal number; nothing at the end of the text or
// at a token that is not a number. Numbers wrap like a 32-bit read would.
class NumberReader {
  public:
    explicit NumberReader(std::string_view text) : text_(text) {}

    std::optional<std::uint32_t> next() {
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
        if (pos_ >= text_.size() || !isDigit(text_[pos_])) return std::nullopt;
        std::uint32_t value = 0;
        while (pos_ < text_.size() && isDigit(text_[pos_])) {
            value = value * 10 + static_cast<std::uint32_t>(text_[pos_] - '0');
            ++pos_;
        }
        return value;
    }

  private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string formatImageDump(const model::ParameterImage& image, const AllFlags& all) {
    std::string out;
    out.reserve(model::ParameterImage::kSize * 6 + 200);
    for (std::size_t k = 0; k < model::ParameterImage::kSize; ++k) {
        appendValue(out, image.byte(k));
        if (k % 10 == 9) out += '\n';
        if (k % 100 == 99) out += '\n';
    }
    for (bool flag : all) appendValue(out, flag ? 1 : 0);
    return out;
}

void parseImageDump(std::string_view text, model::ParameterImage& image, AllFlags& all) {
    NumberReader reader(text);
    for (std::size_t k = 0; k < model::ParameterImage::kSize; ++k) {
        const auto value = reader.next();
        if (!value) return;
        image.setByte(k, static_cast<std::uint8_t>(*value & 0xFF));
    }
    for (bool& flag : all) {
        const auto value = reader.next();
        if (!value) return;
        flag = *value != 0;
    }
}

}  // namespace zelvor::app
