#include "datalog/log_reader.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include "datalog/log_format.h"
#include "model/injection.h"

namespace zelvor::datalog {

namespace {

// A field that does not fit its column.
struct FieldError {
    std::size_t column = 0;  // 0-based
    std::string message;
};

// Splits a line at its commas; the last field (the marker) may be quoted.
// Returns false when a quoted marker is not closed or text follows it.
bool splitFields(std::string_view line, std::vector<std::string_view>& fields, std::string& marker,
                 std::string& problem) {
    fields.clear();
    marker.clear();
    std::size_t start = 0;
    while (true) {
        if (fields.size() + 1 == logColumnCount() && start < line.size() && line[start] == '"') {
            // The quoted marker: doubled quotes stand for one.
            std::size_t i = start + 1;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        marker += '"';
                        i += 2;
                        continue;
                    }
                    break;
                }
                marker += line[i++];
            }
            if (i >= line.size()) {
                problem = "the quoted marker is not closed";
                return false;
            }
            if (i + 1 != line.size()) {
                problem = "text after the quoted marker";
                return false;
            }
            fields.push_back(line.substr(start, i + 1 - start));
            return true;
        }
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            if (fields.size() == logColumnCount()) marker = std::string(fields.back());
            return true;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

// A decimal number with at most `decimals` digits after the point, scaled
// to units of its last decimal.
std::optional<std::int64_t> fixedPoint(std::string_view text, int decimals) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    std::string_view whole = text;
    std::string_view fraction;
    if (const std::size_t point = text.find('.'); point != std::string_view::npos) {
        whole = text.substr(0, point);
        fraction = text.substr(point + 1);
        if (fraction.empty()) return std::nullopt;
    }
    if (whole.empty() || whole.size() > 12 || fraction.size() > static_cast<std::size_t>(decimals))
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : whole) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    for (int i = 0; i < decimals; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        int digit = 0;
        if (k < fraction.size()) {
            if (fraction[k] < '0' || fraction[k] > '9') return std::nullopt;
            digit = fraction[k] - '0';
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::optional<FieldError> parseRow(const std::vector<std::string_view>& fields, std::string marker,
                                   LogRow& row) {
    const std::vector<std::string>& names = logColumnNames();
    auto bad = [&](std::size_t column, std::string_view what) {
        return FieldError{column, "'" + std::string(fields[column]) + "' is not " +
                                      std::string(what) + " (" + names[column] + ")"};
    };
    const std::optional<std::int64_t> time = fixedPoint(fields[0], 0);
    if (!time || *time < 0) return bad(0, "a time in ms");
    row.timeMs = *time;

    for (const link::ChannelSpec& spec : link::monitorChannels()) {
        const auto i = static_cast<std::size_t>(spec.channel);
        const std::size_t column = kFirstChannelColumn + i;
        if (fields[column] == "error") {
            row.error[i] = true;
            row.values[i] = 0;
            continue;
        }
        const std::optional<std::int64_t> value = fixedPoint(fields[column], spec.decimals);
        if (!value || *value < -1'000'000'000 || *value > 1'000'000'000) {
            return bad(column,
                       "a number with at most " + std::to_string(spec.decimals) + " decimals");
        }
        row.error[i] = false;
        row.values[i] = static_cast<std::int32_t>(*value);
    }
    for (std::size_t m = 0; m < kLoggedMaps; ++m) {
        const std::size_t column = kFirstCellColumn + m * kCellColumnsPerMap;
        LitCell& cell = row.cells[m];
        const auto cellRow = fixedPoint(fields[column], 0);
        if (!cellRow || *cellRow < 0 || *cellRow >= model::kMapRows) {
            return bad(column, "a map row 0..9");
        }
        const auto cellColumn = fixedPoint(fields[column + 1], 0);
        if (!cellColumn || *cellColumn < 0 || *cellColumn >= model::kMapColumns) {
            return bad(column + 1, "a map column 0..14");
        }
        const auto rowPosition = fixedPoint(fields[column + 2], 3);
        if (!rowPosition || *rowPosition < 0 || *rowPosition > LitCell::kWhole) {
            return bad(column + 2, "a position 0..1");
        }
        const auto columnPosition = fixedPoint(fields[column + 3], 3);
        if (!columnPosition || *columnPosition < 0 || *columnPosition > LitCell::kWhole) {
            return bad(column + 3, "a position 0..1");
        }
        cell.row = static_cast<std::uint8_t>(*cellRow);
        cell.column = static_cast<std::uint8_t>(*cellColumn);
        cell.rowPosition = static_cast<std::uint16_t>(*rowPosition);
        cell.columnPosition = static_cast<std::uint16_t>(*columnPosition);
    }
    for (std::size_t f = 0; f < link::kMonitorFlagCount; ++f) {
        const std::size_t column = kFirstFlagColumn + f;
        if (fields[column] != "0" && fields[column] != "1") return bad(column, "0 or 1");
        row.flags[f] = fields[column] == "1";
    }
    row.marker = std::move(marker);
    return std::nullopt;
}

std::string lineError(std::size_t line, std::string_view message) {
    return "line " + std::to_string(line) + ": " + std::string(message);
}

}  // namespace

LogReadResult parseRideLog(std::string_view text) {
    LogReadResult result;
    RideLog log;
    std::vector<std::string_view> fields;
    fields.reserve(logColumnCount());
    std::string marker;
    std::string problem;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    if (text.starts_with("\xEF\xBB\xBF")) start = 3;  // a byte order mark from a spreadsheet
    log.rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));

    while (start < text.size()) {
        ++lineNumber;
        const std::size_t end = text.find('\n', start);
        const bool complete = end != std::string_view::npos;
        std::string_view line = text.substr(start, complete ? end - start : std::string_view::npos);
        start = complete ? end + 1 : text.size();
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // The writer pads lines with blanks to keep lines within pages.
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);

        if (lineNumber == 1) {
            if (line != logHeader()) {
                if (!splitFields(line, fields, marker, problem)) fields.clear();
                const std::vector<std::string>& names = logColumnNames();
                for (std::size_t i = 0; i < names.size(); ++i) {
                    if (i >= fields.size() || fields[i] != names[i]) {
                        result.error = lineError(
                            1, "not a ride log of this program: column " + std::to_string(i + 1) +
                                   " should be " + names[i] +
                                   (i < fields.size() ? ", not '" + std::string(fields[i]) + "'"
                                                      : ", but the header ends before it"));
                        return result;
                    }
                }
                result.error = lineError(1, "not a ride log of this program: the header has " +
                                                std::to_string(fields.size()) + " columns, not " +
                                                std::to_string(names.size()));
                return result;
            }
            if (!complete) {
                log.notes.push_back("the log holds no rows");
            }
            continue;
        }
        if (line.empty() && complete) {
            continue;  // blank lines carry nothing
        }
        LogRow row;
        std::optional<FieldError> fault;
        if (!splitFields(line, fields, marker, problem)) {
            fault = FieldError{logColumnCount() - 1, problem};
        } else if (fields.size() != logColumnCount()) {
            fault = FieldError{std::min(fields.size(), logColumnCount()) - 1,
                               std::to_string(fields.size()) + " columns instead of " +
                                   std::to_string(logColumnCount())};
        } else {
            fault = parseRow(fields, marker, row);
        }
        if (!complete) {
            // What a power cut leaves behind: the row may be cut anywhere.
            log.notes.push_back("line " + std::to_string(lineNumber) +
                                " is incomplete (the recording was cut off) and was left out");
            break;
        }
        if (fault) {
            result.error = lineError(
                lineNumber, "column " + std::to_string(fault->column + 1) + ": " + fault->message);
            return result;
        }
        if (!log.rows.empty() && row.timeMs < log.rows.back().timeMs) {
            result.error = lineError(lineNumber, "column 1: the time goes back from " +
                                                     std::to_string(log.rows.back().timeMs) +
                                                     " to " + std::to_string(row.timeMs) + " ms");
            return result;
        }
        log.rows.push_back(std::move(row));
    }
    if (lineNumber == 0) {
        result.error = "the file is empty: not a ride log";
        return result;
    }
    result.log = std::move(log);
    return result;
}

LogReadResult readRideLog(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return LogReadResult{std::nullopt, "cannot open " + path};
    // One read into a string of the file's size: a long log is tens of
    // megabytes, and copying it around costs more than reading it.
    const std::streamoff size = in.tellg();
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        in.read(text.data(), size);
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad() || size < 0) return LogReadResult{std::nullopt, "cannot read " + path};
    return parseRideLog(text);
}

}  // namespace zelvor::datalog
