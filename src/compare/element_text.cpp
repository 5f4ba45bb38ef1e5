#include "compare/element_text.h"

#include "model/field_table.h"

namespace zelvor::compare {

using model::FieldDescriptor;

std::string elementName(const FieldDescriptor& field, std::size_t index) {
    std::string name = model::qualifiedName(field.id);
    if (field.count > 1) name += "[" + std::to_string(index) + "]";
    return name;
}

std::string engineeringText(const model::ParameterImage& image, const FieldDescriptor& field,
                            std::size_t index) {
    return std::to_string(field.toEngineering(image.get(field.id, index)));
}

std::string_view memoBytes(const model::ParameterImage& image) {
    const FieldDescriptor& memo = model::descriptor(model::Field::MEMO_Text);
    const auto* start = reinterpret_cast<const char*>(image.bytes().data() + memo.offset);
    std::size_t length = 0;
    while (length < memo.count && start[length] != 0) ++length;
    return {start, length};
}

std::string quoted(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (b >= 0x20 && b < 0x7F) {
                    out += c;
                } else {
                    out += "\\x";
                    out += kHex[b >> 4];
                    out += kHex[b & 0x0F];
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace zelvor::compare
