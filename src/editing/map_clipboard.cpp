#include "editing/map_clipboard.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "editing/clipboard_number.h"
#include "editing/map_grid_model.h"

namespace zelvor::editing {

namespace {

using model::kMapColumns;
using model::kMapRows;

constexpr double kMicrosecondsPerMs = 1000.0;
constexpr double kLargestTime = 65535.0;  // microseconds in a word

enum class Quantity { Rpm, Throttle, Degrees, Percent, Milliseconds };

PlausibleRange rangeOf(Quantity quantity) {
    switch (quantity) {
        case Quantity::Rpm:
            return {static_cast<double>(kAxisRange.minimum),
                    static_cast<double>(kAxisRange.maximum)};
        case Quantity::Throttle:
            return {0.0, 100.0};
        case Quantity::Degrees:
            return {0.0, static_cast<double>(kAdvanceLimits.maximum)};
        case Quantity::Percent:
            return {0.0, static_cast<double>(kInjectionLimits.ceiling)};
        case Quantity::Milliseconds:
            return {0.0, kLargestTime / kMicrosecondsPerMs};
    }
    return {0.0, 0.0};
}

// "1.234" for 1234 microseconds.
std::string msText(std::uint16_t word) {
    const std::string fraction = std::to_string(word % 1000);
    return std::to_string(word / 1000) + "." + std::string(3 - fraction.size(), '0') + fraction;
}

std::string cellText(const MapContent& content, std::size_t k, bool inMs) {
    return inMs ? msText(content.words[k]) : std::to_string(content.cells[k]);
}

// Pasted text as rows of fields. A byte order mark, carriage returns before
// line feeds, blank lines at the end and blank fields at the end of a line
// (some spreadsheets add them) carry nothing and are dropped.
using TextRow = std::vector<std::string_view>;

std::vector<TextRow> splitTable(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<TextRow> rows;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        TextRow row;
        for (;;) {
            const std::size_t tab = line.find('\t');
            row.push_back(line.substr(0, tab));
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        while (!row.empty() && trimBlanks(row.back()).empty()) row.pop_back();
        rows.push_back(std::move(row));
    }
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
}

std::size_t widthOf(const std::vector<TextRow>& rows) {
    std::size_t width = 0;
    for (const TextRow& row : rows) width = std::max(width, row.size());
    return width;
}

bool isWholeMapWithAxes(const std::vector<TextRow>& rows) {
    return rows.size() == kMapRows + 1 && widthOf(rows) == kMapColumns + 1;
}

PasteError errorAt(PasteError::Kind kind, std::size_t row, std::size_t column,
                   std::string_view text = {}) {
    PasteError error;
    error.kind = kind;
    error.row = static_cast<int>(row) + 1;
    error.column = static_cast<int>(column) + 1;
    error.text = std::string(text);
    return error;
}

// The number at row, column (from 0) of the text.
std::variant<double, PasteError> readField(const std::vector<TextRow>& rows, std::size_t row,
                                           std::size_t column, Quantity quantity) {
    if (column >= rows[row].size() || trimBlanks(rows[row][column]).empty()) {
        return errorAt(PasteError::Kind::MissingNumber, row, column);
    }
    const std::string_view field = rows[row][column];
    const bool percentSign = quantity == Quantity::Percent || quantity == Quantity::Throttle;
    const ClipboardNumber number = readClipboardNumber(field, rangeOf(quantity), percentSign);
    switch (number.kind) {
        case ClipboardNumber::Kind::Number:
            return number.value;
        case ClipboardNumber::Kind::Ambiguous: {
            PasteError error = errorAt(PasteError::Kind::Ambiguous, row, column, trimBlanks(field));
            error.readings[0] = number.value;
            error.readings[1] = number.grouped;
            return error;
        }
        case ClipboardNumber::Kind::NotANumber:
            break;
    }
    return errorAt(PasteError::Kind::NotANumber, row, column, trimBlanks(field));
}

// A number read for a cell of the map.
struct PlacedValue {
    std::size_t cell;
    double value;
};

int axisPoint(double rpm) {
    return kAxisRange.limit(static_cast<int>(std::lround(std::clamp(rpm, -1e9, 1e9))));
}

// The base times of an injection map with a new axis: points the paste
// leaves as the grid showed them keep their stored byte.
model::CellWords baseTimesFor(MapId map, const model::ParameterImage& image, const AxisRpm& axis,
                              const AxisRpm& shown) {
    const model::Field axisField = mapDescriptor(pageOfMap(map))->axis;
    std::array<std::uint8_t, kMapColumns> bytes{};
    for (std::size_t c = 0; c < kMapColumns; ++c) {
        bytes[c] = axis[c] == shown[c]
                       ? static_cast<std::uint8_t>(image.get(axisField, c))
                       : static_cast<std::uint8_t>(model::descriptor(axisField).toStored(axis[c]));
    }
    const model::InjectionMap injection =
        map == MapId::Jet2A ? model::InjectionMap::Jet2A : model::InjectionMap::Jet1A;
    const model::BaseTable base =
        model::computeBaseTable(injection, image.get(model::Field::BIKE_BikeType));
    return model::computeBaseTimes(base, model::SpeedAxis(bytes));
}

// The percentage of baseTime nearest to a time in ms.
double percentOfTime(double ms, std::uint16_t baseTime) {
    const double micros = std::clamp(std::round(ms * kMicrosecondsPerMs), 0.0, kLargestTime);
    return model::percentFromWord(static_cast<std::uint16_t>(micros), baseTime);
}

std::string numberText(double value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string("?");
}

// Reads the whole map with its axes: axis into edit, cells into values.
std::optional<PasteError> readWholeMap(const std::vector<TextRow>& rows, Quantity cellQuantity,
                                       MapEdit& edit, std::vector<PlacedValue>& values) {
    AxisRpm axis{};
    for (std::size_t c = 0; c < kMapColumns; ++c) {
        const auto read = readField(rows, 0, c + 1, Quantity::Rpm);
        if (const auto* error = std::get_if<PasteError>(&read)) return *error;
        axis[c] = axisPoint(std::get<double>(read));
    }
    for (std::size_t r = 0; r < kMapRows; ++r) {
        const auto throttle = readField(rows, r + 1, 0, Quantity::Throttle);
        if (const auto* error = std::get_if<PasteError>(&throttle)) return *error;
        if (std::get<double>(throttle) != kThrottleRowPercent[r]) {
            PasteError error =
                errorAt(PasteError::Kind::WrongThrottle, r + 1, 0, trimBlanks(rows[r + 1][0]));
            error.expected = kThrottleRowPercent[r];
            return error;
        }
        for (std::size_t c = 0; c < kMapColumns; ++c) {
            const auto read = readField(rows, r + 1, c + 1, cellQuantity);
            if (const auto* error = std::get_if<PasteError>(&read)) return *error;
            values.push_back(
                {cellIndex(static_cast<int>(r), static_cast<int>(c)), std::get<double>(read)});
        }
    }
    edit.axis = axis;
    return std::nullopt;
}

// Reads a block laid with its first number on cell at.
std::optional<PasteError> readBlock(const std::vector<TextRow>& rows, Quantity cellQuantity,
                                    GridCell at, std::vector<PlacedValue>& values) {
    const std::size_t rowRoom = static_cast<std::size_t>(kMapRows - at.row);
    const std::size_t columnRoom = static_cast<std::size_t>(kMapColumns - at.column);
    if (rows.size() > rowRoom) {
        PasteError error = errorAt(PasteError::Kind::TooManyRows, rowRoom, 0);
        error.room = static_cast<int>(rowRoom);
        return error;
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].size() > columnRoom) {
            PasteError error = errorAt(PasteError::Kind::TooManyColumns, r, columnRoom);
            error.room = static_cast<int>(columnRoom);
            return error;
        }
    }
    const std::size_t width = widthOf(rows);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < width; ++c) {
            const auto read = readField(rows, r, c, cellQuantity);
            if (const auto* error = std::get_if<PasteError>(&read)) return *error;
            values.push_back(
                {cellIndex(at.row + static_cast<int>(r), at.column + static_cast<int>(c)),
                 std::get<double>(read)});
        }
    }
    return std::nullopt;
}

}  // namespace

std::string formatMapText(MapId map, const MapContent& content, const MapSelection& selection,
                          bool inMs) {
    const MapSelection block = selection.normalized();
    const bool withAxes = block.isWholeMap();
    const bool ms = inMs && map != MapId::Advance;
    std::string text;
    if (withAxes) {
        for (int rpm : content.axis) text += '\t' + std::to_string(rpm);
        text += '\n';
    }
    for (int r = block.top; r <= block.bottom; ++r) {
        if (withAxes) text += std::to_string(kThrottleRowPercent[static_cast<std::size_t>(r)]);
        for (int c = block.left; c <= block.right; ++c) {
            if (withAxes || c > block.left) text += '\t';
            text += cellText(content, cellIndex(r, c), ms);
        }
        text += '\n';
    }
    return text;
}

std::string describePasteError(const PasteError& error) {
    const std::string at =
        "Row " + std::to_string(error.row) + ", column " + std::to_string(error.column) + ": ";
    switch (error.kind) {
        case PasteError::Kind::NoNumbers:
            return "The text holds no numbers.";
        case PasteError::Kind::NotANumber:
            return at + "\"" + error.text + "\" is not a number.";
        case PasteError::Kind::Ambiguous:
            return at + "\"" + error.text + "\" can be read as " + numberText(error.readings[0]) +
                   " or as " + numberText(error.readings[1]) +
                   "; write it without a thousands separator.";
        case PasteError::Kind::MissingNumber:
            return at + "a number is missing.";
        case PasteError::Kind::TooManyRows:
            return at + "too many rows; from the cell the text goes to, the map has room for " +
                   std::to_string(error.room) + (error.room == 1 ? " row." : " rows.");
        case PasteError::Kind::TooManyColumns:
            return at + "too many columns; from the cell the text goes to, the map has room for " +
                   std::to_string(error.room) + (error.room == 1 ? " column." : " columns.");
        case PasteError::Kind::WrongThrottle:
            return at + "this row of the map is the " + std::to_string(error.expected) +
                   " % throttle row, not \"" + error.text + "\".";
        case PasteError::Kind::MapFollowsMap1:
            return "Injection map 2 follows map 1 while the maps are coupled or equal; change map "
                   "1 instead.";
    }
    return "The text does not fit the map.";
}

std::variant<MapEdit, PasteError> pasteMapText(std::string_view text, MapId map,
                                               const model::ParameterImage& image,
                                               const MapSelection& selection, GridCell at,
                                               bool inMs) {
    if (!mapAcceptsEdits(map, image)) {
        PasteError error;
        error.kind = PasteError::Kind::MapFollowsMap1;
        return error;
    }
    const std::vector<TextRow> rows = splitTable(text);
    if (rows.empty()) return PasteError{};

    const MapContent shown = readMapContent(map, image);
    const bool ms = inMs && map != MapId::Advance;
    const Quantity cellQuantity =
        ms ? Quantity::Milliseconds
           : (map == MapId::Advance ? Quantity::Degrees : Quantity::Percent);
    MapEdit edit{std::nullopt, shown.cells};
    std::vector<PlacedValue> values;
    std::optional<PasteError> refused;
    if (isWholeMapWithAxes(rows)) {
        refused = readWholeMap(rows, cellQuantity, edit, values);
    } else if (rows.size() == 1 && rows.front().size() == 1) {
        const auto read = readField(rows, 0, 0, cellQuantity);
        if (const auto* error = std::get_if<PasteError>(&read)) return *error;
        const MapSelection block = selection.normalized();
        for (int r = block.top; r <= block.bottom; ++r) {
            for (int c = block.left; c <= block.right; ++c) {
                values.push_back({cellIndex(r, c), std::get<double>(read)});
            }
        }
    } else {
        const GridCell target = MapSelection::single(at).topLeft();
        refused = readBlock(rows, cellQuantity, target, values);
    }
    if (refused) return *refused;

    const model::CellWords baseTimes =
        ms && edit.axis ? baseTimesFor(map, image, *edit.axis, shown.axis) : shown.baseTimes;
    const CellLimits limits = cellLimits(map);
    for (const PlacedValue& placed : values) {
        const double wanted =
            ms ? percentOfTime(placed.value, baseTimes[placed.cell]) : placed.value;
        edit.cells[placed.cell] = holdCell(shown.cells[placed.cell], wanted, limits);
    }
    return edit;
}

}  // namespace zelvor::editing
