// zelvor-cli log against zelvor-sim, and tune-from-log on log files.
#include <gtest/gtest.h>

#include <algorithm>

#include <optional>
#include <string>
#include <vector>

#include "../../datalog/ride_rows.h"
#include "../../support/program_run.h"
#include "../../support/started_simulator.h"
#include "../../support/temp_folder.h"
#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "launcher/sim_process.h"
#include "model/default_set.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::cli {
namespace {

using CliRun = zelvor::testing::ProgramRun;
using zelvor::testing::RowBuilder;

class CliRideLog : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.file(name); }

    static sim::SimProcess simulator(const std::vector<std::string>& arguments = {}) {
        return zelvor::testing::startedSimulator(ZELVOR_SIM_EXECUTABLE, arguments);
    }

    CliRun run(const std::vector<std::string>& arguments) const {
        return zelvor::testing::runProgram(ZELVOR_CLI_PATH, arguments, path("stdout"),
                                           path("stderr"));
    }

    // The default set (coupled maps) as a tune file.
    std::string tuneFile() const {
        model::ParameterImage image;
        model::loadDefaultSet(image);
        model::sanitize(image);
        folder_.put("tune.ign", model::formatParameterFile(image));
        return path("tune.ign");
    }

    model::ParameterImage readTune(const std::string& file) const {
        model::ParameterImage image;
        model::loadDefaultSet(image);
        model::parseParameterFile(zelvor::testing::contentOf(file), image);
        return image;
    }

    // A log of a warm engine in row 4, column 3 of both injection maps whose
    // probe reads lean throughout.
    std::string leanLog() const {
        std::vector<datalog::LogRow> rows;
        for (int i = 0; i < 60; ++i) rows.push_back(RowBuilder().at(i * 55).lambda(120));
        folder_.put("lean.csv", zelvor::testing::logText(rows));
        return path("lean.csv");
    }

    zelvor::testing::TempFolder folder_{"zelvor-cli-ride-"};
};

// The middle gap between consecutive rows, in ms.
std::int64_t medianGapMs(const std::vector<datalog::LogRow>& rows) {
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < rows.size(); ++i)
        gaps.push_back(rows[i].timeMs - rows[i - 1].timeMs);
    if (gaps.empty()) return 0;
    std::nth_element(gaps.begin(), gaps.begin() + std::ptrdiff_t(gaps.size() / 2), gaps.end());
    return gaps[gaps.size() / 2];
}

TEST_F(CliRideLog, LogRecordsRowsOnEveryTickWithTheUnitsCells) {
    sim::SimProcess sim = simulator({"--ride", "sweep", "--cells", "3-3,5-5"});
    const CliRun r =
        run({"log", "--port", sim.devicePath(), "--seconds", "2", "-o", path("r.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const datalog::LogReadResult read = datalog::readRideLog(path("r.csv"));
    ASSERT_TRUE(read.log) << read.error;
    const std::vector<datalog::LogRow>& rows = read.log->rows;
    // A row on every tick: about 18 a second. A busy machine runs fewer
    // ticks, so the gap between rows tells the polling, not their number.
    EXPECT_GE(rows.size(), 5u);
    EXPECT_LE(rows.size(), 38u);
    EXPECT_LT(medianGapMs(rows), 150);
    EXPECT_NE(r.out.find(std::to_string(rows.size()) + " rows in " + path("r.csv")),
              std::string::npos)
        << r.out;
    for (const datalog::LogRow& row : rows) {
        EXPECT_EQ(row.cell(1).row, 3);
        EXPECT_EQ(row.cell(1).column, 5);
        EXPECT_EQ(row.cell(1).columnPosition, datalog::LitCell::kCentre);
        EXPECT_LE(row.timeMs, 2000);
    }

    const CliRun normal =
        run({"log", "--port", sim.devicePath(), "--seconds", "2", "--normal", "-o", path("n.csv")});
    ASSERT_EQ(normal.exitCode, 0) << normal.err;
    const datalog::LogReadResult slow = datalog::readRideLog(path("n.csv"));
    ASSERT_TRUE(slow.log) << slow.error;
    EXPECT_GE(slow.log->rows.size(), 2u);
    EXPECT_LE(slow.log->rows.size(), 7u) << "every sixth tick: about 3 a second";
    EXPECT_GT(medianGapMs(slow.log->rows), 250);
}

TEST_F(CliRideLog, LogOfASilentUnitOrToAnUnwritablePlaceFails) {
    sim::SimProcess silent = simulator({"--fault", "silent"});
    const CliRun r = run({"log", "--port", silent.devicePath(), "-o", path("s.csv")});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("Read error!"), std::string::npos) << r.err;

    sim::SimProcess sim = simulator();
    const CliRun nowhere =
        run({"log", "--port", sim.devicePath(), "--seconds", "1", "-o", "/nonexistent/r.csv"});
    EXPECT_EQ(nowhere.exitCode, 2);
    EXPECT_NE(nowhere.err.find("cannot create /nonexistent/r.csv"), std::string::npos)
        << nowhere.err;
    const CliRun both =
        run({"log", "--port", sim.devicePath(), "--fast", "--normal", "-o", path("b.csv")});
    EXPECT_EQ(both.exitCode, 2);
}

TEST_F(CliRideLog, TuneFromLogRaisesALeanCellAndReportsIt) {
    const std::string tune = tuneFile();
    const CliRun r = run({"tune-from-log", tune, leanLog(), "-o", path("new.ign"), "--report"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const model::ParameterImage before = readTune(tune);
    const model::ParameterImage after = readTune(path("new.ign"));
    constexpr std::size_t kCell = 4 * 15 + 3;
    EXPECT_NEAR(after.get(model::Field::JET_1A_Cell, kCell),
                before.get(model::Field::JET_1A_Cell, kCell) * 1.05, 2.0)
        << "all lean: the default step of 5 %";
    EXPECT_GT(after.get(model::Field::JET_2A_Cell, kCell),
              before.get(model::Field::JET_2A_Cell, kCell))
        << "coupled: map 2 follows";
    for (std::size_t k = 0; k < 150; ++k) {
        if (k == kCell) continue;
        EXPECT_EQ(after.get(model::Field::JET_1A_Cell, k),
                  before.get(model::Field::JET_1A_Cell, k));
    }
    EXPECT_NE(r.out.find("rows: 60, used 54"), std::string::npos) << r.out;
    EXPECT_NE(
        r.out.find("inj1      20 %    4000    54.0      120  100 %   +5.0 %    100 %   105 %"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("1 cells changed"), std::string::npos) << r.out;

    // A smaller step, and a cell that needs more hits than the log has.
    const CliRun step = run(
        {"tune-from-log", tune, leanLog(), "-o", path("step.ign"), "--max-step", "2", "--report"});
    EXPECT_NE(step.out.find("+2.0 %    100 %   102 %"), std::string::npos) << step.out;
    const CliRun thin = run(
        {"tune-from-log", tune, leanLog(), "-o", path("thin.ign"), "--min-hits", "55", "--report"});
    EXPECT_NE(thin.out.find("too few hits"), std::string::npos) << thin.out;
    EXPECT_EQ(zelvor::testing::contentOf(path("thin.ign")), zelvor::testing::contentOf(tune));
}

TEST_F(CliRideLog, TuneFromLogRefusesDamagedLogsAndBadSettingsWithoutWriting) {
    const std::string tune = tuneFile();
    std::string text = zelvor::testing::contentOf(leanLog());
    text.insert(text.find('\n', text.find('\n') + 1) + 1, "12,oops\n");
    folder_.put("bad.csv", text);
    const CliRun bad = run({"tune-from-log", tune, path("bad.csv"), "-o", path("x.ign")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find(path("bad.csv") + ": line 3: column 2: 2 columns instead of 89"),
              std::string::npos)
        << bad.err;
    EXPECT_FALSE(std::filesystem::exists(path("x.ign")));

    for (const std::vector<std::string>& option : {std::vector<std::string>{"--max-step", "-1"},
                                                   {"--delay", "1.5"},
                                                   {"--min-coolant", "hot"},
                                                   {"--map", "advance"}}) {
        std::vector<std::string> words = {"tune-from-log", tune, leanLog(), "-o", path("x.ign")};
        words.insert(words.end(), option.begin(), option.end());
        const CliRun r = run(words);
        EXPECT_EQ(r.exitCode, 2) << option[0];
        EXPECT_NE(r.err.find(option[0]), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(path("x.ign")));
    }

    // A power cut's last line is left out with a note; the rest counts.
    std::string cut = zelvor::testing::contentOf(leanLog());
    cut.resize(cut.size() - 10);
    folder_.put("cut.csv", cut);
    const CliRun noted = run({"tune-from-log", tune, path("cut.csv"), "-o", path("y.ign")});
    EXPECT_EQ(noted.exitCode, 0) << noted.err;
    EXPECT_NE(noted.err.find("line 61 is incomplete"), std::string::npos) << noted.err;
}

}  // namespace
}  // namespace zelvor::cli
