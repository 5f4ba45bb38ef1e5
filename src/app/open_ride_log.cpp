#include "app/open_ride_log.h"

namespace zelvor::app {

void OpenRideLog::startRecording(const QString& path) {
    rows_.clear();
    // About two hours at 18 rows a second without moving the rows.
    rows_.reserve(130'000);
    source_ = Source::Recording;
    path_ = path;
    emit rowsChanged();
}

void OpenRideLog::appendRecorded(const datalog::LogRow& row) {
    if (source_ != Source::Recording) return;
    rows_.push_back(row);
    emit rowsChanged();
}

void OpenRideLog::endRecording() {
    if (source_ == Source::Recording) source_ = Source::File;
}

void OpenRideLog::openFile(const QString& path, std::vector<datalog::LogRow> rows) {
    rows_ = std::move(rows);
    source_ = Source::File;
    path_ = path;
    emit rowsChanged();
}

}  // namespace zelvor::app
