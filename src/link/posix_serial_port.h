#pragma once

#include <termios.h>

#include <chrono>
#include <string>

#include "link/serial_port.h"

namespace zelvor::link {

// The serial line on a POSIX terminal device (USB adapter, built-in port or
// pseudo-terminal): raw 57600 baud 8N1 without flow control, non-blocking
// reads of what is queued, and writes that hand a frame to the driver once
// the previous one has left.
//
// A device that disappears while open (USB adapter unplugged, the other end of
// a pseudo-terminal closed) closes the port at the first error that says so;
// from then on every call fails quietly without touching the device again, so
// a caller polling every tick neither crashes, hangs nor spins on errors.
class PosixSerialPort final : public SerialPort {
  public:
    static constexpr int kBaudRate = 57600;

    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool open(const std::string& devicePath) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    std::size_t queuedBytes() override;
    std::size_t read(std::span<std::uint8_t> buffer) override;
    bool write(std::span<const std::uint8_t> frame) override;
    void purgeInput() override;

    // Why the last open failed or why the port closed itself; empty after a
    // successful open.
    const std::string& lastError() const { return lastError_; }
    // The same without the device: the system's reason alone.
    const std::string& lastReason() const { return lastReason_; }

    // Longest time write() waits for a frame of the given size to leave: its
    // time on the line plus a margin for the driver.
    static std::chrono::milliseconds writeTimeLimit(std::size_t bytes);

  private:
    // Remembers why the port failed, with and without the device.
    void fail(std::string reason);
    // Closes after an error that means the device is gone, remembering why.
    void closeLost(const char* operation, int error);
    // True (after closing the port) for errors that mean the device is gone.
    bool handleError(const char* operation, int error);
    bool waitUntilSent(std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
    termios savedSettings_{};
    std::string devicePath_;
    std::string lastError_;
    std::string lastReason_;
};

}  // namespace zelvor::link
