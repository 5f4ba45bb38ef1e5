#include "doctor/doctor_report.h"

#include <cerrno>
#include <ostream>

#include "link/unit_identification.h"

namespace zelvor::doctor {

namespace {

constexpr const char* kIndent = "  ";
constexpr const char* kRemedyIndent = "      ";

bool startsAsCommand(const std::string& line) {
    for (const char* start : {"sudo ", "chmod ", "kill ", "echo "}) {
        if (line.rfind(start, 0) == 0) return true;
    }
    return false;
}

// Why a port that exists still did not open, in a tuner's words.
// Told by the error number, not the reason's words, which follow the locale.
std::string openFailureAdvice(const std::string& device, int error) {
    if (error == EBUSY) {
        // The open files of other users' processes are hidden from an
        // ordinary user, so the holder may not be named above.
        return "Another program has it open. Close terminal programs, loggers and other tuner "
               "windows that use it. If none is named above, it belongs to another user; this "
               "names it: sudo zelvor-cli doctor --port " +
               device;
    }
    if (error == EACCES || error == EPERM) {
        return "You may not open it; see the permission finding above.";
    }
    if (error == ENOTTY) {
        return "It is not a serial port; name the adapter's device instead.";
    }
    return "Unplug the adapter, plug it in again and retry.";
}

// Writes what was found about one device; returns whether a unit answered.
bool checkDevice(const DoctorRequest& request, const NamedDevice& device, std::ostream& out) {
    out << "\nChecking " << device.given;
    if (device.device.string() != device.given) out << " (" << device.device.string() << ")";
    out << ":\n";
    const std::vector<Finding> findings =
        diagnoseDevice(request.roots, device, request.user, request.self);
    writeFindings(findings, out);
    if (!device.exists || !request.liveTest) return false;
    const LiveTestResult result = runLiveTest(device.device.string(), request.timing);
    writeLiveTest(device.device.string(), result, request.timing, out);
    return result.answered;
}

}  // namespace

void writeSurvey(const std::vector<SerialDevice>& devices, std::ostream& out) {
    out << "Serial devices:\n";
    if (devices.empty()) {
        out << kIndent << "none found (looked for /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS*)\n";
        return;
    }
    for (const SerialDevice& device : devices) {
        out << kIndent << device.path.string() << "  " << describeAdapter(device) << "\n";
        for (const std::string& name : device.byIdNames) {
            out << kIndent << "  also /dev/serial/by-id/" << name << "\n";
        }
    }
}

void writeFindings(const std::vector<Finding>& findings, std::ostream& out) {
    if (findings.empty()) {
        out << kIndent
            << "No problem found: the device exists, you may read and write it, "
               "and no other program holds it.\n";
        return;
    }
    for (const Finding& finding : findings) {
        out << kIndent << "Problem: " << finding.problem << "\n";
        bool first = true;
        for (const std::string& line : finding.remedy) {
            if (startsAsCommand(line)) {
                out << kRemedyIndent << "  " << line << "\n";
            } else {
                out << kRemedyIndent << (first ? "What to do: " : "") << line << "\n";
                first = false;
            }
        }
    }
}

void writeLiveTest(const std::string& device, const LiveTestResult& result,
                   const LiveTestTiming& timing, std::ostream& out) {
    out << kIndent << "Live test on " << device << " at 57600 baud 8N1:\n";
    if (!result.opened) {
        out << kIndent << "  The port does not open: " << result.openError << ".\n";
        out << kIndent << "  " << openFailureAdvice(device, result.openErrno) << "\n";
        return;
    }
    out << kIndent << "  The port opens.\n";
    if (result.answered) {
        out << kIndent << "  A unit answers, program version " << result.unitVersion;
        if (result.unitVersion == link::kProgramVersion) {
            out << ", the version this program speaks.\n";
        } else {
            out << "; this program speaks version " << link::kProgramVersion
                << ", so reading, verifying and programming will be refused.\n";
        }
        return;
    }
    const auto waited = timing.tick * timing.ticks;
    out << kIndent << "  No unit answered within " << waited.count() << " ms.\n";
    if (result.bytesReceived > 0) {
        out << kIndent << "  " << result.bytesReceived
            << " bytes came back but made no valid answer: another device on this port, a "
               "wrong adapter setting or a damaged cable.\n";
    } else {
        out << kIndent
            << "  Nothing came back: check that the ignition is on, the unit is powered and the "
               "cable sits in the unit and in this adapter.\n";
    }
}

void writeSurveyChange(const SurveyChange& change, std::ostream& out) {
    if (change.empty()) {
        out << "Since the program started, no serial device came or went.\n";
        return;
    }
    auto list = [&out](const std::vector<std::string>& names, const char* what) {
        for (std::size_t i = 0; i < names.size(); ++i) out << (i == 0 ? "" : ", ") << names[i];
        out << " " << what;
    };
    out << "Since the program started: ";
    if (!change.appeared.empty()) list(change.appeared, "appeared");
    if (!change.appeared.empty() && !change.vanished.empty()) out << "; ";
    if (!change.vanished.empty()) list(change.vanished, "vanished");
    out << ".\n";
}

bool runDoctor(const DoctorRequest& request, std::ostream& out) {
    const std::vector<SerialDevice> devices = surveySerialDevices(request.roots);
    writeSurvey(devices, out);
    if (request.devicesAtStart)
        writeSurveyChange(compareSurveys(*request.devicesAtStart, devices), out);

    bool answered = false;
    if (request.port) {
        answered = checkDevice(request, locateDevice(request.roots, *request.port), out);
    } else {
        for (const SerialDevice& device : devices) {
            const NamedDevice named = locateDevice(request.roots, device.path.string());
            answered = checkDevice(request, named, out) || answered;
        }
    }
    out << "\n"
        << (answered ? "Result: the port opens and a unit answers.\n"
                     : "Result: no unit answered.\n");
    return answered;
}

}  // namespace zelvor::doctor
