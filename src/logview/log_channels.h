#pragma once

#include <QString>
#include <vector>

#include "datalog/log_row.h"
#include "link/monitor_channels.h"

namespace zelvor::logview {

// The channels shown when a log is opened: what a tuner looks at first.
const std::vector<link::MonitorChannel>& defaultChannels();

// "lambda_mv (mV)": the column name and its unit.
QString channelTitle(link::MonitorChannel channel);

// One channel of every row, in engineering units; a reading logged as
// "error" is not a number (a gap in the chart).
std::vector<double> channelValues(const std::vector<datalog::LogRow>& rows,
                                  link::MonitorChannel channel);

// The time of every row in seconds.
std::vector<double> rowTimes(const std::vector<datalog::LogRow>& rows);

}  // namespace zelvor::logview
