#include "monitor_command.h"

#include <array>
#include <charconv>
#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "cli/monitor_report.h"
#include "cli/stop_signals.h"
#include "cli/tick_clock.h"
#include "editing/monitor_presenter.h"
#include "i18n/messages.h"
#include "image_files.h"
#include "link/posix_serial_port.h"
#include "link/transfer_engine.h"
#include "link/unit_link.h"

namespace zelvor::cli {

namespace {

using i18n::MessageKey;

// The watchdog's "No Connection" may flicker on when one answer comes late;
// only a whole poll cycle more without an answer ends the monitor.
constexpr int kNoConnectionReportTicks = link::TransferEngine::kTicksPerRequest;

constexpr Option kMonitorOptions[] = {
    {"port", 0, "DEVICE",
     "serial device of the unit, such as /dev/ttyUSB0 (a symbolic link to one is fine)", true},
    {"count", 0, "N", "stop after N answers (default: until interrupted with SIGINT or SIGTERM)"},
    {"csv", 0, "", "print a header row, then one comma-separated row of numbers per answer"},
};

std::optional<long long> parseCount(std::string_view text) {
    long long count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count < 1) return std::nullopt;
    return count;
}

int runMonitor(const Command& command, const Arguments& arguments, Io& io) {
    std::optional<long long> count;
    if (const std::optional<std::string> text = arguments.value("count")) {
        count = parseCount(*text);
        if (!count) {
            return usageError(command, "--count takes a number of 1 or more, not '" + *text + "'",
                              io);
        }
    }
    const bool csv = arguments.has("csv");
    const i18n::MessageTable messages;
    link::PosixSerialPort port;
    if (!port.open(*arguments.value("port"))) {
        io.err << "zelvor-cli: " << messages.text(MessageKey::MsgComOpenError) << " "
               << port.lastError() << "\n";
        return kExitError;
    }

    model::ParameterImage image = defaultImage();
    link::UnitLink unitLink(image, port);
    editing::MonitorPresenter presenter(image, messages);
    const StopSignals stop;
    SteadyTickClock clock;
    const auto start = std::chrono::steady_clock::now();
    if (csv) io.out << csvHeader() << "\n" << std::flush;

    std::uint32_t decoded = unitLink.monitor().framesDecoded();
    long long printed = 0;
    int ticksWithoutConnection = 0;
    bool versionReported = false;
    // Output that cannot be written ends the monitor; the caller says why.
    while (io.out && !stop.requested() && (!count || printed < *count)) {
        if (!port.isOpen()) {
            io.err << "zelvor-cli: " << port.lastError() << "\n";
            return kExitError;
        }
        clock.waitForNextTick();
        unitLink.tick();

        if (unitLink.transfer().noConnectionVisible()) {
            // A unit that does not answer gives nothing to show or log.
            if (++ticksWithoutConnection == kNoConnectionReportTicks) {
                io.err << "zelvor-cli: No Connection\n";
                return kExitMonitorFailed;
            }
        } else {
            ticksWithoutConnection = 0;
        }
        if (unitLink.monitor().framesDecoded() == decoded) continue;
        decoded = unitLink.monitor().framesDecoded();

        presenter.present(unitLink.monitor());
        const editing::MonitorView& view = presenter.view();
        const std::string& versionText = view[editing::MonitorLabel::LabelVersion].text;
        if (!versionText.empty() && !versionReported) {
            io.err << "zelvor-cli: " << versionText << "\n";
            versionReported = true;
        }
        if (csv) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            io.out << csvRow(unitLink.monitor().sample(), elapsed);
        } else {
            io.out << monitorLine(view, unitLink.monitor().live(), messages);
        }
        io.out << "\n" << std::flush;
        ++printed;
    }
    return io.out ? kExitOk : kExitError;
}

constexpr std::array<Command, 1> kMonitorCommands = {{
    {"monitor", "",
     "print the unit's live values once per answer, as text or as CSV for data logging; "
     "exit 1 with \"No Connection\" when the unit does not answer",
     kMonitorOptions, 0, 0, runMonitor},
}};

}  // namespace

std::span<const Command> monitorCommands() {
    return kMonitorCommands;
}

}  // namespace zelvor::cli
