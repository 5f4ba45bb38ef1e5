#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zelvor::link {

// The serial line to the unit as the link layer needs it: 57600 baud 8N1,
// polled once per tick, one 152-byte frame written at a time. Every call on a
// port that is not open (or that broke, for example an unplugged USB adapter)
// fails quietly: nothing queued, nothing read, nothing written.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens the device exclusively and configures it; false when it cannot be
    // opened or configured (the port then stays closed).
    virtual bool open(const std::string& devicePath) = 0;
    // Purges pending input, restores the settings found at open and closes.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Bytes waiting to be read, without blocking.
    virtual std::size_t queuedBytes() = 0;
    // Reads up to buffer.size() bytes that are already queued; returns how
    // many were read.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // Writes one frame; it may return while the bytes are still leaving (about
    // 26 ms for 152 bytes at 57600 baud) but never blocks the caller longer
    // than a frame takes on the wire plus a small margin. False when it could
    // not be written.
    virtual bool write(std::span<const std::uint8_t> frame) = 0;
    // Drops received bytes not yet read.
    virtual void purgeInput() = 0;
};

}  // namespace zelvor::link
