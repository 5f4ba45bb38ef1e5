#pragma once

#include <array>
#include <chrono>
#include <string>

#include "editing/monitor_view.h"
#include "i18n/messages.h"
#include "link/live_values.h"
#include "link/monitor_channels.h"
#include "model/parameter_image.h"

namespace zelvor::cli {

// The header of the ride log: time_ms, every monitor channel, the lit cell
// of each map, the unit's flags and the marker.
std::string csvHeader();

// One ride log row for an answer: the milliseconds since monitoring started,
// every channel's value (for a sensor fault what the window shows: "error"
// for the coolant and the throttle, 50 for the air), the lit cells after the
// axes of `axes`, the flags, and an empty marker.
std::string csvRow(const link::MonitorSample& sample, const link::LiveValues& live,
                   const model::ParameterImage& axes, std::chrono::milliseconds elapsed);

// The main live values as the window's labels show them, on one line:
// "RPM = 6000 | TP = 20 % | Advance = 28 ° | ...", and while the unit still
// saves, the bytes it has left.
std::string monitorLine(const editing::MonitorView& view, const link::LiveValues& live,
                        const i18n::MessageTable& messages);

}  // namespace zelvor::cli
