// zelvor-cli's transfer and monitor commands run as a separate process against
// zelvor-sim, another process, over a real pseudo-terminal with line timing.
#include <signal.h>
#include <sys/wait.h>

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
#include "../../support/started_simulator.h"
#include "../../support/temp_folder.h"
#include "cli/monitor_report.h"
#include "datalog/log_format.h"
#include "launcher/sim_process.h"
#include "model/default_set.h"
#include "model/field.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"
#include "sim/block_store.h"
#include "sim/default_image.h"

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

// An image as a unit may hold it beside a tune: every reserved byte, the
// unit constants and the memo's bytes after its end carry values of their
// own, and the nitrous and temperature display switches values a file can
// only write as 1.
ParameterImage unitImageFilesCannotHold() {
    ParameterImage image = sim::builtInImage();
    std::vector<bool> named(ParameterImage::kSize, false);
    for (const model::FieldDescriptor& field : model::kFieldTable) {
        for (std::size_t i = 0; i < field.byteLength(); ++i) named[field.offset + i] = true;
    }
    for (std::size_t offset = 0; offset < named.size(); ++offset) {
        if (!named[offset]) image.setByte(offset, static_cast<std::uint8_t>(offset * 7 + 1));
    }
    image.set(Field::FIXED_Byte4, 77);
    image.set(Field::FIXED_Byte191, 9);
    image.set(Field::FIXED_Table214, 3, 1234);
    image.set(Field::FIXED_Byte276, 201);
    const std::string memo = std::string("Tune A\0after the end", 21);
    for (std::size_t i = 0; i < memo.size(); ++i) {
        image.set(Field::MEMO_Text, i, static_cast<unsigned char>(memo[i]));
    }
    image.set(Field::MEMO_Terminator, 0x5A);
    image.set(Field::N2O_Gas, 5);
    image.set(Field::DISPLAY_TempDisplay, 3);
    ParameterImage sanitized = image;
    model::sanitize(sanitized);
    EXPECT_EQ(sanitized, image) << "every value in range";
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
        return zelvor::testing::startedSimulator(ZELVOR_SIM_EXECUTABLE, arguments);
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

    // Waits at most the time given for zelvor-cli to end by itself, then
    // stops it; a run that had to be stopped has exit code -1.
    CliRun finishWithin(pid_t pid, std::chrono::milliseconds limit) const {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return {-1, contentOf(path("stdout")), contentOf(path("stderr"))};
            }
            std::this_thread::sleep_for(10ms);
        }
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentOf(path("stdout")),
                contentOf(path("stderr"))};
    }

    // Runs zelvor-cli with its standard output on a device that takes no byte.
    CliRun runIntoFullDevice(const std::vector<std::string>& arguments) const {
        const pid_t pid =
            zelvor::testing::spawnProgram(ZELVOR_CLI_PATH, arguments, "/dev/full", path("stderr"));
        return finishWithin(pid, 10s);
    }

    sim::ImageFileRead unitImage() const { return sim::readImageFile(path("unit.bin")); }

    zelvor::testing::TempFolder folder_{"zelvor-cli-e2e-"};
    // The history of every run goes to the test's folder.
    const int keptHistoryHere_ = ::setenv("XDG_DATA_HOME", folder_.file("data").c_str(), 1);
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
    EXPECT_EQ(model::formatParameterFile(kept.image), model::formatParameterFile(tune))
        << "the unit holds the tune";
    EXPECT_EQ(kept.image.get(Field::FIXED_Byte4), 30) << "with the constant of its bike";
    EXPECT_EQ(kept.image.get(Field::FIXED_Table214, 0),
              sim::builtInImage().get(Field::FIXED_Table214, 0))
        << "and the unit's own constants, which a file does not hold";

    r = run({"read", "--port", sim.devicePath(), "--output", path("back.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readOntoDefaults(contentOf(path("back.ign"))), readOntoDefaults(contentOf(file)));
}

// Every program and read is kept in the history, which gives the image back
// as a parameter file byte for byte.
TEST_F(CliTransfer, ProgramAndReadAreKeptInTheHistory) {
    sim::SimProcess sim = simulator({"--image", path("unit.bin")});
    ParameterImage tune;
    model::loadDefaultSet(tune);
    tune.set(Field::ADVANCE_Cell, 12, tune.get(Field::ADVANCE_Cell, 12) + 3u);
    model::sanitize(tune);
    const std::string file = put("tune.ign", model::formatParameterFile(tune));
    ASSERT_EQ(run({"program", "--port", sim.devicePath(), file}).exitCode, 0);
    ASSERT_EQ(run({"read", "--port", sim.devicePath(), "-o", path("back.ign")}).exitCode, 0);

    CliRun r = run({"history"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Newest first: the read, then the program (and the file it read).
    std::istringstream lines(r.out);
    std::string read, program;
    std::getline(lines, read);
    std::getline(lines, program);
    EXPECT_EQ(read.substr(0, 2), "2\t") << r.out;
    EXPECT_NE(read.find("\tRead\tZelvor simulated unit 14. 3.2025 10:30\t"), std::string::npos)
        << read;
    EXPECT_NE(read.find(path("back.ign")), std::string::npos) << read;
    EXPECT_EQ(program.substr(0, 2), "1\t") << r.out;
    EXPECT_NE(program.find("\tProgram\t"), std::string::npos) << program;

    r = run({"history", "--export", "1", "-o", path("exported.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const sim::ImageFileRead programmed = sim::readImageFile(path("unit.bin"));
    ASSERT_EQ(programmed.status, sim::ImageFileRead::Status::Loaded);
    EXPECT_EQ(contentOf(path("exported.ign")), model::formatParameterFile(programmed.image));

    // The export was a save too; the filter (any case) leaves it out, as it
    // talked to no unit.
    EXPECT_EQ(lineCount(run({"history"}).out), 3u);
    EXPECT_EQ(lineCount(run({"history", "--unit", "SIMULATED"}).out), 2u);
    EXPECT_EQ(run({"history", "--unit", "another unit"}).out, "");
    EXPECT_EQ(run({"history", "--export", "99", "-o", path("none.ign")}).exitCode, 2);
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

TEST_F(CliTransfer, ReadThenVerifyOfThatFilePassesWhileTheUnitHoldsWhatFilesCannot) {
    const ParameterImage unit = unitImageFilesCannotHold();
    sim::SimProcess sim = simulatorHolding(unit);
    CliRun r = run({"read", "--port", sim.devicePath(), "-o", path("read.ign")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({"verify", "--port", sim.devicePath(), path("read.ign")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nVerify: OK\n"), std::string::npos) << r.out;

    // A file that differs from the unit in one value still fails.
    ParameterImage edited = unit;
    edited.set(Field::FAN_Fan2, 99);
    r = run({"verify", "--port", sim.devicePath(),
             put("edited.ign", model::formatParameterFile(edited))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Verify error!"), std::string::npos) << r.err;
}

TEST_F(CliTransfer, ProgramLeavesWhatFilesCannotHoldInTheUnit) {
    const ParameterImage unit = unitImageFilesCannotHold();
    sim::SimProcess sim = simulatorHolding(unit);
    ParameterImage edited = unit;
    edited.set(Field::FAN_Fan2, 99);
    edited.set(Field::ADVANCE_Cell, 33, unit.get(Field::ADVANCE_Cell, 33) + 1u);
    const CliRun r = run({"program", "--port", sim.devicePath(),
                          put("edited.ign", model::formatParameterFile(edited))});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nProgram device: OK\n"), std::string::npos) << r.out;
    const sim::ImageFileRead kept = unitImage();
    ASSERT_EQ(kept.status, sim::ImageFileRead::Status::Loaded) << kept.message;
    EXPECT_EQ(kept.image, edited) << "only the edited values changed in the unit";
}

TEST_F(CliTransfer, ProgramOfAFileOfAnotherBikeSetsTheConstantsOfThatBike) {
    const ParameterImage unit = unitImageFilesCannotHold();
    sim::SimProcess sim = simulatorHolding(unit);
    ParameterImage tune = unit;
    tune.set(Field::BIKE_BikeType, 2);
    const CliRun r = run(
        {"program", "--port", sim.devicePath(), put("n1.ign", model::formatParameterFile(tune))});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    model::applyBikeUpdate(tune);
    ASSERT_EQ(tune.get(Field::FIXED_Byte4), 30);
    const sim::ImageFileRead kept = unitImage();
    ASSERT_EQ(kept.status, sim::ImageFileRead::Status::Loaded) << kept.message;
    EXPECT_EQ(kept.image, tune);
}

TEST_F(CliTransfer, BackupAndRestoreCarryTheUnitsExactBytes) {
    ParameterImage unit = unitImageFilesCannotHold();
    unit.set(Field::ADVANCE_Cell, 40, 200);
    unit.set(Field::TPS_Tps0, 255);
    const std::string backup = path("unit-a.bin");
    {
        sim::SimProcess sim = simulatorHolding(unit);
        // A read would have to change the values out of range: no file.
        CliRun r = run({"read", "--port", sim.devicePath(), "-o", path("read.ign")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(fs::exists(path("read.ign")));
        for (const char* text : {"ADVANCE.Cell[40]", "TPS.Tps0", "zelvor-cli backup"}) {
            EXPECT_NE(r.err.find(text), std::string::npos) << text << " in " << r.err;
        }

        r = run({"backup", "--port", sim.devicePath(), "-o", backup});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(contentOf(backup), std::string(unit.bytes().begin(), unit.bytes().end()));
        const std::string info = contentOf(backup + ".info");
        EXPECT_NE(info.find("Identification: Zelvor simulated unit\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Date: 14. 3.2025\n"), std::string::npos) << info;
    }
    fs::remove(path("unit.bin"));
    sim::SimProcess fresh = simulator({"--image", path("unit.bin")});
    const CliRun r = run({"restore", "--port", fresh.devicePath(), backup});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nProgram device: OK\n"), std::string::npos) << r.out;
    const sim::ImageFileRead kept = unitImage();
    ASSERT_EQ(kept.status, sim::ImageFileRead::Status::Loaded) << kept.message;
    EXPECT_EQ(kept.image, unit) << "restored byte for byte";

    put("short.bin", std::string(1349, '\0'));
    const CliRun bad = run({"restore", "--port", fresh.devicePath(), path("short.bin")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("1349 bytes"), std::string::npos) << bad.err;
}

TEST_F(CliTransfer, MonitorOfASilentUnitEndsWithNoConnection) {
    sim::SimProcess silent = simulator({"--fault", "silent"});
    for (const std::vector<std::string>& words : std::initializer_list<std::vector<std::string>>{
             {"monitor", "--port", silent.devicePath(), "--count", "3"},
             {"monitor", "--port", silent.devicePath(), "--csv"}}) {
        const auto start = std::chrono::steady_clock::now();
        const CliRun r = finishWithin(spawn(words), 10s);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find("zelvor-cli: No Connection\n"), std::string::npos) << r.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    }
}

TEST_F(CliTransfer, StandardOutputThatCannotBeWrittenFailsWithTheReason) {
    sim::SimProcess sim = simulator();
    for (const std::vector<std::string>& words : std::initializer_list<std::vector<std::string>>{
             {"monitor", "--port", sim.devicePath(), "--csv"},
             {"monitor", "--port", sim.devicePath(), "--count", "2"},
             {"read", "--port", sim.devicePath(), "-o", path("read.ign")}}) {
        const CliRun r = runIntoFullDevice(words);
        EXPECT_EQ(r.exitCode, 2) << words[0];
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    }
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
        EXPECT_EQ(std::count(line.begin(), line.end(), ','),
                  std::ssize(datalog::logColumnNames()) - 1)
            << line;
        EXPECT_NE(line.find(",63,"), std::string::npos) << "the unit's version";
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
