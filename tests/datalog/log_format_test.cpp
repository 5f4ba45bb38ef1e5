// The ride log's columns, the rows made from monitor answers and the lines
// they become.
#include <gtest/gtest.h>

#include <set>

#include "../support/temp_folder.h"
#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "datalog/log_row.h"
#include "link/monitor_decoder.h"
#include "ride_rows.h"
#include "sim/default_image.h"
#include "sim/engine_model.h"
#include "sim/monitor_frame.h"

namespace zelvor::datalog {
namespace {

using link::MonitorChannel;
using testing::RowBuilder;

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) {
        if (c == ',') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::string cellOf(const std::string& line, const std::string& name) {
    const std::vector<std::string> cells = split(line);
    const std::vector<std::string>& names = logColumnNames();
    for (std::size_t i = 0; i < names.size() && i < cells.size(); ++i) {
        if (names[i] == name) return cells[i];
    }
    ADD_FAILURE() << "no column " << name;
    return {};
}

TEST(LogColumns, HeaderIsStableAndEveryNameUnique) {
    const std::string header = logHeader();
    // What scripts and spreadsheets rely on: the time first, the channels in
    // the order of the monitor's CSV, then cells, flags and the marker last.
    EXPECT_EQ(header.rfind("time_ms,engine_speed_rpm,throttle_percent,throttle_sensor_mv,", 0), 0u);
    EXPECT_NE(header.find(",lambda_mv,"), std::string::npos);
    EXPECT_NE(header.find(",test8,advance_row,advance_column,advance_row_position,"
                          "advance_column_position,inj1_row,"),
              std::string::npos)
        << header;
    EXPECT_NE(header.find(",inj2_column_position,start_switch_in,"), std::string::npos);
    EXPECT_EQ(header.substr(header.size() - 20), ",fuel_warning,marker");
    const std::vector<std::string>& names = logColumnNames();
    EXPECT_EQ(names.size(), 1 + link::kMonitorChannelCount + 12 + link::kMonitorFlagCount + 1);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(split(header), names);
}

TEST(LogColumns, TheDocumentationListsEveryColumnInOrder) {
    const std::string text = testing::contentOf(ZELVOR_SOURCE_DIR "/docs/ride-log.md");
    std::vector<std::string> documented;
    for (std::size_t at = text.find("\n| `"); at != std::string::npos;
         at = text.find("\n| `", at + 1)) {
        const std::size_t end = text.find('`', at + 4);
        documented.push_back(text.substr(at + 4, end - at - 4));
    }
    EXPECT_EQ(documented, logColumnNames());
}

TEST(LogRows, AMonitorAnswerBecomesARowWithItsLitCells) {
    model::ParameterImage image = sim::builtInImage();
    const sim::EngineState engine =
        sim::simulateHeldEngine(std::chrono::milliseconds(0), image, sim::HeldPoint{4000.0, 20.0});
    link::MonitorDecoder decoder;
    ASSERT_TRUE(decoder.decode(sim::encodeMonitorFrame(engine, sim::UnitStatus{}).bytes()));
    const LogRow row = makeLogRow(decoder.sample(), decoder.live(), image, 1234, "pit");
    const std::string line = logLine(row);
    EXPECT_EQ(cellOf(line, "time_ms"), "1234");
    EXPECT_EQ(cellOf(line, "engine_speed_rpm"), "4000");
    EXPECT_EQ(cellOf(line, "throttle_percent"), "20.0");
    EXPECT_EQ(cellOf(line, "marker"), "pit");
    const int column = [&] {
        for (int c = 0; c < 15; ++c) {
            if (image.get(model::Field::RPM_JET_1A_Rpm, c) * 100 == 4000) return c;
        }
        return -1;
    }();
    ASSERT_GE(column, 0) << "the built-in axis has a 4000 rpm point";
    EXPECT_EQ(cellOf(line, "inj1_row"), "4");
    EXPECT_EQ(cellOf(line, "inj1_column"), std::to_string(column));
    EXPECT_EQ(cellOf(line, "inj1_row_position"), "0.500");
    EXPECT_EQ(cellOf(line, "inj1_column_position"), "0.500");
}

TEST(LogRows, PositionInsideTheCellRunsFromItsLowerToItsUpperEdge) {
    const std::array<int, 4> axis = {1000, 2000, 3000, 5000};
    EXPECT_EQ(positionInCell(axis, 1, 2000), 500);
    EXPECT_EQ(positionInCell(axis, 1, 1500), 0) << "half way belongs to the upper cell";
    EXPECT_EQ(positionInCell(axis, 1, 2499), 999);
    EXPECT_EQ(positionInCell(axis, 2, 3500), 750) << "the upper half reaches to 4000";
    // Outer cells mirror their inner half and stop at their edge.
    EXPECT_EQ(positionInCell(axis, 0, 500), 0);
    EXPECT_EQ(positionInCell(axis, 0, 750), 250);
    EXPECT_EQ(positionInCell(axis, 3, 9000), 1000);
    EXPECT_EQ(positionInCell(axis, 3, 5500), 750);
}

TEST(LogRows, AnAdvanceMapWithoutThrottleUsesItsFullRowAtTheCentre) {
    model::ParameterImage image = sim::builtInImage();
    image.set(model::Field::ADVANCE_MISC_UseTps, 0, 0);
    const sim::EngineState engine =
        sim::simulateHeldEngine(std::chrono::milliseconds(0), image, sim::HeldPoint{4000.0, 3.0});
    link::MonitorDecoder decoder;
    ASSERT_TRUE(decoder.decode(sim::encodeMonitorFrame(engine, sim::UnitStatus{}).bytes()));
    const LogRow row = makeLogRow(decoder.sample(), decoder.live(), image, 0);
    EXPECT_EQ(row.cell(0).row, 9);
    EXPECT_EQ(row.cell(0).rowPosition, LitCell::kCentre);
    EXPECT_EQ(row.cell(1).row, 1) << "3 % is nearest to the 2 % row";
    EXPECT_EQ(row.cell(1).rowPosition, 833) << "3 % inside 2 % (from 1 to 3.5 %)";
}

TEST(LogRows, FaultsMarkersAndNumbersComeBackAsTheyWereWritten) {
    std::vector<LogRow> rows;
    rows.push_back(RowBuilder().at(0).error(MonitorChannel::Coolant).marker("a, \"b\""));
    rows.push_back(RowBuilder().at(10).marker("ends in a blank "));
    rows.insert(rows.begin() + 1, RowBuilder()
                                      .at(5)
                                      .error(MonitorChannel::Throttle)
                                      .set(MonitorChannel::SupplyInjectionCorrection, -12)
                                      .set(MonitorChannel::Supply, 13800)
                                      .flag(link::MonitorFlag::ThrottleFault)
                                      .cell(9, 14, 1000, 0)
                                      .marker("two\nlines"));
    const std::string line = logLine(rows[1]);
    EXPECT_EQ(cellOf(line, "throttle_percent"), "error");
    EXPECT_EQ(cellOf(line, "supply_v"), "13.800");
    EXPECT_EQ(cellOf(line, "supply_injection_correction_us"), "-12");
    EXPECT_EQ(line.find('\n'), std::string::npos) << "a marker never breaks the line";

    const LogReadResult read = parseRideLog(testing::logText(rows));
    ASSERT_TRUE(read.log) << read.error;
    ASSERT_EQ(read.log->rows.size(), 3u);
    EXPECT_EQ(read.log->rows[0], rows[0]);
    EXPECT_EQ(read.log->rows[2], rows[2]);
    rows[1].marker = "two lines";
    EXPECT_EQ(read.log->rows[1], rows[1]);
    EXPECT_TRUE(read.log->notes.empty());
}

}  // namespace
}  // namespace zelvor::datalog
