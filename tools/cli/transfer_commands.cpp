#include "transfer_commands.h"

#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>

#include "cli/monitor_report.h"
#include "cli/progress_display.h"
#include "cli/stop_signals.h"
#include "cli/tapped_port.h"
#include "cli/tick_clock.h"
#include "cli/transfer_run.h"
#include "i18n/messages.h"
#include "image_files.h"
#include "link/posix_serial_port.h"
#include "link/unit_link.h"
#include "model/parameter_file_io.h"

namespace zelvor::cli {

namespace {

using i18n::MessageKey;
using model::ParameterImage;

constexpr Option kPort{"port", 0, "DEVICE",
                       "serial device of the unit, such as /dev/ttyUSB0 (a symbolic link to one "
                       "is fine)",
                       true};

// The monitor's watchdog label may flicker on when one answer comes late;
// only a whole poll cycle more without an answer is reported.
constexpr int kNoConnectionReportTicks = link::TransferEngine::kTicksPerRequest;

bool isTerminal(const std::ostream& out) {
    return &out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
}

bool openPort(link::PosixSerialPort& port, const std::string& device,
              const i18n::MessageTable& messages, std::ostream& err) {
    if (port.open(device)) return true;
    err << "zelvor-cli: " << messages.text(MessageKey::MsgComOpenError) << " " << port.lastError()
        << "\n";
    return false;
}

// Runs one transfer on the device with progress on the terminal. Returns the
// exit status; on success the unit's identification is left in identification.
int transferWithUnit(TransferKind kind, const std::string& device, ParameterImage& image, Io& io,
                     link::UnitIdentification* identification = nullptr) {
    const i18n::MessageTable messages;
    link::PosixSerialPort port;
    if (!openPort(port, device, messages, io.err)) return kExitError;

    TransferRun transfer(image, port, messages);
    const StopSignals stop;
    SteadyTickClock clock;
    ProgressDisplay display(io.out, isTerminal(io.out));
    const TransferOutcome outcome = transfer.run(
        kind, clock,
        [&display](const link::TransferEngine& engine) {
            display.show(engine.statusLabel(), engine.gauge());
        },
        [&stop] { return stop.requested(); });
    display.finish();

    if (!outcome.succeeded()) {
        io.err << "zelvor-cli: " << outcome.text << "\n";
        // A device that went away explains the failure better than the retries.
        if (!port.isOpen() && !port.lastError().empty()) {
            io.err << "zelvor-cli: " << port.lastError() << "\n";
        }
        return kExitTransferFailed;
    }
    io.out << outcome.text << "\n";
    if (identification) *identification = transfer.link().transfer().identification();
    return kExitOk;
}

void printIdentification(const link::UnitIdentification& unit, std::ostream& out) {
    out << "Identification: " << unit.identification << "\n"
        << "Date: " << unit.date << "\n"
        << "Time: " << unit.time << "\n";
}

// --- read ---

constexpr Option kReadOptions[] = {
    kPort,
    {"output", 'o', "FILE",
     "parameter file to write (replaced as a whole); written only when the read and its "
     "verify succeed",
     true},
};

int runRead(const Command&, const Arguments& arguments, Io& io) {
    ParameterImage image = defaultImage();
    link::UnitIdentification unit;
    const int status =
        transferWithUnit(TransferKind::Read, *arguments.value("port"), image, io, &unit);
    if (status != kExitOk) return status;
    // The engine has sanitized what it read before verifying it.
    const std::string path = *arguments.value("output");
    const model::FileWriteResult written = model::saveParameterFile(path, image);
    if (!written) {
        io.err << "zelvor-cli: Open file error! " << path << " (" << written.error << ")\n";
        return kExitError;
    }
    printIdentification(unit, io.out);
    return kExitOk;
}

// --- verify / program ---

constexpr Option kPortOnly[] = {kPort};

int runWithFile(TransferKind kind, const Arguments& arguments, Io& io) {
    std::optional<ParameterImage> image = loadTuneFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    link::UnitIdentification unit;
    const int status = transferWithUnit(kind, *arguments.value("port"), *image, io, &unit);
    if (status == kExitOk && kind == TransferKind::Program) printIdentification(unit, io.out);
    return status;
}

int runVerify(const Command&, const Arguments& arguments, Io& io) {
    return runWithFile(TransferKind::Verify, arguments, io);
}

int runProgram(const Command&, const Arguments& arguments, Io& io) {
    return runWithFile(TransferKind::Program, arguments, io);
}

// --- monitor ---

constexpr Option kMonitorOptions[] = {
    kPort,
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
    if (!openPort(port, *arguments.value("port"), messages, io.err)) return kExitError;

    TappedPort tap(port);
    ParameterImage image = defaultImage();
    link::UnitLink unitLink(image, tap, messages);
    const StopSignals stop;
    SteadyTickClock clock;
    const auto start = std::chrono::steady_clock::now();
    if (csv) io.out << csvHeader() << "\n" << std::flush;

    std::uint32_t decoded = unitLink.monitor().framesDecoded();
    long long printed = 0;
    int ticksWithoutConnection = 0;
    bool versionReported = false;
    while (!stop.requested() && (!count || printed < *count)) {
        if (!port.isOpen()) {
            io.err << "zelvor-cli: " << port.lastError() << "\n";
            return kExitError;
        }
        clock.waitForNextTick();
        unitLink.tick();

        if (unitLink.transfer().noConnectionVisible()) {
            if (++ticksWithoutConnection == kNoConnectionReportTicks) {
                io.err << "zelvor-cli: No Connection\n";
            }
        } else {
            ticksWithoutConnection = 0;
        }
        if (unitLink.monitor().framesDecoded() == decoded) continue;
        decoded = unitLink.monitor().framesDecoded();

        const link::MonitorView& view = unitLink.monitor().view();
        const std::string& versionText = view[link::MonitorLabel::LabelVersion].text;
        if (!versionText.empty() && !versionReported) {
            io.err << "zelvor-cli: " << versionText << "\n";
            versionReported = true;
        }
        if (csv) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            io.out << csvRow(tap.lastFrame(), elapsed);
        } else {
            io.out << monitorLine(view, unitLink.monitor().live(), messages);
        }
        io.out << "\n" << std::flush;
        ++printed;
    }
    return kExitOk;
}

constexpr std::array<Command, 4> kTransferCommands = {{
    {"read", "",
     "read the unit's parameters into a parameter file, verifying them afterwards, and print "
     "the unit's identification, date and time; exit 1 when the transfer fails",
     kReadOptions, 0, 0, runRead},
    {"verify", "FILE",
     "compare the unit's parameters with a parameter file; exit 1 when they differ or the "
     "transfer fails",
     kPortOnly, 1, 1, runVerify},
    {"program", "FILE",
     "program a parameter file into the unit, then verify it; exit 1 when the transfer fails",
     kPortOnly, 1, 1, runProgram},
    {"monitor", "",
     "print the unit's live values once per answer, as text or as CSV for data logging",
     kMonitorOptions, 0, 0, runMonitor},
}};

}  // namespace

std::span<const Command> transferCommands() {
    return kTransferCommands;
}

}  // namespace zelvor::cli
