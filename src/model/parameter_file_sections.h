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

// How a stored value becomes the number in the file and back. The two
// directions are not always exact inverses for numbers the writer would never
// produce (for example TpsHigh subtracts after dividing, IdleRpm before), and
// existing files depend on the reading rules as they are.
enum class Rule : std::uint8_t {
    Raw,          // written as stored, read as is
    Times,        // written stored * factor, read n / factor
    TpsHigh,      // written stored * 10 + 2500, read n / 10 - 250
    IdleRpm,      // written stored * 10 + 500, read (n - 500) / 10
    Signed,       // written stored - 100 with sign, read n + 100
    PlusHundred,  // written stored + 100, read n - 100
    Flag,         // written "    1 " when non-zero, else "    0 "; read as is
    FlagLast,     // like Flag but without the trailing space
};

enum class ItemKind : std::uint8_t {
    Values,            // all elements of field, in index order
    Continuation,      // line break and 13 spaces
    IdleContinuation,  // line break and 14 spaces
    LineBreak,         // a bare line break
};

struct Item {
    ItemKind kind = ItemKind::Values;
    Field field = Field::Count;
    std::uint8_t count = 0;
    Rule rule = Rule::Raw;
    std::uint16_t factor = 1;
    // A continuation after every 15th value: one map row per line.
    bool rowPerLine = false;
};

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
