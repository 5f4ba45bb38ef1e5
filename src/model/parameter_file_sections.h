#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/field.h"

namespace zelvor::model::file_format {

// The layout of a parameter file ("*.ign"), shared by the writer and the
// reader: the sections in the order they are written, each a list of values
// and line breaks. The reader expects the numbers of a section in the same
// order as the writer puts them.

inline constexpr std::string_view kMagic = "ZARBOLIK_KEY";
inline constexpr unsigned kVersion = 63;
inline constexpr std::string_view kMemoSection = "MEMO";
inline constexpr std::size_t kMemoLength = 199;
inline constexpr std::string_view kLineBreak = "\r\n";
// Values that follow a continuation line up under the first value column.
inline constexpr std::size_t kContinuationIndent = 13;
inline constexpr std::size_t kIdleContinuationIndent = 14;
inline constexpr std::size_t kSectionNameWidth = 13;

enum class ItemKind : std::uint8_t {
    Values,            // all elements of field, in index order
    Continuation,      // line break and 13 spaces
    IdleContinuation,  // line break and 14 spaces
    LineBreak,         // a bare line break
};

// What the file holds for a field, and how, comes from the field table: the
// engineering value, the stored value or a 0/1 flag (FieldDescriptor::fileForm).
struct Item {
    ItemKind kind = ItemKind::Values;
    Field field = Field::Count;
    std::uint8_t count = 0;
    // A continuation after every 15th value: one map row per line.
    bool rowPerLine = false;
    // The value is written without the space that follows every other one.
    bool noTrailingSpace = false;
};

// The number the file holds for a stored value of the field.
std::int32_t fileNumber(const FieldDescriptor& field, unsigned stored);

// The stored value of a number read from the file (already taken modulo
// 65536), modulo the field's width. The two directions are not exact inverses
// for numbers the writer would never produce (TPS.Tps100 takes its bias off
// after dividing, the idle speeds before), and existing files depend on the
// reading rules as they are.
unsigned storedFromFile(const FieldDescriptor& field, std::int32_t number);

struct Section {
    std::string_view name;
    std::size_t nameWidth;
    std::span<const Item> items;
};

// The 33 numeric sections in file order; the memo section follows them.
std::span<const Section> sections();

// The section of that exact (case-sensitive) name, or nullptr.
const Section* findSection(std::string_view name);

}  // namespace zelvor::model::file_format
