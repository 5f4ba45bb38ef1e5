#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "i18n/messages.h"
#include "link/link_frame.h"
#include "link/live_values.h"
#include "link/monitor_view.h"

namespace zelvor::cli {

// How the window shows a sensor fault the unit reports, and what marks it:
// the column's stored value at or below a limit, or a status bit.
struct SensorFault {
    int atOrBelow = -1;           // negative: the stored value marks no fault
    std::size_t flagOffset = 0;   // frame byte of the status bit
    std::uint8_t flagMask = 0;    // 0: no status bit marks a fault
    std::string_view shown = {};  // the cell for a fault
};

// One number of a monitor answer for data logging: the stored byte or word at
// a frame offset, times factor plus bias, printed with the given number of
// decimals (13800 with 3 decimals is 13.800).
struct MonitorColumn {
    std::string_view name;  // the CSV header
    std::size_t offset;     // frame offset; byte 0 is the command byte
    bool word;              // 16-bit little-endian word, else a byte
    int factor;
    int bias;
    int decimals;
    // Frame offset of a byte added in units of the last decimal (the
    // throttle's tenths digit); 0: none.
    std::size_t digitOffset = 0;
    SensorFault fault = {};
};

inline constexpr std::array<MonitorColumn, 20> kMonitorColumns = {{
    {"engine_speed_rpm", 48, true, 1, 0, 0},
    {"throttle_percent",
     9,
     false,
     10,
     0,
     1,
     28,
     {.flagOffset = 3, .flagMask = 0x80, .shown = "error"}},
    {"throttle_sensor_mv", 56, true, 1, 0, 0},
    {"advance1_deg", 10, false, 1, 0, 0},
    {"advance2_deg", 11, false, 1, 0, 0},
    {"injection1_us", 14, false, 100, 0, 0},
    {"injection2_us", 15, false, 100, 0, 0},
    {"coolant_c", 23, false, 1, -100, 0, 0, {.atOrBelow = 0, .shown = "error"}},
    {"air_c", 24, false, 1, -100, 0, 0, {.atOrBelow = 60, .shown = "50"}},
    {"pressure_kpa", 52, true, 1, 0, 1},
    {"lambda_mv", 58, true, 1, 0, 0},
    {"supply_v", 64, true, 1, 0, 3},
    {"fuel_mv", 44, true, 1, 0, 0},
    {"gear", 25, false, 1, 0, 0},
    {"speed_kmh", 116, true, 1, 0, 0},
    {"rpm_speed_ratio", 120, true, 1, 0, 1},
    {"time_since_start_s", 94, true, 1, 0, 1},
    {"saving_count", 148, true, 1, 0, 0},
    {"programming_count", 76, true, 1, 0, 0},
    {"unit_version", 150, false, 1, 0, 0},
}};

// "elapsed_s" followed by the column names, comma separated.
std::string csvHeader();

// One CSV row: the seconds since monitoring started, then every column.
std::string csvRow(const link::LinkFrame& frame, std::chrono::milliseconds elapsed);

// The cell of one column: the number, or for a sensor fault what the window
// shows ("error" for the coolant and the throttle, 50 for the air).
std::string cellText(const MonitorColumn& column, const link::LinkFrame& frame);

// The main live values as the window's labels show them, on one line:
// "RPM = 6000 | TP = 20 % | Advance = 28 ° | ...", and while the unit still
// saves, the bytes it has left.
std::string monitorLine(const link::MonitorView& view, const link::LiveValues& live,
                        const i18n::MessageTable& messages);

}  // namespace zelvor::cli
