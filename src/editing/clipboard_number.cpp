#include "editing/clipboard_number.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace zelvor::editing {

namespace {

// Blanks as spreadsheets write them between thousands and around numbers:
// the space, the no-break space, the narrow no-break space and the thin
// space (the last three in UTF-8).
std::size_t blankLength(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with(' ') || rest.starts_with('\v') || rest.starts_with('\f')) return 1;
    if (rest.starts_with("\xC2\xA0")) return 2;
    if (rest.starts_with("\xE2\x80\xAF") || rest.starts_with("\xE2\x80\x89")) return 3;
    return 0;
}

// The apostrophe and the right single quotation mark group thousands in
// Switzerland.
std::size_t apostropheLength(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with('\'')) return 1;
    if (rest.starts_with("\xE2\x80\x99")) return 3;
    return 0;
}

enum class Mark { Point, Comma, Blank, Apostrophe };

struct Pieces {
    std::vector<std::string_view> groups;  // digit runs; the first may be empty (".5")
    std::vector<Mark> marks;               // marks[i] stands between groups[i] and groups[i+1]
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digit runs and the marks between them; nothing when another character
// appears, two marks follow each other or the number ends with a mark.
std::optional<Pieces> splitPieces(std::string_view body) {
    Pieces pieces;
    std::size_t i = 0;
    std::size_t runStart = 0;
    while (i < body.size()) {
        if (isDigit(body[i])) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        Mark mark = Mark::Point;
        if (body[i] == '.') {
            length = 1;
        } else if (body[i] == ',') {
            length = 1;
            mark = Mark::Comma;
        } else if ((length = blankLength(body, i)) > 0) {
            mark = Mark::Blank;
        } else if ((length = apostropheLength(body, i)) > 0) {
            mark = Mark::Apostrophe;
        } else {
            return std::nullopt;
        }
        const std::string_view run = body.substr(runStart, i - runStart);
        if (run.empty() && !(pieces.groups.empty() && (mark == Mark::Point || mark == Mark::Comma)))
            return std::nullopt;
        pieces.groups.push_back(run);
        pieces.marks.push_back(mark);
        i += length;
        runStart = i;
    }
    const std::string_view last = body.substr(runStart);
    if (last.empty()) return std::nullopt;
    pieces.groups.push_back(last);
    return pieces;
}

// Digits before a decimal mark grouped in thousands: 1 to 3 digits, then
// groups of exactly 3, all separated by the same mark.
bool validGrouping(const std::vector<std::string_view>& groups, const std::vector<Mark>& marks) {
    if (groups.empty() || groups.front().empty() || groups.front().size() > 3) return false;
    for (std::size_t i = 1; i < groups.size(); ++i) {
        if (groups[i].size() != 3 || marks[i - 1] != marks.front()) return false;
    }
    return true;
}

double valueOf(std::string_view whole, std::string_view fraction) {
    std::string text(whole.empty() ? "0" : whole);
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) return HUGE_VAL;
    return value;
}

std::string joined(const std::vector<std::string_view>& groups) {
    std::string digits;
    for (std::string_view group : groups) digits += group;
    return digits;
}

// The number's value for the given decimal mark (or none), if its pieces
// read that way.
std::optional<double> readAs(const Pieces& pieces, std::optional<std::size_t> decimalAt) {
    if (!decimalAt) {
        if (pieces.groups.size() > 1 && !validGrouping(pieces.groups, pieces.marks))
            return std::nullopt;
        return valueOf(joined(pieces.groups), {});
    }
    // decimalAt indexes the mark; the groups after it are the fraction.
    const std::size_t mark = *decimalAt;
    if (mark + 1 != pieces.marks.size()) return std::nullopt;  // the decimal mark comes last
    const std::vector<std::string_view> whole(pieces.groups.begin(),
                                              pieces.groups.begin() + static_cast<long>(mark) + 1);
    const std::vector<Mark> wholeMarks(pieces.marks.begin(),
                                       pieces.marks.begin() + static_cast<long>(mark));
    if (whole.size() > 1 && !validGrouping(whole, wholeMarks)) return std::nullopt;
    return valueOf(joined(whole), pieces.groups.back());
}

ClipboardNumber number(double value) {
    return {ClipboardNumber::Kind::Number, value, 0.0};
}

}  // namespace

std::string_view trimBlanks(std::string_view field) {
    for (;;) {
        if (!field.empty() && field.front() == '\t') {
            field.remove_prefix(1);
        } else if (const std::size_t n = blankLength(field, 0); n > 0) {
            field.remove_prefix(n);
        } else {
            break;
        }
    }
    for (;;) {
        if (!field.empty() && field.back() == '\t') {
            field.remove_suffix(1);
            continue;
        }
        bool removed = false;
        for (std::size_t n : {1u, 2u, 3u}) {
            if (field.size() >= n && blankLength(field, field.size() - n) == n) {
                field.remove_suffix(n);
                removed = true;
                break;
            }
        }
        if (!removed) break;
    }
    return field;
}

ClipboardNumber readClipboardNumber(std::string_view field, PlausibleRange range,
                                    bool percentSign) {
    std::string_view body = trimBlanks(field);
    if (percentSign && body.ends_with('%')) {
        body.remove_suffix(1);
        body = trimBlanks(body);
    }
    double sign = 1.0;
    if (body.starts_with('-') || body.starts_with('+')) {
        sign = body.front() == '-' ? -1.0 : 1.0;
        body.remove_prefix(1);
    }
    const std::optional<Pieces> pieces = splitPieces(body);
    if (!pieces) return {};

    std::size_t points = 0;
    std::size_t commas = 0;
    for (Mark mark : pieces->marks) {
        points += mark == Mark::Point ? 1 : 0;
        commas += mark == Mark::Comma ? 1 : 0;
    }
    const std::size_t lastMark = pieces->marks.empty() ? 0 : pieces->marks.size() - 1;
    const auto lastIsDecimalKind = [&] {
        return !pieces->marks.empty() &&
               (pieces->marks.back() == Mark::Point || pieces->marks.back() == Mark::Comma);
    };

    std::optional<double> value;
    if (points > 0 && commas > 0) {
        // "1,234.5" and "1.234,5": the last mark is the decimal one and
        // appears once.
        const Mark decimal = pieces->marks.back();
        if (!lastIsDecimalKind() || (decimal == Mark::Point ? points : commas) != 1) return {};
        value = readAs(*pieces, lastMark);
    } else if (points + commas == 1) {
        if (!lastIsDecimalKind()) return {};
        const bool onlyMark = pieces->marks.size() == 1;
        const std::string_view whole = pieces->groups.front();
        const bool couldGroup = onlyMark && pieces->groups.back().size() == 3 && !whole.empty() &&
                                whole.size() <= 3 && whole.front() != '0';
        value = readAs(*pieces, lastMark);
        if (couldGroup && value) {
            const std::optional<double> grouped = readAs(*pieces, std::nullopt);
            const double decimalValue = sign * *value;
            const double groupedValue = sign * grouped.value_or(0.0);
            const bool decimalFits = range.contains(decimalValue);
            const bool groupedFits = grouped && range.contains(groupedValue);
            if (decimalFits && groupedFits) {
                return {ClipboardNumber::Kind::Ambiguous, decimalValue, groupedValue};
            }
            if (groupedFits) return number(groupedValue);
        }
    } else {
        // Only thousands separators ("1,234,567", "10 500") or none.
        value = readAs(*pieces, std::nullopt);
    }
    if (!value) return {};
    return number(sign * *value);
}

}  // namespace zelvor::editing
