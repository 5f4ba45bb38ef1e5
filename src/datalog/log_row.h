#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/live_values.h"
#include "link/monitor_channels.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::datalog {

// The three maps whose lit cell a log row keeps, in column order.
inline constexpr std::size_t kLoggedMaps = 3;
inline constexpr std::array<std::string_view, kLoggedMaps> kLoggedMapNames = {"advance", "inj1",
                                                                              "inj2"};

// The cell of a map the unit ran at, and where inside it along each axis,
// in thousandths: 0 at the cell's lower edge, 500 at its axis point, 1000 at
// its upper edge, each half of the cell spanning half the scale (the edges
// lie half way to the neighbouring points; an outer cell is as wide on its
// open side as on the other).
struct LitCell {
    static constexpr int kCentre = 500;
    static constexpr int kWhole = 1000;

    std::uint8_t row = 0;     // 0..9
    std::uint8_t column = 0;  // 0..14
    std::uint16_t rowPosition = kCentre;
    std::uint16_t columnPosition = kCentre;

    friend bool operator==(const LitCell&, const LitCell&) = default;
};

// One row of a ride log: what one monitor answer said, when, where in the
// maps the engine ran, and an optional marker the tuner set.
struct LogRow {
    std::int64_t timeMs = 0;  // since the start of the log
    // Every monitor channel in units of its last decimal, as the channel
    // table scales it and the window shows it (a broken air sensor shows
    // its fixed value). A reading the window shows as "error" has its bit
    // in `error` and the value 0.
    std::array<std::int32_t, link::kMonitorChannelCount> values{};
    std::bitset<link::kMonitorChannelCount> error;
    std::array<LitCell, kLoggedMaps> cells{};
    std::bitset<link::kMonitorFlagCount> flags;
    std::string marker;

    std::int32_t value(link::MonitorChannel channel) const {
        return values[static_cast<std::size_t>(channel)];
    }
    bool fault(link::MonitorChannel channel) const {
        return error[static_cast<std::size_t>(channel)];
    }
    const LitCell& cell(std::size_t map) const { return cells[map]; }

    friend bool operator==(const LogRow&, const LogRow&) = default;
};

// The log row of one monitor answer; the lit cells follow the axes of the
// image the unit runs.
LogRow makeLogRow(const link::MonitorSample& sample, const link::LiveValues& live,
                  const model::ParameterImage& image, std::int64_t timeMs, std::string marker = {});

// The position of a value inside the cell of axis point `index`, in
// thousandths (see LitCell).
std::uint16_t positionInCell(std::span<const int> axis, int index, double value);

}  // namespace zelvor::datalog
