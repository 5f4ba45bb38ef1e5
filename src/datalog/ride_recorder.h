#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "datalog/log_row.h"
#include "datalog/log_writer.h"
#include "link/live_values.h"
#include "link/monitor_channels.h"
#include "model/parameter_image.h"

namespace zelvor::datalog {

// A recording of a ride as the window makes it: one row per monitor answer
// into a log file, times counted from the start, markers set by the tuner
// carried by the next row. The caller gives the clock (milliseconds of a
// steady clock), so the recording is the same on every machine and in tests.
class RideRecorder {
  public:
    // Starts a new log file (replacing one of the same name). False with
    // error() set when it cannot be written.
    bool start(const std::string& path, std::int64_t nowMs);
    bool recording() const { return writer_.isOpen(); }

    // Appends the row of one monitor answer. False with error() set when the
    // disk did not take it: the recording has then stopped, and the file
    // ends after the last whole row.
    bool record(const link::MonitorSample& sample, const link::LiveValues& live,
                const model::ParameterImage& image, std::int64_t nowMs);
    // The row record() wrote last.
    const LogRow& lastRow() const { return last_; }

    // The next row carries this marker; markers set before it are joined.
    void mark(std::string_view text);

    // Ends the recording; false with error() set when the file could not
    // be closed cleanly.
    bool stop();

    long long rows() const { return writer_.rowsWritten(); }
    std::int64_t elapsedMs(std::int64_t nowMs) const { return nowMs - startMs_; }
    const std::string& path() const { return writer_.path(); }
    const std::string& error() const { return error_; }

  private:
    LogWriter writer_;
    std::int64_t startMs_ = 0;
    std::string marker_;
    LogRow last_;
    std::string error_;
};

// The name of a new log file: local date and time of its start, then the
// name of the tune file without folder and extension ("untitled" without
// one), e.g. "2026-05-14_09-30-12_street.csv". Characters other than
// letters, digits, '-', '_' and '.' become '_'.
std::string rideLogFileName(const std::tm& localStart, std::string_view tuneFile);

}  // namespace zelvor::datalog
