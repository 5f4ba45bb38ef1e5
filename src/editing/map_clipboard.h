#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "editing/map_content.h"
#include "editing/map_selection.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// Map cells as text for the clipboard and for files: one line per map row
// (top row first), values separated by tabs, each line ended by a line feed,
// as spreadsheets copy and paste blocks. Degrees and percentages are whole
// numbers; times in ms have three decimals after a point. The whole map comes
// with its axes: a first line with an empty corner and the 15 axis points in
// rpm, and each row led by its throttle in percent.
std::string formatMapText(MapId map, const MapContent& content, const MapSelection& selection,
                          bool inMs = false);

// Why pasted text was refused. Rows and columns count from 1 in the text.
struct PasteError {
    enum class Kind {
        NoNumbers,       // nothing but blanks
        NotANumber,      // at row, column: text
        Ambiguous,       // at row, column: text reads as readings[0] or readings[1]
        MissingNumber,   // at row, column
        TooManyRows,     // at row: room rows fit from the target cell
        TooManyColumns,  // at column of row: room columns fit
        WrongThrottle,   // at row, column 1: expected instead of text
        MapFollowsMap1,  // map 2 while the injection maps are coupled or equal
    };
    Kind kind = Kind::NoNumbers;
    int row = 0;
    int column = 0;
    std::string text;
    double readings[2] = {0.0, 0.0};
    int room = 0;
    int expected = 0;
};

// The refusal in words, naming the row and column of the text.
std::string describePasteError(const PasteError& error);

// What pasting text into a map gives, from the map as the image holds it:
// - the whole map with its axes (11 lines of 16 fields, as formatMapText
//   writes it; the throttle column must match the map's rows, the corner is
//   ignored) replaces the axis and every cell;
// - a single number fills the selection;
// - any other block of numbers is laid with its first number on cell at.
// Numbers are read as readClipboardNumber reads them; cells are held by the
// map's limits, axis points to 300..25000 rpm. With inMs the injection
// cells are times in ms, taken as the percentage of the cell's base time (for
// a pasted axis, the base time the new axis gives) nearest to them. Text that
// does not fit is refused as a whole: the map stays as it is.
std::variant<MapEdit, PasteError> pasteMapText(std::string_view text, MapId map,
                                               const model::ParameterImage& image,
                                               const MapSelection& selection, GridCell at,
                                               bool inMs = false);

}  // namespace zelvor::editing
