#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datalog/log_row.h"

namespace zelvor::datalog {

// A ride log as read back: its rows in time order, and what the reader
// noticed without refusing the log (a last line cut off by a power cut).
struct RideLog {
    std::vector<LogRow> rows;
    std::vector<std::string> notes;
};

// Either a log or the reason it cannot be read, naming the line (1 is the
// header) and, where it helps, the column.
struct LogReadResult {
    std::optional<RideLog> log;
    std::string error;
};

// Reads the text of a ride log. The header must name exactly the columns
// this program writes; every row must carry a number of the right form in
// each column (or "error" where the unit reported a faulty sensor), a cell
// inside the map and times that do not go back. CR LF line ends are read
// too; blanks at the end of a line are not part of it. A last line without its line end is what a
// power cut leaves: it is dropped with a note.
LogReadResult parseRideLog(std::string_view text);

// Reads a ride log file; a file that cannot be read is reported like a
// damaged one.
LogReadResult readRideLog(const std::string& path);

}  // namespace zelvor::datalog
