#include "link/posix_serial_port.h"

#include "link/link_frame.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace zelvor::link {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Time the driver may need beyond the bytes' own time on the line.
constexpr milliseconds kWriteMargin{50};
// Ten bits per byte on the line: start bit, eight data bits, stop bit.
constexpr int kBitsPerByte = 10;

// Errors after which the device is gone for good: an unplugged USB adapter
// answers EIO, ENXIO or ENODEV, a hung-up terminal EIO.
bool meansDeviceLost(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EBADF || error == EPIPE;
}

bool hangupReported(short revents) {
    return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::string describe(int error) {
    return error == 0 ? std::string("device disconnected") : std::string(std::strerror(error));
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

// Raw 57600 baud 8N1: no echo, no line editing, no character translation, no
// hardware or software flow control, modem lines ignored. A non-blocking read
// then reports EAGAIN when nothing is queued and 0 only on hang-up.
termios rawLineSettings(termios settings) {
    cfmakeraw(&settings);
    settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, B57600);
    cfsetospeed(&settings, B57600);
    return settings;
}

}  // namespace

PosixSerialPort::~PosixSerialPort() {
    close();
}

std::chrono::milliseconds PosixSerialPort::writeTimeLimit(std::size_t bytes) {
    const auto lineMs = (bytes * kBitsPerByte * 1000 + kBaudRate - 1) / kBaudRate;
    return milliseconds(static_cast<long long>(lineMs)) + kWriteMargin;
}

bool PosixSerialPort::open(const std::string& devicePath) {
    close();
    lastError_.clear();
    lastReason_.clear();
    devicePath_ = devicePath;

    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(describe(errno));
        return false;
    }
    termios found{};
    if (!isatty(fd) || tcgetattr(fd, &found) != 0) {
        fail("not a serial device");
        ::close(fd);
        return false;
    }
    // Exclusive use; a pseudo-terminal may refuse, which does no harm.
    (void)ioctl(fd, TIOCEXCL);

    const termios wanted = rawLineSettings(found);
    termios applied{};
    if (tcsetattr(fd, TCSANOW, &wanted) != 0 || tcgetattr(fd, &applied) != 0 ||
        cfgetospeed(&applied) != B57600) {
        fail("cannot set 57600 baud 8N1");
        (void)tcsetattr(fd, TCSANOW, &found);
        (void)ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    // Raise DTR and RTS for adapters that power the line from them; a
    // pseudo-terminal has no modem lines and rejects this.
    int modemLines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd, TIOCMBIS, &modemLines);
    (void)tcflush(fd, TCIOFLUSH);

    savedSettings_ = found;
    fd_ = fd;
    return true;
}

void PosixSerialPort::close() {
    if (fd_ < 0) return;
    // The last frame may still be leaving: let it, within its line time.
    (void)waitUntilSent(Clock::now() + writeTimeLimit(LinkFrame::kSize));
    if (fd_ < 0) return;
    (void)tcflush(fd_, TCIFLUSH);
    (void)tcsetattr(fd_, TCSANOW, &savedSettings_);
    // The exclusive flag outlives this descriptor on a terminal that stays
    // open elsewhere; clear it so the device can be opened again.
    (void)ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

void PosixSerialPort::fail(std::string reason) {
    lastReason_ = std::move(reason);
    lastError_ = devicePath_ + ": " + lastReason_;
}

void PosixSerialPort::closeLost(const char* operation, int error) {
    fail(std::string(operation) + ": " + describe(error));
    ::close(fd_);
    fd_ = -1;
}

bool PosixSerialPort::handleError(const char* operation, int error) {
    if (!meansDeviceLost(error)) return false;
    closeLost(operation, error);
    return true;
}

std::size_t PosixSerialPort::queuedBytes() {
    if (fd_ < 0) return 0;
    pollfd watch{fd_, POLLIN, 0};
    if (::poll(&watch, 1, 0) > 0 && hangupReported(watch.revents)) {
        closeLost("poll", 0);
        return 0;
    }
    int queued = 0;
    if (ioctl(fd_, FIONREAD, &queued) != 0) {
        handleError("FIONREAD", errno);
        return 0;
    }
    return queued > 0 ? static_cast<std::size_t>(queued) : 0;
}

std::size_t PosixSerialPort::read(std::span<std::uint8_t> buffer) {
    std::size_t got = 0;
    while (fd_ >= 0 && got < buffer.size()) {
        const ssize_t n = ::read(fd_, buffer.data() + got, buffer.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            closeLost("read", 0);  // end of file on a terminal: hung up
        } else if (errno == EINTR) {
            continue;
        } else {
            handleError("read", errno);
            break;  // EAGAIN: nothing more queued
        }
    }
    return got;
}

// One frame at a time: a frame still leaving (a slow or stuck line) gets its
// time first, bounded. The new frame is then handed to the driver, which puts
// it on the wire while the caller goes on, so a tick is not held up for the
// 26 ms the bytes take at 57600 baud.
bool PosixSerialPort::write(std::span<const std::uint8_t> frame) {
    if (fd_ < 0) return false;
    const auto deadline = Clock::now() + writeTimeLimit(frame.size());
    if (!waitUntilSent(deadline)) return false;
    std::size_t sent = 0;
    while (sent < frame.size()) {
        const ssize_t n = ::write(fd_, frame.data() + sent, frame.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            handleError("write", errno);
            return false;
        }
        // Transmit buffer full: wait for room, but not past the deadline.
        pollfd watch{fd_, POLLOUT, 0};
        const int ready = ::poll(&watch, 1, remainingMs(deadline));
        if (ready > 0 && hangupReported(watch.revents)) {
            closeLost("write", 0);
            return false;
        }
        if (ready == 0 || Clock::now() >= deadline) {
            (void)tcflush(fd_, TCOFLUSH);
            return false;
        }
    }
    return true;
}

// Waits until the driver's transmit queue is empty. tcdrain() could block
// for ever on a stuck device, so the queue is watched with a deadline instead.
bool PosixSerialPort::waitUntilSent(Clock::time_point deadline) {
    while (fd_ >= 0) {
        int pending = 0;
        if (ioctl(fd_, TIOCOUTQ, &pending) != 0) {
            // A driver that cannot tell has taken the bytes; a lost one is closed.
            return !handleError("TIOCOUTQ", errno);
        }
        if (pending <= 0) return true;
        if (Clock::now() >= deadline) {
            (void)tcflush(fd_, TCOFLUSH);
            return false;
        }
        const auto lineTime = milliseconds(pending * kBitsPerByte * 1000 / kBaudRate + 1);
        std::this_thread::sleep_for(std::min<milliseconds>(
            lineTime, milliseconds(remainingMs(deadline)) + milliseconds(1)));
    }
    return false;
}

void PosixSerialPort::purgeInput() {
    if (fd_ < 0) return;
    if (tcflush(fd_, TCIFLUSH) != 0) handleError("purge", errno);
}

}  // namespace zelvor::link
