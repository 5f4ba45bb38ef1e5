#include "datalog/log_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "datalog/log_format.h"

namespace zelvor::datalog {

namespace {

std::string systemError(std::string_view what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

LogWriter::~LogWriter() {
    close();
}

bool LogWriter::open(const std::string& path) {
    close();
    path_ = path;
    error_.clear();
    rows_ = 0;
    bytes_ = 0;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error_ = systemError("cannot create", path);
        return false;
    }
    return writeLine(logHeader());
}

bool LogWriter::append(const LogRow& row) {
    if (fd_ < 0) {
        if (error_.empty()) error_ = "the log is not open";
        return false;
    }
    std::string line = logLine(row);
    if (line.size() + 1 > kMaxLineBytes) {
        LogRow shorter = row;
        std::string& marker = shorter.marker;
        while (!marker.empty() && line.size() + 1 > kMaxLineBytes) {
            // Whole characters only: no byte of a UTF-8 sequence stays behind.
            std::size_t cut =
                marker.size() - std::min(marker.size(), line.size() + 1 - kMaxLineBytes);
            while (cut > 0 && (static_cast<unsigned char>(marker[cut]) & 0xC0) == 0x80) --cut;
            marker.resize(cut);
            line = logLine(shorter);
        }
    }
    if (!writeLine(std::move(line))) return false;
    ++rows_;
    return true;
}

bool LogWriter::writeLine(std::string line) {
    // Keep the next line inside one page: pad this one to its page's end
    // when too little of the page would be left.
    const std::size_t offset = static_cast<std::size_t>(bytes_) % kPageBytes;
    const std::size_t end = offset + line.size() + 1;
    if (end < kPageBytes && kPageBytes - end < kMaxLineBytes) line.append(kPageBytes - end, ' ');
    line += '\n';
    ssize_t written = 0;
    do {
        written = ::write(fd_, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(line.size())) {
        bytes_ += written;
        return true;
    }
    // A full disk takes part of a line: take it back, so that the log still
    // ends with a whole line.
    error_ = written < 0 ? systemError("cannot write", path_)
                         : "cannot write " + path_ + ": the disk is full";
    if (written > 0) {
        if (::ftruncate(fd_, bytes_) != 0 || ::lseek(fd_, bytes_, SEEK_SET) < 0) {
            error_ += " (the last line is incomplete)";
        }
    }
    return false;
}

bool LogWriter::close() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) {
        error_ = systemError("cannot close", path_);
        return false;
    }
    return true;
}

}  // namespace zelvor::datalog
