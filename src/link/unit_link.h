#pragma once

#include <cstdint>
#include <vector>

#include "link/monitor_decoder.h"
#include "link/serial_port.h"
#include "link/transfer_engine.h"
#include "model/parameter_image.h"

namespace zelvor::link {

// The unit link as the window and the command line drive it: the port, the
// transfer engine and the monitor decoder. Call tick() every 55 ms.
class UnitLink {
  public:
    static constexpr std::size_t kMaxBatch = 15000;  // most bytes one poll reads

    UnitLink(model::ParameterImage& image, SerialPort& port);
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // Receives one batch if a whole frame can be there, then advances the
    // transfer or polls the monitor, the status display and the watchdog.
    // Returns what the transfer did for the caller to act on.
    TransferOutcome tick();

    // Reads what is queued (at most 15000 bytes) once at least 152 bytes are
    // there and hands the first 152 to the monitor decoder (0xB0) or the
    // transfer engine. Bytes after the first frame of a batch are dropped.
    TransferOutcome pollReceive();

    TransferEngine& transfer() { return engine_; }
    const TransferEngine& transfer() const { return engine_; }
    MonitorDecoder& monitor() { return decoder_; }
    const MonitorDecoder& monitor() const { return decoder_; }

  private:
    class PortSink : public FrameSink {
      public:
        explicit PortSink(SerialPort& port) : port_(port) {}
        // A failed write is not reported: the retry count of the transfer
        // and the watchdog cover it.
        void send(const LinkFrame& frame) override { port_.write(frame.bytes()); }

      private:
        SerialPort& port_;
    };

    SerialPort& port_;
    PortSink sink_;
    TransferEngine engine_;
    MonitorDecoder decoder_;
    std::vector<std::uint8_t> receiveBuffer_;
};

}  // namespace zelvor::link
