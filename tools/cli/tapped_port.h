#pragma once

#include <span>
#include <string>

#include "link/link_frame.h"
#include "link/serial_port.h"

namespace zelvor::cli {

// Passes every call through to another port, counts the bytes read and keeps
// the first frame of the last batch read. The link reads at most once per
// tick and interprets only the first frame of a batch, so after a tick in
// which the monitor decoder accepted an answer, lastFrame() is that answer,
// raw numbers included.
class TappedPort final : public link::SerialPort {
  public:
    explicit TappedPort(link::SerialPort& port) : port_(port) {}

    bool open(const std::string& devicePath) override { return port_.open(devicePath); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::size_t queuedBytes() override { return port_.queuedBytes(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t got = port_.read(buffer);
        bytesRead_ += got;
        if (got >= link::LinkFrame::kSize) {
            lastFrame_ = link::LinkFrame::fromBytes(buffer.first<link::LinkFrame::kSize>());
        }
        return got;
    }
    bool write(std::span<const std::uint8_t> frame) override { return port_.write(frame); }
    void purgeInput() override { port_.purgeInput(); }

    const link::LinkFrame& lastFrame() const { return lastFrame_; }
    std::size_t bytesRead() const { return bytesRead_; }

  private:
    link::SerialPort& port_;
    link::LinkFrame lastFrame_;
    std::size_t bytesRead_ = 0;
};

}  // namespace zelvor::cli
