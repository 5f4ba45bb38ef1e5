#include "app/open_ride_log.h"

#include "datalog/log_reader.h"

namespace zelvor::app {

void OpenRideLog::startRecording(const QString& path) {
    rows_.clear();
    rows_.shrink_to_fit();
    count_ = 0;
    keeping_ = false;
    source_ = Source::Recording;
    path_ = path;
    emit rowsChanged();
}

void OpenRideLog::keepRecordedRows() {
    // A file's rows are kept when it is opened; a recording's, running or
    // ended, only from the first time something looks at them.
    if (source_ == Source::None || keeping_) return;
    keeping_ = true;
    // Every row is in the file as soon as it is recorded.
    datalog::LogReadResult read = datalog::readRideLog(path_.toStdString());
    if (read.log) rows_ = std::move(read.log->rows);
}

void OpenRideLog::appendRecorded(const datalog::LogRow& row) {
    if (source_ != Source::Recording) return;
    ++count_;
    if (keeping_) rows_.push_back(row);
    emit rowsChanged();
}

void OpenRideLog::endRecording() {
    if (source_ == Source::Recording) source_ = Source::File;
}

void OpenRideLog::openFile(const QString& path, std::vector<datalog::LogRow> rows) {
    rows_ = std::move(rows);
    count_ = rows_.size();
    keeping_ = true;
    source_ = Source::File;
    path_ = path;
    emit rowsChanged();
}

}  // namespace zelvor::app
