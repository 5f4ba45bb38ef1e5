#pragma once

#include <array>
#include <chrono>
#include <string>

#include "editing/monitor_view.h"
#include "i18n/messages.h"
#include "link/live_values.h"
#include "link/monitor_channels.h"

namespace zelvor::cli {

// The channels of the CSV for data logging, in column order.
inline constexpr std::array<link::MonitorChannel, 20> kCsvChannels = {
    link::MonitorChannel::EngineSpeed,
    link::MonitorChannel::Throttle,
    link::MonitorChannel::ThrottleSensor,
    link::MonitorChannel::Advance1,
    link::MonitorChannel::Advance2,
    link::MonitorChannel::Injection1,
    link::MonitorChannel::Injection2,
    link::MonitorChannel::Coolant,
    link::MonitorChannel::Air,
    link::MonitorChannel::Pressure,
    link::MonitorChannel::Lambda,
    link::MonitorChannel::Supply,
    link::MonitorChannel::Fuel,
    link::MonitorChannel::Gear,
    link::MonitorChannel::RoadSpeed,
    link::MonitorChannel::SpeedRatio,
    link::MonitorChannel::TimeSinceStart,
    link::MonitorChannel::SavingCount,
    link::MonitorChannel::ProgramCount,
    link::MonitorChannel::UnitVersion,
};

// "elapsed_s" followed by the channel names, comma separated.
std::string csvHeader();

// One CSV row: the seconds since monitoring started, then every channel's
// value, or for a sensor fault what the window shows ("error" for the
// coolant and the throttle, 50 for the air).
std::string csvRow(const link::MonitorSample& sample, std::chrono::milliseconds elapsed);

// The main live values as the window's labels show them, on one line:
// "RPM = 6000 | TP = 20 % | Advance = 28 ° | ...", and while the unit still
// saves, the bytes it has left.
std::string monitorLine(const editing::MonitorView& view, const link::LiveValues& live,
                        const i18n::MessageTable& messages);

}  // namespace zelvor::cli
