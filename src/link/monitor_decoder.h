#pragma once

#include <cstdint>
#include <span>

#include "i18n/messages.h"
#include "link/link_frame.h"
#include "link/live_values.h"
#include "link/monitor_view.h"
#include "model/parameter_image.h"

namespace zelvor::link {

// Window settings the monitor display depends on.
struct MonitorOptions {
    bool extendedMonitor = false;  // "Extended Monitor": sensor voltages beside the values
    bool gasTicked = false;        // N2O enabled: its output label is shown
};

// Decodes the unit's monitor answers into the live values other parts of the
// program read and into the picture of the monitor labels, gauges and limiter
// edits. Texts use the message table's current language.
class MonitorDecoder {
  public:
    MonitorDecoder(const model::ParameterImage& image, const i18n::MessageTable& messages)
        : image_(image), messages_(messages) {}

    // Decodes the first 152 bytes of a batch. A batch that is too short or
    // fails the check byte is dropped without any change; returns whether
    // it was accepted.
    bool decode(std::span<const std::uint8_t> batch);

    void setOptions(const MonitorOptions& options) { options_ = options; }
    const MonitorOptions& options() const { return options_; }

    const LiveValues& live() const { return live_; }
    const MonitorView& view() const { return view_; }
    // Writable for the no-connection placeholders.
    MonitorView& view() { return view_; }
    // Accepted answers so far; a window repaints only when this moves.
    std::uint32_t framesDecoded() const { return framesDecoded_; }

  private:
    void decodeBits(const LinkFrame& f);
    void decodeVersion(const LinkFrame& f);
    void decodeAdvanceAndInjection(const LinkFrame& f);
    void decodeGearAndFuel(const LinkFrame& f);
    void decodeSpeedAndSensors(const LinkFrame& f);
    void decodeTemperaturesAndSupply(const LinkFrame& f);
    void decodeCountersAndCorrections(const LinkFrame& f);
    const std::string& word(i18n::MessageKey key) const { return messages_.text(key); }

    const model::ParameterImage& image_;
    const i18n::MessageTable& messages_;
    MonitorOptions options_;
    LiveValues live_;
    MonitorView view_;
    std::uint32_t framesDecoded_ = 0;
};

}  // namespace zelvor::link
