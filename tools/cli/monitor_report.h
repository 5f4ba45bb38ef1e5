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
    // A stored value at or below this is the unit's sensor fault mark: the
    // cell stays empty. Negative: no fault mark.
    int faultAtOrBelow;
};

inline constexpr std::array<MonitorColumn, 20> kMonitorColumns = {{
    {"engine_speed_rpm", 48, true, 1, 0, 0, -1},
    {"throttle_percent", 9, false, 1, 0, 0, -1},
    {"throttle_sensor_mv", 56, true, 1, 0, 0, -1},
    {"advance1_deg", 10, false, 1, 0, 0, -1},
    {"advance2_deg", 11, false, 1, 0, 0, -1},
    {"injection1_us", 14, false, 100, 0, 0, -1},
    {"injection2_us", 15, false, 100, 0, 0, -1},
    {"coolant_c", 23, false, 1, -100, 0, 0},
    {"air_c", 24, false, 1, -100, 0, 60},
    {"pressure_kpa", 52, true, 1, 0, 1, -1},
    {"lambda_mv", 58, true, 1, 0, 0, -1},
    {"supply_v", 64, true, 1, 0, 3, -1},
    {"fuel_mv", 44, true, 1, 0, 0, -1},
    {"gear", 25, false, 1, 0, 0, -1},
    {"speed_kmh", 116, true, 1, 0, 0, -1},
    {"rpm_speed_ratio", 120, true, 1, 0, 1, -1},
    {"time_since_start_s", 94, true, 1, 0, 1, -1},
    {"saving_count", 148, true, 1, 0, 0, -1},
    {"programming_count", 76, true, 1, 0, 0, -1},
    {"unit_version", 150, false, 1, 0, 0, -1},
}};

// "elapsed_s" followed by the column names, comma separated.
std::string csvHeader();

// One CSV row: the seconds since monitoring started, then every column.
std::string csvRow(const link::LinkFrame& frame, std::chrono::milliseconds elapsed);

// The cell of one column: the number, or empty for a sensor fault.
std::string cellText(const MonitorColumn& column, const link::LinkFrame& frame);

// The main live values as the window's labels show them, on one line:
// "RPM = 6000 | TP = 20 % | Advance = 28 ° | ...", and while the unit still
// saves, the bytes it has left.
std::string monitorLine(const link::MonitorView& view, const link::LiveValues& live,
                        const i18n::MessageTable& messages);

}  // namespace zelvor::cli
