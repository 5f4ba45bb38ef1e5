// The doctor's report as a tuner reads it, against a made-up system.
#include "doctor/doctor_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "fake_system.h"

namespace zelvor::doctor {
namespace {

using testing::FakeSystem;
using ::testing::HasSubstr;
using ::testing::Not;

class DoctorReport : public ::testing::Test {
  protected:
    DoctorReport() {
        request.roots = system.roots();
        request.user.uid = 0;  // nothing refused: permissions are tested on their own
        request.user.name = "root";
        request.self = 1;
        request.timing = {std::chrono::milliseconds(1), 1};
    }

    std::string run(bool expectAnswer = false) {
        std::ostringstream out;
        EXPECT_EQ(runDoctor(request, out), expectAnswer);
        return out.str();
    }

    std::string dev(const std::string& name) const { return (system.roots().dev / name).string(); }

    FakeSystem system;
    DoctorRequest request;
};

TEST_F(DoctorReport, SurveyListsEachDeviceWithAdapterAndByIdNames) {
    system.addUsbAdapter("ttyUSB0", "0403", "6001", "FTDI", "FT232R USB UART");
    system.addById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
    system.addBuiltInPort("ttyS0", 4);
    request.liveTest = false;

    const std::string report = run();
    EXPECT_THAT(report, HasSubstr("Serial devices:\n  " + dev("ttyUSB0") +
                                  "  USB 0403:6001 FTDI FT232R USB UART\n"
                                  "    also /dev/serial/by-id/"
                                  "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n  " +
                                  dev("ttyS0") + "  built-in or unknown adapter\n"));
    // Without a port each device found is checked.
    EXPECT_THAT(report, HasSubstr("Checking " + dev("ttyUSB0") + ":\n  No problem found"));
    EXPECT_THAT(report, HasSubstr("Checking " + dev("ttyS0") + ":\n  No problem found"));
    EXPECT_THAT(report, HasSubstr("Result: no unit answered.\n"));
}

TEST_F(DoctorReport, NoDevicesAtAll) {
    const std::string report = run();
    EXPECT_THAT(report, HasSubstr("Serial devices:\n  none found"));
    EXPECT_THAT(report, Not(HasSubstr("Checking")));
}

TEST_F(DoctorReport, FindingsShowProblemRemedyAndCommandsOnTheirOwnLines) {
    system.addUsbAdapter("ttyUSB0", "0403", "6001");
    system.addProcess(812, "ModemManager");
    system.addProcess(900, "minicom", {system.roots().dev / "ttyUSB0"});
    request.port = "/dev/ttyUSB0";
    request.liveTest = false;

    const std::string report = run();
    EXPECT_THAT(report, HasSubstr("Checking /dev/ttyUSB0 (" + dev("ttyUSB0") + "):\n"));
    EXPECT_THAT(report, HasSubstr("  Problem: " + dev("ttyUSB0") +
                                  " is in use by process 900 (minicom).\n"
                                  "      What to do: Close that program"));
    EXPECT_THAT(report, HasSubstr("\n        kill 900\n"));
    EXPECT_THAT(report, HasSubstr("  Problem: ModemManager is running (process 812). It probes"));
    EXPECT_THAT(report, HasSubstr("\n        sudo udevadm control --reload-rules\n"
                                  "      Then unplug the adapter and plug it in again.\n"));
}

TEST_F(DoctorReport, MissingPortIsNotLiveTested) {
    system.addDevice("ttyUSB1");
    request.port = "ttyUSB0";
    const std::string report = run();
    EXPECT_THAT(report, HasSubstr("Problem: ttyUSB0 does not exist."));
    EXPECT_THAT(report, Not(HasSubstr("Live test")));
    EXPECT_THAT(report, HasSubstr("Result: no unit answered."));
}

// The window keeps the survey of its start: an adapter re-plugged since comes
// back under another name, and the report says which came and which went.
TEST_F(DoctorReport, SaysWhichDevicesCameOrWentSinceTheStart) {
    system.addDevice("ttyUSB0");
    system.addDevice("ttyS0");
    request.devicesAtStart = surveySerialDevices(system.roots());
    request.port = "ttyUSB0";
    EXPECT_THAT(run(), HasSubstr("Since the program started, no serial device came or went."));

    std::filesystem::remove(system.roots().dev / "ttyUSB0");
    system.addDevice("ttyUSB1");
    const std::string report = run();
    EXPECT_THAT(report,
                HasSubstr("Since the program started: ttyUSB1 appeared; ttyUSB0 vanished."));
    EXPECT_THAT(report, HasSubstr("Problem: ttyUSB0 does not exist."));
}

TEST_F(DoctorReport, PortThatIsNoSerialDeviceFailsTheLiveTest) {
    system.addDevice("ttyUSB0");
    request.port = "ttyUSB0";
    const std::string report = run();
    EXPECT_THAT(report, HasSubstr("Live test on " + dev("ttyUSB0") +
                                  " at 57600 baud 8N1:\n"
                                  "    The port does not open: not a serial device.\n"
                                  "    It is not a serial port"));
}

// A live test outcome with the fields given set.
LiveTestResult outcome(bool opened, bool answered, int version, std::size_t bytes,
                       int errorNumber = 0, const std::string& reason = "") {
    LiveTestResult result;
    result.opened = opened;
    result.answered = answered;
    result.unitVersion = version;
    result.bytesReceived = bytes;
    result.openErrno = errorNumber;
    result.openError = reason;
    return result;
}

TEST(DoctorLiveText, AnswerVersionAndSilence) {
    const LiveTestTiming timing{std::chrono::milliseconds(55), 12};
    std::ostringstream same;
    writeLiveTest("/dev/ttyUSB0", outcome(true, true, 63, 152), timing, same);
    EXPECT_THAT(same.str(), HasSubstr("The port opens.\n    A unit answers, program version 63, "
                                      "the version this program speaks.\n"));

    std::ostringstream older;
    writeLiveTest("/dev/ttyUSB0", outcome(true, true, 62, 152), timing, older);
    EXPECT_THAT(older.str(), HasSubstr("program version 62; this program speaks version 63"));

    std::ostringstream silent;
    writeLiveTest("/dev/ttyUSB0", outcome(true, false, 0, 0), timing, silent);
    EXPECT_THAT(silent.str(), HasSubstr("No unit answered within 660 ms.\n    Nothing came back"));

    std::ostringstream garbled;
    writeLiveTest("/dev/ttyUSB0", outcome(true, false, 0, 40), timing, garbled);
    EXPECT_THAT(garbled.str(), HasSubstr("40 bytes came back but made no valid answer"));

    std::ostringstream busy;
    writeLiveTest("/dev/ttyUSB0", outcome(false, false, 0, 0, EBUSY, "Device or resource busy"),
                  timing, busy);
    EXPECT_THAT(busy.str(), HasSubstr("The port does not open: Device or resource busy.\n"
                                      "    Another program has it open."));
    // A holder of another user stays hidden to an ordinary user.
    EXPECT_THAT(busy.str(), HasSubstr("sudo zelvor-cli doctor --port /dev/ttyUSB0"));

    // The advice follows the error number, whatever language the reason is in.
    std::ostringstream refused;
    writeLiveTest("/dev/ttyUSB0", outcome(false, false, 0, 0, EACCES, "Keine Berechtigung"), timing,
                  refused);
    EXPECT_THAT(refused.str(), HasSubstr("Keine Berechtigung.\n    You may not open it"));
}

}  // namespace
}  // namespace zelvor::doctor
