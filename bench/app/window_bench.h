#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "app/dialogs.h"
#include "link/link_frame.h"
#include "link/monitor_channels.h"
#include "link/unit_identification.h"

namespace zelvor::bench {

// What the window's timing programs share: boxes that answer nothing, the
// clock in ms and a monitor answer to feed the link.

// The window's boxes for the timing programs: messages go to the error
// output, questions are cancelled and file dialogs chosen nothing.
class PrintedDialogs final : public app::Dialogs {
  public:
    void message(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
    QString openParameterFile(const QString&, const QString&) override { return {}; }
    QString saveParameterFile(const QString&, const QString&) override { return {}; }
    QString savePrintFile(const QString&, const QString&) override { return {}; }
    QStringList openRideLogs(const QString&) override { return {}; }
    QString openRideLog(const QString&) override { return {}; }
};

inline double elapsedMs(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The processor time this thread has used, in ms. On a shared machine the
// wall clock also counts the time other programs held the processor; the
// thread's own time is what the window's work costs.
inline double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A monitor answer as the unit sends it: the engine at rpm, the throttle at
// percent, the probe at lambda mV and the coolant as its raw byte (0 leaves
// a value out, as the unit's zero bytes do).
inline link::LinkFrame monitorAnswer(int rpm, int throttle, int lambda = 0, int coolantByte = 0) {
    using link::channelSpec;
    using link::MonitorChannel;
    link::LinkFrame frame = link::LinkFrame::make(link::LinkFrame::kMonitorAnswer);
    frame.bytes()[channelSpec(MonitorChannel::UnitVersion).offset] = link::kProgramVersion;
    frame.setWord(channelSpec(MonitorChannel::EngineSpeed).offset, static_cast<std::uint16_t>(rpm));
    frame.bytes()[channelSpec(MonitorChannel::Throttle).offset] =
        static_cast<std::uint8_t>(throttle);
    frame.setWord(channelSpec(MonitorChannel::Lambda).offset, static_cast<std::uint16_t>(lambda));
    frame.bytes()[channelSpec(MonitorChannel::Coolant).offset] =
        static_cast<std::uint8_t>(coolantByte);
    frame.seal();
    return frame;
}

}  // namespace zelvor::bench
