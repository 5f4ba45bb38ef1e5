#include "logview/log_channels.h"

#include <cmath>
#include <limits>

namespace zelvor::logview {

const std::vector<link::MonitorChannel>& defaultChannels() {
    using C = link::MonitorChannel;
    static const std::vector<C> channels = {C::EngineSpeed, C::Throttle, C::Lambda, C::Coolant,
                                            C::Injection1};
    return channels;
}

QString channelTitle(link::MonitorChannel channel) {
    const link::ChannelSpec& spec = link::channelSpec(channel);
    const QString name =
        QString::fromUtf8(spec.name.data(), static_cast<qsizetype>(spec.name.size()));
    if (spec.unit.empty()) return name;
    return QStringLiteral("%1 (%2)").arg(
        name, QString::fromUtf8(spec.unit.data(), static_cast<qsizetype>(spec.unit.size())));
}

std::vector<double> channelValues(const std::vector<datalog::LogRow>& rows,
                                  link::MonitorChannel channel) {
    const auto index = static_cast<std::size_t>(channel);
    const double scale = std::pow(10.0, -link::channelSpec(channel).decimals);
    std::vector<double> values;
    values.reserve(rows.size());
    for (const datalog::LogRow& row : rows) {
        values.push_back(row.error[index] ? std::numeric_limits<double>::quiet_NaN()
                                          : row.values[index] * scale);
    }
    return values;
}

std::vector<double> rowTimes(const std::vector<datalog::LogRow>& rows) {
    std::vector<double> times;
    times.reserve(rows.size());
    for (const datalog::LogRow& row : rows)
        times.push_back(static_cast<double>(row.timeMs) / 1000.0);
    return times;
}

}  // namespace zelvor::logview
