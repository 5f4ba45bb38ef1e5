// zelvor-cli doctor as a process, against zelvor-sim on a pseudo-terminal.
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../support/program_run.h"
#include "../../support/started_simulator.h"
#include "../../support/temp_folder.h"
#include "launcher/sim_process.h"

namespace zelvor::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CliDoctor : public ::testing::Test {
  protected:
    static sim::SimProcess simulator(const std::vector<std::string>& arguments = {}) {
        return zelvor::testing::startedSimulator(ZELVOR_SIM_EXECUTABLE, arguments);
    }

    zelvor::testing::ProgramRun run(const std::vector<std::string>& arguments) const {
        return zelvor::testing::runProgram(ZELVOR_CLI_PATH, arguments, folder_.file("stdout"),
                                           folder_.file("stderr"));
    }

    zelvor::testing::TempFolder folder_{"zelvor-cli-doctor-"};
};

TEST_F(CliDoctor, SimulatedUnitOpensAndAnswersWithItsVersion) {
    sim::SimProcess unit = simulator();
    const auto r = run({"doctor", "--port", unit.devicePath()});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_THAT(r.out, HasSubstr("Checking " + unit.devicePath() + ":\n  No problem found"));
    EXPECT_THAT(r.out, HasSubstr("The port opens.\n    A unit answers, program version 63, the "
                                 "version this program speaks.\n"));
    EXPECT_THAT(r.out, HasSubstr("Result: the port opens and a unit answers.\n"));
    EXPECT_EQ(r.err, "");
}

TEST_F(CliDoctor, LinkToTheDeviceIsFollowedAndOtherVersionsNamed) {
    sim::SimProcess unit = simulator({"--link", folder_.file("unit"), "--version", "61"});
    const auto r = run({"doctor", "--port", folder_.file("unit")});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_THAT(r.out,
                HasSubstr("Checking " + folder_.file("unit") + " (" + unit.devicePath() + ")"));
    EXPECT_THAT(r.out, HasSubstr("program version 61; this program speaks version 63"));
}

TEST_F(CliDoctor, SilentUnitAndMissingDeviceEndWithExitOne) {
    sim::SimProcess unit = simulator({"--fault", "silent"});
    const auto silent = run({"doctor", "--port", unit.devicePath()});
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_THAT(silent.out, HasSubstr("The port opens.\n    No unit answered within"));
    EXPECT_THAT(silent.out, HasSubstr("Result: no unit answered.\n"));

    const auto missing = run({"doctor", "--port", "/dev/ttyUSB-zelvor-missing"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_THAT(missing.out, HasSubstr("Problem: /dev/ttyUSB-zelvor-missing does not exist."));
    EXPECT_THAT(missing.out, Not(HasSubstr("Live test")));
}

TEST_F(CliDoctor, DeviceWithoutPermissionNamesTheCommandThatGivesIt) {
    if (::geteuid() == 0) GTEST_SKIP() << "root opens any device";
    sim::SimProcess unit = simulator();
    ASSERT_EQ(::chmod(unit.devicePath().c_str(), 0), 0);
    const auto r = run({"doctor", "--port", unit.devicePath()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.out, HasSubstr("may not read and write " + unit.devicePath() +
                                 ": its mode is c---------"));
    EXPECT_THAT(r.out, HasSubstr("\n        chmod u+rw " + unit.devicePath() + "\n"));
    EXPECT_THAT(r.out, HasSubstr("The port does not open: Permission denied."));
}

TEST_F(CliDoctor, HelpListsTheCommandAndItsOption) {
    const auto help = run({"--help"});
    EXPECT_THAT(help.out, HasSubstr("\n  doctor\n      list the serial devices"));
    const auto own = run({"doctor", "--help"});
    EXPECT_EQ(own.exitCode, 0);
    EXPECT_THAT(own.out, HasSubstr("--port DEVICE"));
    const auto stray = run({"doctor", "extra"});
    EXPECT_EQ(stray.exitCode, 2);
}

}  // namespace
}  // namespace zelvor::cli
