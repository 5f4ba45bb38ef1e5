#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "link/link_frame.h"
#include "link/serial_port.h"
#include "link/transfer_engine.h"

namespace zelvor::link::testing {

// Keeps every frame the engine sends.
class RecordingSink : public FrameSink {
  public:
    void send(const LinkFrame& frame) override { frames.push_back(frame); }

    // Frames sent with this command byte.
    int count(std::uint8_t command) const {
        return static_cast<int>(
            std::count_if(frames.begin(), frames.end(),
                          [&](const LinkFrame& f) { return f.command() == command; }));
    }

    std::vector<LinkFrame> frames;
};

// A serial port whose received bytes the test queues; it records every read
// and every written frame.
class FakeSerialPort : public SerialPort {
  public:
    bool open(const std::string&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    std::size_t queuedBytes() override { return incoming.size(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), incoming.size());
        std::copy_n(incoming.begin(), n, buffer.begin());
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n));
        reads.push_back(n);
        return n;
    }
    bool write(std::span<const std::uint8_t> frame) override {
        written.emplace_back(frame.begin(), frame.end());
        return true;
    }
    void purgeInput() override { incoming.clear(); }

    void queue(const LinkFrame& frame) {
        incoming.insert(incoming.end(), frame.bytes().begin(), frame.bytes().end());
    }

    std::deque<std::uint8_t> incoming;
    std::vector<std::size_t> reads;
    std::vector<std::vector<std::uint8_t>> written;
    bool open_ = true;
};

// A monitor answer built by frame offset (byte 0 is the command byte); the
// check byte is set when the frame is taken.
class MonitorFrameBuilder {
  public:
    MonitorFrameBuilder() {
        frame_.bytes()[0] = LinkFrame::kMonitorAnswer;
        frame_.bytes()[150] = 63;
    }
    MonitorFrameBuilder& byte(std::size_t offset, std::uint8_t value) {
        frame_.bytes()[offset] = value;
        return *this;
    }
    MonitorFrameBuilder& word(std::size_t offset, std::uint16_t value) {
        frame_.setWord(offset, value);
        return *this;
    }
    MonitorFrameBuilder& bit(std::size_t offset, int bit, bool set) {
        std::uint8_t& b = frame_.bytes()[offset];
        if (set) {
            b = static_cast<std::uint8_t>(b | (1u << bit));
        } else {
            b = static_cast<std::uint8_t>(b & ~(1u << bit));
        }
        return *this;
    }
    LinkFrame frame() const {
        LinkFrame f = frame_;
        f.seal();
        return f;
    }

  private:
    LinkFrame frame_;
};

// An answer of the unit to a request: command XOR 0x80 and the given data.
inline LinkFrame answer(std::uint8_t requestCommand, std::span<const std::uint8_t> data) {
    return LinkFrame::make(static_cast<std::uint8_t>(requestCommand ^ LinkFrame::kAnswerBit), data);
}

// An information block with an identification and the given program version.
inline std::array<std::uint8_t, 150> infoBlock(std::uint8_t version) {
    std::array<std::uint8_t, 150> info{};
    info[0] = 'A';
    info[1] = 'B';
    info[2] = 'C';
    info[3] = 7;
    info[4] = 25;
    info[5] = 13;
    info[6] = 2;
    info[7] = 14;
    info[8] = 5;
    info[10] = version;
    return info;
}

}  // namespace zelvor::link::testing
