#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "datalog/log_row.h"

namespace zelvor::app {

// The ride log the window works with: the one being recorded (growing with
// every answer) or the one opened last. Whatever shows or analyses a log
// reads it here and follows rowsChanged().
class OpenRideLog : public QObject {
    Q_OBJECT
  public:
    enum class Source { None, Recording, File };

    explicit OpenRideLog(QObject* parent = nullptr) : QObject(parent) {}

    // The rows in memory: a file's, or a recording's once something shows or
    // analyses it (keepRecordedRows); a recording nobody looks at is only
    // counted, so that a long one costs no memory.
    const std::vector<datalog::LogRow>& rows() const { return rows_; }
    // The rows of the log, recorded or read, whether kept or not.
    std::size_t rowCount() const { return count_; }
    // From now on the recording's rows are kept: those written so far are
    // read back from its file, whether the recording still runs or ended.
    void keepRecordedRows();
    Source source() const { return source_; }
    // The log file (being written, or read).
    const QString& path() const { return path_; }
    bool empty() const { return count_ == 0; }

    // A new recording into this file starts: no rows yet.
    void startRecording(const QString& path);
    void appendRecorded(const datalog::LogRow& row);
    // The recording ended; its rows stay the open log.
    void endRecording();
    // A log read from a file takes the place of what was open.
    void openFile(const QString& path, std::vector<datalog::LogRow> rows);

  signals:
    void rowsChanged();

  private:
    std::vector<datalog::LogRow> rows_;
    std::size_t count_ = 0;
    bool keeping_ = false;
    Source source_ = Source::None;
    QString path_;
};

}  // namespace zelvor::app
