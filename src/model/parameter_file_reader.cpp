#include "model/parameter_file_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "model/field_table.h"
#include "model/parameter_file_sections.h"

namespace zelvor::model {

namespace {

using namespace file_format;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// White-space separated tokens over the file's bytes; a position can be
// saved and restored to look at a token without taking it.
class Tokens {
  public:
    explicit Tokens(std::string_view text) : text_(text) {}

    // The next token, or an empty view at the end of the input.
    std::string_view next() {
        skipBlanks();
        const std::size_t start = position_;
        while (position_ < text_.size() && !isBlank(text_[position_])) ++position_;
        return text_.substr(start, position_ - start);
    }

    void skipBlanks() {
        while (position_ < text_.size() && isBlank(text_[position_])) ++position_;
    }

    std::size_t position() const { return position_; }
    void seek(std::size_t position) { position_ = position; }
    std::string_view rest() const { return text_.substr(position_); }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// A decimal number with an optional sign, reduced modulo 65536 however many
// digits it has. Anything else is not a number.
std::optional<std::uint16_t> parseNumber(std::string_view token) {
    bool negative = false;
    if (!token.empty() && (token.front() == '-' || token.front() == '+')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    if (token.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return std::nullopt;
        value = (value * 10 + static_cast<std::uint32_t>(c - '0')) & 0xFFFF;
    }
    if (negative) value = (0x10000 - value) & 0xFFFF;
    return static_cast<std::uint16_t>(value);
}

// Positions the tokens after the first magic word that is followed by the
// format version; false when there is none.
bool findVersion(Tokens& tokens) {
    for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
        if (token != kMagic) continue;
        const std::size_t afterMagic = tokens.position();
        const std::optional<std::uint16_t> version = parseNumber(tokens.next());
        if (version && *version == kVersion) return true;
        // The token after a wrong version may itself be a magic word.
        tokens.seek(afterMagic);
    }
    return false;
}

// Reads the numbers of one section. At the first token that is no number the
// section ends: the remaining fields get the last number read (by their own
// rule) and that token is left for the section loop, so a section name
// there still starts its section.
void readSection(const Section& section, Tokens& tokens, ParameterImage& image,
                 std::uint16_t& lastNumber) {
    bool ended = false;
    for (const Item& item : section.items) {
        if (item.kind != ItemKind::Values) continue;
        for (std::size_t i = 0; i < item.count; ++i) {
            if (!ended) {
                const std::size_t before = tokens.position();
                if (const auto number = parseNumber(tokens.next())) {
                    lastNumber = *number;
                } else {
                    ended = true;
                    tokens.seek(before);
                }
            }
            image.set(item.field, i, storedFromFile(descriptor(item.field), lastNumber));
        }
    }
}

// The memo body is the next 199 bytes as they are. When the file ends with
// the memo's last line break within reach, that break only closes the last
// line and is not part of the text.
void readMemo(Tokens& tokens, ParameterImage& image) {
    tokens.skipBlanks();
    std::string_view body = tokens.rest();
    if (body.ends_with("\r\n") && body.size() - 2 <= kMemoLength) body.remove_suffix(2);
    body = body.substr(0, kMemoLength);
    auto memo = image.bytes().begin() + descriptor(Field::MEMO_Text).offset;
    const auto end = std::copy(body.begin(), body.end(), memo);
    std::fill(end, memo + kMemoLength, std::uint8_t{0});
}

}  // namespace

ReadOutcome parseParameterFile(std::string_view content, ParameterImage& image) {
    Tokens tokens(content);
    if (!findVersion(tokens)) return ReadOutcome::VersionMismatch;
    // The version is the last number read before the first section.
    std::uint16_t lastNumber = kVersion;
    for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
        if (token == kMemoSection) {
            readMemo(tokens, image);
            break;
        }
        if (const Section* section = findSection(token)) {
            readSection(*section, tokens, image, lastNumber);
        }
    }
    return ReadOutcome::Accepted;
}

}  // namespace zelvor::model
