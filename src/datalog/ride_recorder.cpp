#include "datalog/ride_recorder.h"

#include <array>
#include <cstdio>

namespace zelvor::datalog {

bool RideRecorder::start(const std::string& path, std::int64_t nowMs) {
    if (writer_.isOpen()) writer_.close();
    error_.clear();
    marker_.clear();
    if (!writer_.open(path)) {
        error_ = writer_.error();
        return false;
    }
    startMs_ = nowMs;
    return true;
}

bool RideRecorder::record(const link::MonitorSample& sample, const link::LiveValues& live,
                          const model::ParameterImage& image, std::int64_t nowMs) {
    if (!writer_.isOpen()) return false;
    last_ = makeLogRow(sample, live, image, elapsedMs(nowMs), marker_);
    if (!writer_.append(last_)) {
        error_ = writer_.error();
        writer_.close();
        return false;
    }
    marker_.clear();
    return true;
}

void RideRecorder::mark(std::string_view text) {
    if (!marker_.empty()) marker_ += "; ";
    marker_ += text;
}

bool RideRecorder::stop() {
    if (!writer_.isOpen()) return error_.empty();
    if (!writer_.close()) {
        error_ = writer_.error();
        return false;
    }
    return true;
}

std::string rideLogFileName(const std::tm& localStart, std::string_view tuneFile) {
    std::array<char, 32> stamp{};
    std::strftime(stamp.data(), stamp.size(), "%Y-%m-%d_%H-%M-%S", &localStart);
    std::string_view base = tuneFile;
    if (const auto slash = base.find_last_of("/\\"); slash != std::string_view::npos) {
        base.remove_prefix(slash + 1);
    }
    if (const auto dot = base.find_last_of('.'); dot != std::string_view::npos && dot > 0) {
        base = base.substr(0, dot);
    }
    std::string name = base.empty() ? std::string("untitled") : std::string(base);
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!plain) c = '_';
    }
    return std::string(stamp.data()) + "_" + name + ".csv";
}

}  // namespace zelvor::datalog
