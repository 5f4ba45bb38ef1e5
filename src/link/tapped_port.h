#pragma once

#include <span>
#include <string>

#include "link/serial_port.h"

namespace zelvor::link {

// Passes every call through to another port and counts the bytes read, so a
// caller sees whether a poll of the link took an answer.
class TappedPort final : public SerialPort {
  public:
    explicit TappedPort(SerialPort& port) : port_(port) {}

    bool open(const std::string& devicePath) override { return port_.open(devicePath); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::size_t queuedBytes() override { return port_.queuedBytes(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t got = port_.read(buffer);
        bytesRead_ += got;
        return got;
    }
    bool write(std::span<const std::uint8_t> frame) override { return port_.write(frame); }
    void purgeInput() override { port_.purgeInput(); }

    std::size_t bytesRead() const { return bytesRead_; }

  private:
    SerialPort& port_;
    std::size_t bytesRead_ = 0;
};

}  // namespace zelvor::link
