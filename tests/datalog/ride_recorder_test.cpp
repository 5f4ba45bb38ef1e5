// Recording rows from monitor answers, and a row turned back into the answer
// it came from.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "../support/temp_folder.h"
#include "datalog/log_reader.h"
#include "datalog/monitor_replay.h"
#include "datalog/ride_recorder.h"
#include "link/monitor_decoder.h"
#include "model/default_set.h"
#include "ride_rows.h"

namespace zelvor::datalog {
namespace {

using link::MonitorChannel;
using link::MonitorFlag;
using zelvor::testing::RowBuilder;

model::ParameterImage defaultTune() {
    model::ParameterImage image;
    model::loadDefaultSet(image);
    return image;
}

link::MonitorDecoder decoded(const LogRow& row) {
    link::MonitorDecoder decoder;
    EXPECT_TRUE(decoder.decode(monitorAnswerOf(row).bytes()));
    return decoder;
}

TEST(MonitorReplay, ARowComesBackAsTheAnswerItWasMadeFrom) {
    const model::ParameterImage tune = defaultTune();
    const LogRow rows[] = {
        RowBuilder()
            .throttleTenths(237)
            .set(MonitorChannel::Coolant, -20)
            .set(MonitorChannel::Supply, 13800)
            .set(MonitorChannel::Injection1, 3400)
            .set(MonitorChannel::CoolantAdvanceCorrection, -35)
            .set(MonitorChannel::SupplyInjectionCorrection, -120)
            .set(MonitorChannel::RoadSpeed, 143)
            .flag(MonitorFlag::StartSwitchIn)  // active when its bit is clear
            .flag(MonitorFlag::NeutralIn)
            .flag(MonitorFlag::Fan2),
        // Faulty sensors logged as "error".
        RowBuilder()
            .error(MonitorChannel::Coolant)
            .error(MonitorChannel::Throttle)
            .flag(MonitorFlag::ThrottleFault),
        RowBuilder().throttleTenths(1000).set(MonitorChannel::EngineSpeed, 12998),
    };
    for (const LogRow& row : rows) {
        const link::MonitorDecoder decoder = decoded(row);
        const LogRow again = makeLogRow(decoder.sample(), decoder.live(), tune, row.timeMs);
        EXPECT_EQ(again.values, row.values);
        EXPECT_EQ(again.error, row.error);
        EXPECT_EQ(again.flags, row.flags);
    }
}

TEST(MonitorReplay, TheReplayedAnswerGivesTheLiveValuesTheEngineRanAt) {
    const link::MonitorDecoder live =
        decoded(RowBuilder().set(MonitorChannel::EngineSpeed, 5000).throttleTenths(300));
    EXPECT_EQ(live.live().engineSpeed, 5000);
    EXPECT_EQ(live.live().throttlePercent, 30);
    // A missing coolant sensor works on with the unit's replacement value.
    EXPECT_EQ(decoded(RowBuilder().error(MonitorChannel::Coolant)).live().coolantRaw, 180);
}

class RideRecorderTest : public ::testing::Test {
  protected:
    zelvor::testing::TempFolder folder_{"ride-recorder"};
    model::ParameterImage tune_ = defaultTune();
};

TEST_F(RideRecorderTest, RowsCountFromTheStartAndMarkersGoToTheNextRow) {
    RideRecorder recorder;
    ASSERT_TRUE(recorder.start(folder_.file("r.csv"), 10'000));
    const link::MonitorDecoder answer = decoded(RowBuilder().lambda(610));
    ASSERT_TRUE(recorder.record(answer.sample(), answer.live(), tune_, 10'040));
    recorder.mark("pit lane");
    recorder.mark("M2");
    ASSERT_TRUE(recorder.record(answer.sample(), answer.live(), tune_, 10'095));
    ASSERT_TRUE(recorder.record(answer.sample(), answer.live(), tune_, 10'150));
    EXPECT_EQ(recorder.rows(), 3);
    EXPECT_EQ(recorder.lastRow().timeMs, 150);
    EXPECT_EQ(recorder.elapsedMs(12'000), 2'000);
    ASSERT_TRUE(recorder.stop());
    EXPECT_FALSE(recorder.recording());

    const LogReadResult read = readRideLog(folder_.file("r.csv"));
    ASSERT_TRUE(read.log) << read.error;
    ASSERT_EQ(read.log->rows.size(), 3U);
    EXPECT_EQ(read.log->rows[0].timeMs, 40);
    EXPECT_EQ(read.log->rows[0].value(MonitorChannel::Lambda), 610);
    EXPECT_EQ(read.log->rows[0].marker, "");
    EXPECT_EQ(read.log->rows[1].marker, "pit lane; M2");
    EXPECT_EQ(read.log->rows[2].marker, "");
}

TEST_F(RideRecorderTest, AFileThatCannotBeWrittenIsReportedAndRecordsNothing) {
    RideRecorder recorder;
    EXPECT_FALSE(recorder.start(folder_.file("missing/r.csv"), 0));
    EXPECT_NE(recorder.error().find("missing"), std::string::npos) << recorder.error();
    EXPECT_FALSE(recorder.recording());
    const link::MonitorDecoder answer = decoded(RowBuilder());
    EXPECT_FALSE(recorder.record(answer.sample(), answer.live(), tune_, 10));
    // A full disk refuses the first line already.
    EXPECT_FALSE(recorder.start("/dev/full", 0));
    EXPECT_FALSE(recorder.error().empty());
}

TEST(RideLogFileName, DateTimeAndTheTuneWithoutFolderOrExtension) {
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = 4;
    start.tm_mday = 14;
    start.tm_hour = 9;
    start.tm_min = 30;
    start.tm_sec = 2;
    EXPECT_EQ(rideLogFileName(start, "/home/t/maps/street v2.ign"),
              "2026-05-14_09-30-02_street_v2.csv");
    EXPECT_EQ(rideLogFileName(start, ""), "2026-05-14_09-30-02_untitled.csv");
    EXPECT_EQ(rideLogFileName(start, "dir.x/../a/b:c*.ign"), "2026-05-14_09-30-02_b_c_.csv");
}

}  // namespace
}  // namespace zelvor::datalog
