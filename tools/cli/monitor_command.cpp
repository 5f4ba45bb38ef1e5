#include "monitor_command.h"

#include <array>
#include <charconv>
#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "cli/monitor_report.h"
#include "cli/stop_signals.h"
#include "cli/tick_clock.h"
#include "datalog/log_format.h"
#include "datalog/log_row.h"
#include "datalog/log_writer.h"
#include "editing/monitor_presenter.h"
#include "i18n/messages.h"
#include "image_files.h"
#include "link/posix_serial_port.h"
#include "link/transfer_engine.h"
#include "link/unit_link.h"
#include "unit_session.h"

namespace zelvor::cli {

namespace {

using i18n::MessageKey;

// The watchdog's "No Connection" may flicker on when one answer comes late;
// only a whole poll cycle more without an answer ends the monitor.
constexpr int kNoConnectionReportTicks = link::TransferEngine::kTicksPerRequest;

constexpr Option kPortOption{
    "port", 0, "DEVICE",
    "serial device of the unit, such as /dev/ttyUSB0 (a symbolic link to one is fine)", true};
constexpr Option kFastOption{"fast", 0, "",
                             "poll the unit on every tick (about 18 answers a second) instead of "
                             "every sixth"};

constexpr Option kMonitorOptions[] = {
    kPortOption,
    {"count", 0, "N", "stop after N answers (default: until interrupted with SIGINT or SIGTERM)"},
    {"csv", 0, "", "print the ride log's header row, then one comma-separated row per answer"},
    kFastOption,
};

constexpr Option kLogOptions[] = {
    kPortOption,
    {"seconds", 0, "N", "stop after N seconds (default: until interrupted with SIGINT or SIGTERM)"},
    {"output", 'o', "LOG.csv", "the ride log to write (replaced as a whole)", true},
    {"normal", 0, "", "poll every sixth tick, as the monitor does, instead of on every tick"},
    kFastOption,
};

std::optional<long long> parsePositive(std::string_view text) {
    long long count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count < 1) return std::nullopt;
    return count;
}

// What the monitor loop hands on per accepted answer: the decoder, the
// presenter's view of it and the milliseconds since the loop started.
// Returning false ends the loop (the caller says why).
using AnswerHandler = std::function<bool(const link::UnitLink&, const editing::MonitorPresenter&,
                                         std::chrono::milliseconds)>;

struct MonitorLoop {
    std::string device;
    bool pollEveryTick = false;
    std::optional<long long> answers;                 // stop after so many
    std::optional<std::chrono::milliseconds> length;  // stop after so long
};

// Polls the unit on the steady tick until a limit, a signal or the handler
// ends it; "No Connection" after a whole poll cycle without an answer.
int runMonitorLoop(const MonitorLoop& loop, const AnswerHandler& handle, Io& io) {
    const i18n::MessageTable messages;
    link::PosixSerialPort port;
    if (!port.open(loop.device)) {
        io.err << "zelvor-cli: " << messages.text(MessageKey::MsgComOpenError) << " "
               << port.lastError() << "\n";
        return kExitError;
    }
    model::ParameterImage image = defaultImage();
    link::UnitLink unitLink(image, port);
    link::TransferOptions options;
    options.pollEveryTick = loop.pollEveryTick;
    unitLink.transfer().setOptions(options);
    editing::MonitorPresenter presenter(image, messages);
    const StopSignals stop;
    SteadyTickClock clock;
    const auto start = std::chrono::steady_clock::now();

    std::uint32_t decoded = unitLink.monitor().framesDecoded();
    long long handled = 0;
    int ticksWithoutConnection = 0;
    bool versionReported = false;
    while (!stop.requested() && (!loop.answers || handled < *loop.answers)) {
        if (!port.isOpen()) {
            io.err << "zelvor-cli: " << port.lastError() << "\n";
            return kExitError;
        }
        clock.waitForNextTick();
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (loop.length && elapsed >= *loop.length) break;
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
        const std::string& versionText = presenter.view()[editing::MonitorLabel::LabelVersion].text;
        if (!versionText.empty() && !versionReported) {
            io.err << "zelvor-cli: " << versionText << "\n";
            versionReported = true;
        }
        if (!handle(unitLink, presenter, elapsed)) return kExitError;
        ++handled;
    }
    return kExitOk;
}

int runMonitor(const Command& command, const Arguments& arguments, Io& io) {
    MonitorLoop loop{*arguments.value("port"), arguments.has("fast"), std::nullopt, std::nullopt};
    if (const std::optional<std::string> text = arguments.value("count")) {
        loop.answers = parsePositive(*text);
        if (!loop.answers) {
            return usageError(command, "--count takes a number of 1 or more, not '" + *text + "'",
                              io);
        }
    }
    const bool csv = arguments.has("csv");
    const i18n::MessageTable messages;
    if (csv) io.out << csvHeader() << "\n" << std::flush;
    // The monitor reads the unit's answers with the default set's axes.
    const model::ParameterImage axes = defaultImage();
    const int result = runMonitorLoop(
        loop,
        [&](const link::UnitLink& unitLink, const editing::MonitorPresenter& presenter,
            std::chrono::milliseconds elapsed) {
            if (csv) {
                io.out << csvRow(unitLink.monitor().sample(), unitLink.monitor().live(), axes,
                                 elapsed);
            } else {
                io.out << monitorLine(presenter.view(), unitLink.monitor().live(), messages);
            }
            io.out << "\n" << std::flush;
            // Output that cannot be written ends the monitor.
            return static_cast<bool>(io.out);
        },
        io);
    return result == kExitOk && !io.out ? kExitError : result;
}

int runLog(const Command& command, const Arguments& arguments, Io& io) {
    if (arguments.has("fast") && arguments.has("normal")) {
        return usageError(command, "--fast and --normal exclude each other", io);
    }
    MonitorLoop loop{*arguments.value("port"), !arguments.has("normal"), std::nullopt,
                     std::nullopt};
    if (const std::optional<std::string> text = arguments.value("seconds")) {
        const std::optional<long long> seconds = parsePositive(*text);
        if (!seconds || *seconds > 7 * 24 * 3600) {
            return usageError(
                command, "--seconds takes a number of seconds of 1 or more, not '" + *text + "'",
                io);
        }
        loop.length = std::chrono::seconds(*seconds);
    }
    // The lit cells follow the axes of the parameter set the unit runs, so
    // the log starts with a read of the unit.
    model::ParameterImage axes;
    {
        UnitSession session(io);
        if (!session.open(loop.device)) return kExitError;
        const TransferOutcome read = session.run(TransferKind::Read, true);
        if (!read.succeeded()) return kExitMonitorFailed;
        axes = session.image();
    }
    datalog::LogWriter writer;
    if (!writer.open(*arguments.value("output"))) {
        io.err << "zelvor-cli: " << writer.error() << "\n";
        return kExitError;
    }
    int result = runMonitorLoop(
        loop,
        [&](const link::UnitLink& unitLink, const editing::MonitorPresenter&,
            std::chrono::milliseconds elapsed) {
            return writer.append(datalog::makeLogRow(
                unitLink.monitor().sample(), unitLink.monitor().live(), axes, elapsed.count()));
        },
        io);
    if (!writer.error().empty() || !writer.close()) {
        io.err << "zelvor-cli: " << writer.error() << "\n";
        result = kExitError;
    }
    io.out << writer.rowsWritten() << " rows in " << writer.path() << "\n";
    return result;
}

constexpr std::array<Command, 2> kMonitorCommands = {{
    {"monitor", "",
     "print the unit's live values once per answer, as text or as CSV for data logging; "
     "exit 1 with \"No Connection\" when the unit does not answer",
     kMonitorOptions, 0, 0, runMonitor},
    {"log", "",
     "record a ride: one row per answer of the unit into a ride log (the columns of monitor "
     "--csv), written line by line; exit 1 with \"No Connection\" when the unit does not answer",
     kLogOptions, 0, 0, runLog},
}};

}  // namespace

std::span<const Command> monitorCommands() {
    return kMonitorCommands;
}

}  // namespace zelvor::cli
