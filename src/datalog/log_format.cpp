#include "datalog/log_format.h"

namespace zelvor::datalog {

namespace {

constexpr std::array<std::string_view, kCellColumnsPerMap> kCellParts = {
    "row", "column", "row_position", "column_position"};

std::vector<std::string> buildColumnNames() {
    std::vector<std::string> names;
    names.emplace_back("time_ms");
    for (const link::ChannelSpec& spec : link::monitorChannels()) names.emplace_back(spec.name);
    for (const std::string_view map : kLoggedMapNames) {
        for (const std::string_view part : kCellParts) {
            names.push_back(std::string(map) + "_" + std::string(part));
        }
    }
    for (const link::FlagSpec& spec : link::monitorFlags()) names.emplace_back(spec.name);
    names.emplace_back("marker");
    return names;
}

// The marker as one CSV field on one line.
void appendMarker(std::string& line, std::string_view marker) {
    // Blanks at the end of a line are padding to the reader: a marker that
    // ends in one keeps it inside quotes.
    bool quote =
        !marker.empty() && (marker.back() == ' ' || marker.back() == '\n' || marker.back() == '\r');
    for (const char c : marker) {
        if (c == ',' || c == '"' || c == '\n' || c == '\r') quote = true;
    }
    if (!quote) {
        line += marker;
        return;
    }
    line += '"';
    for (const char c : marker) {
        if (c == '"') {
            line += "\"\"";
        } else if (c == '\n' || c == '\r') {
            line += ' ';
        } else {
            line += c;
        }
    }
    line += '"';
}

}  // namespace

const std::vector<std::string>& logColumnNames() {
    static const std::vector<std::string> names = buildColumnNames();
    return names;
}

std::size_t logColumnCount() {
    return logColumnNames().size();
}

std::string logHeader() {
    std::string header;
    for (const std::string& name : logColumnNames()) {
        if (!header.empty()) header += ',';
        header += name;
    }
    return header;
}

std::string logLine(const LogRow& row) {
    std::string line = std::to_string(row.timeMs);
    line.reserve(320);
    for (const link::ChannelSpec& spec : link::monitorChannels()) {
        line += ',';
        if (row.fault(spec.channel)) {
            line += "error";
        } else {
            line += link::decimalText(row.value(spec.channel), spec.decimals);
        }
    }
    for (const LitCell& cell : row.cells) {
        line += ',';
        line += std::to_string(cell.row);
        line += ',';
        line += std::to_string(cell.column);
        line += ',';
        line += link::decimalText(cell.rowPosition, 3);
        line += ',';
        line += link::decimalText(cell.columnPosition, 3);
    }
    for (std::size_t i = 0; i < row.flags.size(); ++i) {
        line += row.flags[i] ? ",1" : ",0";
    }
    line += ',';
    appendMarker(line, row.marker);
    return line;
}

}  // namespace zelvor::datalog
