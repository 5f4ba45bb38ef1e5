#pragma once

#include <cstdint>
#include <string>

#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "datalog/log_row.h"

namespace zelvor::testing {

// A log row of a warm engine held in one cell of both injection maps, at the
// cell's centre, built field by field.
class RowBuilder {
  public:
    RowBuilder() {
        set(link::MonitorChannel::EngineSpeed, 4000);
        set(link::MonitorChannel::Throttle, 200);  // 20.0 %
        set(link::MonitorChannel::Coolant, 90);
        set(link::MonitorChannel::TimeSinceStart, 6000);  // 600.0 s
        set(link::MonitorChannel::Lambda, 450);
        set(link::MonitorChannel::UnitVersion, 63);
        cell(4, 3);
    }
    RowBuilder& at(std::int64_t ms) {
        row_.timeMs = ms;
        return *this;
    }
    RowBuilder& set(link::MonitorChannel channel, std::int32_t value) {
        row_.values[static_cast<std::size_t>(channel)] = value;
        return *this;
    }
    RowBuilder& error(link::MonitorChannel channel) {
        row_.values[static_cast<std::size_t>(channel)] = 0;
        row_.error[static_cast<std::size_t>(channel)] = true;
        return *this;
    }
    RowBuilder& lambda(std::int32_t mv) { return set(link::MonitorChannel::Lambda, mv); }
    RowBuilder& throttleTenths(std::int32_t tenths) {
        return set(link::MonitorChannel::Throttle, tenths);
    }
    // The same cell of both injection maps (and of the advance map).
    RowBuilder& cell(int row, int column, int rowPosition = datalog::LitCell::kCentre,
                     int columnPosition = datalog::LitCell::kCentre) {
        for (datalog::LitCell& c : row_.cells) {
            c.row = static_cast<std::uint8_t>(row);
            c.column = static_cast<std::uint8_t>(column);
            c.rowPosition = static_cast<std::uint16_t>(rowPosition);
            c.columnPosition = static_cast<std::uint16_t>(columnPosition);
        }
        return *this;
    }
    RowBuilder& flag(link::MonitorFlag flag) {
        row_.flags[static_cast<std::size_t>(flag)] = true;
        return *this;
    }
    RowBuilder& marker(std::string text) {
        row_.marker = std::move(text);
        return *this;
    }
    const datalog::LogRow& row() const { return row_; }
    operator datalog::LogRow() const { return row_; }

  private:
    datalog::LogRow row_;
};

// A log text of rows, as the writer makes it.
inline std::string logText(const std::vector<datalog::LogRow>& rows) {
    std::string text = datalog::logHeader() + "\n";
    for (const datalog::LogRow& row : rows) text += datalog::logLine(row) + "\n";
    return text;
}

}  // namespace zelvor::testing
