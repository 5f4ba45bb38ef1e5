#pragma once

#include "editing/monitor_view.h"
#include "i18n/messages.h"
#include "link/monitor_decoder.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// Window settings the monitor display depends on.
struct MonitorOptions {
    bool extendedMonitor = false;  // "Extended Monitor": sensor voltages beside the values
    bool gasTicked = false;        // N2O enabled: its output label is shown
};

// Turns the decoded monitor answers into the picture of the monitor labels,
// gauges and limiter edits, in the message table's current language. The
// picture persists between answers: what an answer does not rule keeps what
// it had.
class MonitorPresenter {
  public:
    MonitorPresenter(const model::ParameterImage& image, const i18n::MessageTable& messages)
        : image_(image), messages_(messages) {}

    void setOptions(const MonitorOptions& options) { options_ = options; }
    const MonitorOptions& options() const { return options_; }

    // Paints the last answer the decoder accepted.
    void present(const link::MonitorDecoder& decoder);

    const MonitorView& view() const { return view_; }
    // Writable for the no-connection placeholders.
    MonitorView& view() { return view_; }

  private:
    void presentFlags(const link::MonitorSample& s);
    void presentVersion(const link::MonitorSample& s);
    void presentAdvanceAndInjection(const link::MonitorSample& s, int injectorDuty);
    void presentGearAndFuel(const link::MonitorSample& s);
    void presentSpeedAndSensors(const link::MonitorSample& s);
    void presentTemperaturesAndSupply(const link::MonitorSample& s);
    void presentCountersAndCorrections(const link::MonitorSample& s);
    const std::string& word(i18n::MessageKey key) const { return messages_.text(key); }

    const model::ParameterImage& image_;
    const i18n::MessageTable& messages_;
    MonitorOptions options_;
    MonitorView view_;
};

}  // namespace zelvor::editing
