#pragma once

#include <string_view>

namespace zelvor::editing {

// The values a number in pasted text is expected to lie in. A number such as
// "1,000" or "2.500" is either a whole number with a thousands separator or
// a number with three decimals; the reading that lies in this range is taken.
struct PlausibleRange {
    double low;
    double high;

    bool contains(double value) const { return value >= low && value <= high; }
};

struct ClipboardNumber {
    enum class Kind {
        Number,      // value holds it
        NotANumber,  // nothing that reads as a number
        Ambiguous,   // both readings lie in the range: value (decimals) and grouped
    };
    Kind kind = Kind::NotANumber;
    double value = 0.0;
    double grouped = 0.0;
};

// Reads one field of pasted text as spreadsheets in any language write
// numbers: a decimal point or a decimal comma; thousands separators (point,
// comma, blank, no-break or thin blank, apostrophe) between groups of three
// digits; blanks around the number; a sign; with percentSign, a "%" after
// it. Where a point and a comma both appear, the last one is the decimal
// mark. Exponents, words and anything else are no number.
ClipboardNumber readClipboardNumber(std::string_view field, PlausibleRange range,
                                    bool percentSign = false);

// The field without the blanks around it.
std::string_view trimBlanks(std::string_view field);

}  // namespace zelvor::editing
