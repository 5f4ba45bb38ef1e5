#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "datalog/log_row.h"

namespace zelvor::datalog {

// The columns of a ride log, in order: time_ms; every monitor channel by its
// name in the channel table; per map (advance, inj1, inj2) its lit cell's
// row, column, row position and column position; every unit flag (0 or 1);
// the marker. The log file and `zelvor-cli monitor --csv` share them.
const std::vector<std::string>& logColumnNames();
std::size_t logColumnCount();

// The header line without its line end.
std::string logHeader();

// One row as a CSV line without its line end. Fixed-point numbers keep the
// channel's decimals; a reading the unit marks as faulty is written as the
// window shows it ("error", or the fixed value it shows); the marker is
// quoted when it holds a comma or a quote, and line breaks in it become
// blanks, so a row is always one line.
std::string logLine(const LogRow& row);

// Where the columns of each part begin.
inline constexpr std::size_t kFirstChannelColumn = 1;
inline constexpr std::size_t kFirstCellColumn = kFirstChannelColumn + link::kMonitorChannelCount;
inline constexpr std::size_t kCellColumnsPerMap = 4;
inline constexpr std::size_t kFirstFlagColumn = kFirstCellColumn + kLoggedMaps * kCellColumnsPerMap;
inline constexpr std::size_t kMarkerColumn = kFirstFlagColumn + link::kMonitorFlagCount;

}  // namespace zelvor::datalog
