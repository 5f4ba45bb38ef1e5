// zelvor-cli's transfer and monitor commands run as a separate process against
// zelvor-sim, another process, over a real pseudo-terminal with line timing.
#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../../support/parameter_images.h"
#include "../../support/program_run.h"
#include "../../support/temp_folder.h"
#include "cli/monitor_report.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"
#include "sim/block_store.h"
#include "sim/default_image.h"
#include "sim/sim_process.h"

namespace zelvor::cli {
namespace {

namespace fs = std::filesystem;
using model::Field;
using model::ParameterImage;
using zelvor::testing::contentOf;
using zelvor::testing::readOntoDefaults;
using CliRun = zelvor::testing::ProgramRun;
using namespace std::chrono_literals;

// What the unit holds after programming the file: the file read onto bike 0's
// defaults, brought into range.
ParameterImage programmedFrom(const std::string& content) {
    ParameterImage image = readOntoDefaults(content);
    model::sanitize(image);
    return image;
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliTransfer : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.file(name); }

    std::string put(const std::string& name, const std::string& content) const {
        return folder_.put(name, content);
    }

    // A simulated unit that holds the image given, kept in the folder.
    sim::SimProcess simulatorHolding(const ParameterImage& image,
                                     std::vector<std::string> arguments = {}) const {
        EXPECT_EQ(sim::writeImageFile(path("unit.bin"), image), "");
        arguments.insert(arguments.end(), {"--image", path("unit.bin")});
        return simulator(arguments);
    }

    static sim::SimProcess simulator(const std::vector<std::string>& arguments = {}) {
        std::string error;
        std::optional<sim::SimProcess> process =
            sim::SimProcess::start(ZELVOR_SIM_EXECUTABLE, arguments, error);
        if (!process) throw std::runtime_error(error);
        return std::move(*process);
    }

    // Starts zelvor-cli with stdout and stderr going to files of the folder.
    pid_t spawn(const std::vector<std::string>& arguments) const {
        return zelvor::testing::spawnProgram(ZELVOR_CLI_PATH, arguments, path("stdout"),
                                             path("stderr"));
    }

    CliRun finish(pid_t pid) const {
        return zelvor::testing::finishProgram(pid, path("stdout"), path("stderr"));
    }

    CliRun run(const std::vector<std::string>& arguments) const { return finish(spawn(arguments)); }

    zelvor::testing::TempFolder folder_{"zelvor-cli-e2e-"};
};

TEST_F(CliTransfer, ReadThroughASymbolicLinkWritesTheSimulatorsImage) {
    sim::SimProcess sim = simulator({"--link", path("unit")});
    const CliRun r = run({"read", "--port", path("unit"), "-o", path("read.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readOntoDefaults(contentOf(path("read.ign"))),
              readOntoDefaults(model::formatParameterFile(sim::builtInImage())));
    EXPECT_NE(r.out.find("Read: [#####     ] 5/10\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nVerify: OK\nIdentification: Zelvor simulated unit\n"
                         "Date: 14. 3.2025\nTime: 10:30\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTransfer, ProgramThenReadGivesBackTheProgrammedImage) {
    sim::SimProcess sim = simulator({"--image", path("unit.bin")});
    ParameterImage tune;
    tune.set(Field::BIKE_BikeType, 2);  // a bike with a unit constant of its own
    model::loadDefaultSet(tune);
    tune.set(Field::ADVANCE_Cell, 30, tune.get(Field::ADVANCE_Cell, 30) + 2u);
    model::sanitize(tune);
    const std::string file = put("tune.ign", model::formatParameterFile(tune));

    CliRun r = run({"program", "--port", sim.devicePath(), file});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Program device: [####      ] 4/10\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nProgram device: OK\n"), std::string::npos) << r.out;
    const sim::ImageFileRead kept = sim::readImageFile(path("unit.bin"));
    ASSERT_EQ(kept.status, sim::ImageFileRead::Status::Loaded) << kept.message;
    EXPECT_EQ(kept.image, tune) << "the unit holds the tune, with the constants of its bike";

    r = run({"read", "--port", sim.devicePath(), "--output", path("back.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readOntoDefaults(contentOf(path("back.ign"))), readOntoDefaults(contentOf(file)));
}

TEST_F(CliTransfer, VerifyPassesOnEqualAndFailsOnOneDifferingByte) {
    ParameterImage tune = sim::builtInImage();
    const std::string same = put("same.ign", model::formatParameterFile(tune));
    sim::SimProcess sim = simulatorHolding(programmedFrom(contentOf(same)));
    CliRun r = run({"verify", "--port", sim.devicePath(), same});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nVerify: OK\n"), std::string::npos) << r.out;

    tune.set(Field::ADVANCE_Cell, 64, tune.get(Field::ADVANCE_Cell, 64) + 1u);
    const std::string other = put("other.ign", model::formatParameterFile(tune));
    ASSERT_NE(programmedFrom(contentOf(other)), programmedFrom(contentOf(same)));
    r = run({"verify", "--port", sim.devicePath(), other});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zelvor-cli: Verify error!\n");
    EXPECT_EQ(r.out.find("OK"), std::string::npos) << r.out;
}

TEST_F(CliTransfer, OccasionalDropsAreRetriedAway) {
    sim::SimProcess sim = simulator({"--fault", "drop=3"});
    const CliRun r = run({"read", "--port", sim.devicePath(), "-o", path("read.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readOntoDefaults(contentOf(path("read.ign"))),
              readOntoDefaults(model::formatParameterFile(sim::builtInImage())));
}

TEST_F(CliTransfer, StrayBytesOnTheLineAreRetriedAway) {
    const std::string same = put("same.ign", model::formatParameterFile(sim::builtInImage()));
    sim::SimProcess sim = simulatorHolding(programmedFrom(contentOf(same)), {"--fault=stray=3"});
    const CliRun r = run({"verify", "--port", sim.devicePath(), same});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(CliTransfer, SilentUnitFailsWithReadErrorThenAFreshUnitReads) {
    {
        sim::SimProcess silent = simulator({"--fault", "silent"});
        const CliRun r = run({"read", "--port", silent.devicePath(), "-o", path("read.ign")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "zelvor-cli: Read error!\n");
        EXPECT_FALSE(fs::exists(path("read.ign")));
    }
    sim::SimProcess sim = simulator();
    const CliRun r = run({"read", "--port", sim.devicePath(), "-o", path("read.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(path("read.ign")));
}

TEST_F(CliTransfer, EchoMismatchFailsProgramAndTheSameLineStillReads) {
    sim::SimProcess sim = simulator({"--fault", "echo-mismatch=4"});
    const std::string file = put("tune.ign", model::formatParameterFile(sim::builtInImage()));
    CliRun r = run({"program", "--port", sim.devicePath(), file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zelvor-cli: Program error!\n");
    EXPECT_EQ(r.out.find("OK"), std::string::npos) << r.out;

    r = run({"read", "--port", sim.devicePath(), "-o", path("read.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(CliTransfer, OtherProgramVersionStopsReadAndKeepsTheOldFile) {
    sim::SimProcess sim = simulator({"--version", "62"});
    const std::string old = put("read.ign", "an earlier read\n");
    const CliRun r = run({"read", "--port", sim.devicePath(), "-o", old});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zelvor-cli: Unmatched version of PC and Ignition programs!  PC-63, IGN-62\n");
    EXPECT_EQ(contentOf(old), "an earlier read\n");
}

TEST_F(CliTransfer, MonitorPrintsACsvRowPerAnswerUpToTheCount) {
    sim::SimProcess sim = simulator();
    const CliRun r = run({"monitor", "--port", sim.devicePath(), "--count", "3", "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, csvHeader());
    int rows = 0;
    while (std::getline(lines, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), std::ssize(kMonitorColumns)) << line;
        EXPECT_EQ(line.substr(line.size() - 3), ",63") << "the unit's version ends the row";
    }
    EXPECT_EQ(rows, 3);
}

TEST_F(CliTransfer, MonitorRunsUntilTerminatedAndReleasesTheLine) {
    sim::SimProcess sim = simulator();
    const pid_t monitor = spawn({"monitor", "--port", sim.devicePath()});
    ASSERT_GT(monitor, 0);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (lineCount(contentOf(path("stdout"))) < 2 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    ::kill(monitor, SIGTERM);
    CliRun r = finish(monitor);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GE(lineCount(r.out), 2u);
    EXPECT_EQ(r.out.rfind("RPM = ", 0), 0u) << r.out;

    r = run({"monitor", "--port", sim.devicePath(), "--count", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lineCount(r.out), 1u);
}

TEST_F(CliTransfer, PortFileAndUsageErrorsExitWithTwo) {
    CliRun r = run({"read", "--port", path("no-such-tty"), "-o", path("read.ign")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "zelvor-cli: Com opening error! " + path("no-such-tty") +
                         ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(path("read.ign")));

    const std::string notATerminal = put("plain.txt", "x");
    r = run({"monitor", "--port", notATerminal, "--count", "1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Com opening error! " + notATerminal + ": not a serial device"),
              std::string::npos)
        << r.err;

    r = run({"verify", "--port", notATerminal, path("missing.ign")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Open file error! " + path("missing.ign")), std::string::npos) << r.err;

    r = run({"monitor", "--port", notATerminal, "--count", "0"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("usage: zelvor-cli monitor"), std::string::npos) << r.err;

    r = run({"program", path("missing.ign")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("missing option --port"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace zelvor::cli
