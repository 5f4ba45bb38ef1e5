#include "datalog/log_row.h"

#include <algorithm>
#include <cmath>

#include "link/operating_point.h"

namespace zelvor::datalog {

namespace {

using link::LiveMap;
using model::Field;

constexpr std::array<LiveMap, kLoggedMaps> kMaps = {LiveMap::Advance, LiveMap::Injection1,
                                                    LiveMap::Injection2};
constexpr std::array<Field, kLoggedMaps> kAxes = {Field::RPM_ADV_Rpm, Field::RPM_JET_1A_Rpm,
                                                  Field::RPM_JET_2A_Rpm};

std::array<int, model::kMapColumns> rpmAxis(const model::ParameterImage& image, Field field) {
    std::array<int, model::kMapColumns> axis{};
    for (int i = 0; i < model::kMapColumns; ++i) axis[i] = image.get(field, i) * 100;
    return axis;
}

}  // namespace

std::uint16_t positionInCell(std::span<const int> axis, int index, double value) {
    constexpr auto kCentre = static_cast<std::uint16_t>(LitCell::kCentre);
    const auto n = static_cast<int>(axis.size());
    if (n < 2 || index < 0 || index >= n) return kCentre;
    const double point = axis[index];
    // Half the distance to each neighbour; an outer cell mirrors its inner half.
    const double below = index > 0 ? (point - axis[index - 1]) / 2.0 : (axis[1] - axis[0]) / 2.0;
    const double above =
        index + 1 < n ? (axis[index + 1] - point) / 2.0 : (axis[n - 1] - axis[n - 2]) / 2.0;
    // Each half of the cell spans half the scale, so the axis point is at
    // the centre however unevenly the points are spaced.
    const double half = value < point ? below : above;
    if (half <= 0.0) return kCentre;
    const double share = std::clamp(0.5 + (value - point) / half / 2.0, 0.0, 1.0);
    return static_cast<std::uint16_t>(std::lround(share * LitCell::kWhole));
}

LogRow makeLogRow(const link::MonitorSample& sample, const link::LiveValues& live,
                  const model::ParameterImage& image, std::int64_t timeMs, std::string marker) {
    LogRow row;
    row.timeMs = timeMs;
    for (const link::ChannelSpec& spec : link::monitorChannels()) {
        const auto i = static_cast<std::size_t>(spec.channel);
        const bool shownAsError =
            sample.fault(spec.channel) && spec.fault.shown == link::FaultShown::Error;
        row.error[i] = shownAsError;
        row.values[i] = shownAsError ? 0 : sample.shownValue(spec.channel);
    }
    for (const link::FlagSpec& spec : link::monitorFlags()) {
        row.flags[static_cast<std::size_t>(spec.flag)] = sample.active(spec.flag);
    }
    // The throttle with its tenths digit places the sample inside its row.
    const double throttle = sample.real(link::MonitorChannel::Throttle);
    for (std::size_t m = 0; m < kLoggedMaps; ++m) {
        const link::MapOperatingPoint point = link::mapOperatingPoint(kMaps[m], live, image);
        LitCell& cell = row.cells[m];
        cell.row = static_cast<std::uint8_t>(point.cell.row);
        cell.column = static_cast<std::uint8_t>(point.cell.column);
        const auto axis = rpmAxis(image, kAxes[m]);
        cell.columnPosition = positionInCell(axis, point.cell.column, live.engineSpeed);
        // A row the unit uses whatever the throttle is used at its centre.
        cell.rowPosition = point.cell.row == point.throttleRow
                               ? positionInCell(link::kThrottleRows, point.cell.row, throttle)
                               : static_cast<std::uint16_t>(LitCell::kCentre);
    }
    row.marker = std::move(marker);
    return row;
}

}  // namespace zelvor::datalog
