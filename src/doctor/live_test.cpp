#include "doctor/live_test.h"

#include <cerrno>
#include <thread>

#include "link/link_frame.h"
#include "link/posix_serial_port.h"
#include "link/unit_link.h"
#include "model/parameter_image.h"

namespace zelvor::doctor {

namespace {

// Passes everything on to the real port and counts the bytes read, so that a
// line that carries something other than an answer can be told from a
// silent one.
class CountingPort final : public link::SerialPort {
  public:
    explicit CountingPort(link::SerialPort& port) : port_(port) {}

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
    link::SerialPort& port_;
    std::size_t bytesRead_ = 0;
};

}  // namespace

LiveTestResult runLiveTest(const std::string& devicePath, const LiveTestTiming& timing) {
    LiveTestResult result;
    link::PosixSerialPort port;
    errno = 0;
    if (!port.open(devicePath)) {
        result.openErrno = errno;
        result.openError = port.lastReason();
        return result;
    }
    result.opened = true;

    CountingPort counted(port);
    model::ParameterImage image;
    link::UnitLink unitLink(image, counted);
    counted.purgeInput();
    counted.write(link::LinkFrame::make(link::LinkFrame::kMonitorPoll).bytes());

    const std::uint32_t decodedBefore = unitLink.monitor().framesDecoded();
    while (result.ticksWaited < timing.ticks && port.isOpen()) {
        std::this_thread::sleep_for(timing.tick);
        ++result.ticksWaited;
        unitLink.pollReceive();
        if (unitLink.monitor().framesDecoded() != decodedBefore) {
            result.answered = true;
            result.unitVersion = unitLink.monitor().live().unitVersion;
            break;
        }
    }
    // Bytes still queued that did not make a whole frame count too.
    result.bytesReceived = counted.bytesRead() + port.queuedBytes();
    return result;
}

}  // namespace zelvor::doctor
