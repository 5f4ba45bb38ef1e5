#pragma once

#include <string>
#include <string_view>

#include "datalog/log_row.h"

namespace zelvor::datalog {

// Writes a ride log line by line: each line, header included, leaves in one
// write to the file, and every line is in the file (not in a buffer of this
// process) as soon as append() returns. The system copies a write into the
// file page by page and a killed process stops between pages, so no line
// crosses a page boundary: a line after which less than kMaxLineBytes of its
// page is left is padded with blanks to the page's end (the reader ignores
// blanks at the end of a line). A process killed at any moment thus leaves
// only whole lines. A line the disk takes only in part is cut off again and
// reported.
class LogWriter {
  public:
    static constexpr std::size_t kPageBytes = 4096;  // pages are multiples of it
    // The longest line: a row's marker is shortened to keep within it.
    static constexpr std::size_t kMaxLineBytes = 640;

    LogWriter() = default;
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // Creates or replaces the file and writes the header. False with
    // error() set when it cannot.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    // Appends one row. False with error() set when the line could not be
    // written whole; the file then ends after the last whole line.
    bool append(const LogRow& row);
    // Closes the file; false when it could not be closed cleanly.
    bool close();

    long long rowsWritten() const { return rows_; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

  private:
    bool writeLine(std::string line);

    int fd_ = -1;
    long long rows_ = 0;
    long long bytes_ = 0;  // length of the whole lines in the file
    std::string path_;
    std::string error_;
};

}  // namespace zelvor::datalog
