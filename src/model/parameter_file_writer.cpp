#include "model/parameter_file_writer.h"

#include <charconv>
#include <string_view>

#include "model/field_table.h"
#include "model/parameter_file_sections.h"

namespace zelvor::model {

namespace {

using namespace file_format;

constexpr std::size_t kValueWidth = 5;

// printf's "%*d": right-aligned in width characters.
void appendAligned(std::string& out, long value, std::size_t width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<std::size_t>(result.ptr - digits);
    if (length < width) out.append(width - length, ' ');
    out.append(digits, length);
}

// "%5d ", or "%5d" without the trailing space.
void appendNumber(std::string& out, long value, bool trailingSpace = true) {
    appendAligned(out, value, kValueWidth);
    if (trailingSpace) out += ' ';
}

void appendBreak(std::string& out, std::size_t indent) {
    out += kLineBreak;
    out.append(indent, ' ');
}

void appendSection(std::string& out, const Section& section, const ParameterImage& image) {
    out += kLineBreak;
    out += section.name;
    if (section.name.size() < section.nameWidth) {
        out.append(section.nameWidth - section.name.size(), ' ');
    }
    for (const Item& item : section.items) {
        switch (item.kind) {
            case ItemKind::Values:
                for (std::size_t i = 0; i < item.count; ++i) {
                    appendNumber(out, fileNumber(descriptor(item.field), image.get(item.field, i)),
                                 !item.noTrailingSpace);
                    if (item.rowPerLine && (i + 1) % 15 == 0) {
                        appendBreak(out, kContinuationIndent);
                    }
                }
                break;
            case ItemKind::Continuation:
                appendBreak(out, kContinuationIndent);
                break;
            case ItemKind::IdleContinuation:
                appendBreak(out, kIdleContinuationIndent);
                break;
            case ItemKind::LineBreak:
                out += kLineBreak;
                break;
        }
    }
}

// The memo text ends at its first 0 byte or after 199 bytes. Each of its
// CR LF separated lines is written followed by a line break, the last one
// too (a text ending in a line break has an empty last line), so the reader
// can drop exactly one final line break and get the text back.
void appendMemo(std::string& out, const ParameterImage& image) {
    out += kLineBreak;
    out += kMemoSection;
    out.append(kSectionNameWidth - kMemoSection.size(), ' ');
    out += kLineBreak;
    const auto& bytes = image.bytes();
    const std::size_t start = descriptor(Field::MEMO_Text).offset;
    std::size_t length = 0;
    while (length < kMemoLength && bytes[start + length] != 0) ++length;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data() + start), length);
    if (text.empty()) return;
    out += text;
    out += kLineBreak;
}

}  // namespace

std::string formatParameterFile(const ParameterImage& image) {
    std::string out;
    out.reserve(12 * 1024);
    out += kMagic;
    out += "   ";
    appendAligned(out, kVersion, 3);
    out += ' ';
    out += kLineBreak;
    for (const Section& section : sections()) appendSection(out, section, image);
    appendMemo(out, image);
    return out;
}

}  // namespace zelvor::model
