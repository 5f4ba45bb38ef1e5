// Reading ride logs back: damaged and foreign files get a message naming the
// line, a power cut's last line is dropped with a note.
#include <gtest/gtest.h>

#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "ride_rows.h"

namespace zelvor::datalog {
namespace {

using testing::RowBuilder;

std::string twoRows() {
    return testing::logText({RowBuilder().at(0), RowBuilder().at(55).lambda(700)});
}

// The text with the n-th comma-separated field of line `line` (1-based)
// replaced.
std::string withField(std::string text, int line, std::size_t field, const std::string& value) {
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) start = text.find('\n', start) + 1;
    for (std::size_t f = 1; f < field; ++f) start = text.find(',', start) + 1;
    const std::size_t end = text.find_first_of(",\n", start);
    return text.replace(start, end - start, value);
}

TEST(LogReader, ReadsWhatTheWriterWritesWithEitherLineEnd) {
    const LogReadResult read = parseRideLog(twoRows());
    ASSERT_TRUE(read.log) << read.error;
    EXPECT_EQ(read.log->rows.size(), 2u);
    EXPECT_EQ(read.log->rows[1].value(link::MonitorChannel::Lambda), 700);

    std::string crlf;
    for (const char c : twoRows()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const LogReadResult windows = parseRideLog("\xEF\xBB\xBF" + crlf);
    ASSERT_TRUE(windows.log) << windows.error;
    EXPECT_EQ(windows.log->rows, read.log->rows);
}

TEST(LogReader, LastLineCutOffByAPowerCutIsDroppedWithANote) {
    const std::string text = twoRows();
    // Cut anywhere inside the last line, even right after a comma.
    for (const std::size_t keep : {std::size_t{1}, std::size_t{7}, std::size_t{40}}) {
        const std::string cut = text.substr(0, text.size() - keep);
        const LogReadResult read = parseRideLog(cut);
        ASSERT_TRUE(read.log) << read.error;
        EXPECT_EQ(read.log->rows.size(), 1u);
        ASSERT_EQ(read.log->notes.size(), 1u);
        EXPECT_NE(read.log->notes[0].find("line 3 is incomplete"), std::string::npos);
    }
    const LogReadResult headerOnly = parseRideLog(logHeader() + "\n");
    ASSERT_TRUE(headerOnly.log);
    EXPECT_TRUE(headerOnly.log->rows.empty());
}

TEST(LogReader, ForeignFilesAreRefusedAtTheirHeader) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "the file is empty"},
        {"elapsed_s,engine_speed_rpm\n1.0,4000\n",
         "line 1: not a ride log of this program: column 1 should be time_ms, not 'elapsed_s'"},
        {logHeader() + ",extra\n", "the header has"},
        {"time_ms,engine_speed_rpm\n", "column 3 should be throttle_percent, but the header ends"},
        {std::string("\x00\xFF\x10 binary", 9), "line 1: not a ride log"},
    };
    for (const auto& c : cases) {
        const LogReadResult read = parseRideLog(c.text);
        EXPECT_FALSE(read.log);
        EXPECT_NE(read.error.find(c.message), std::string::npos) << read.error;
    }
}

TEST(LogReader, DamagedRowsAreNamedByLineAndColumn) {
    const std::size_t lambda =
        1 + kFirstChannelColumn + static_cast<std::size_t>(link::MonitorChannel::Lambda);
    const std::size_t supply =
        1 + kFirstChannelColumn + static_cast<std::size_t>(link::MonitorChannel::Supply);
    const std::size_t inj1Row = 1 + kFirstCellColumn + kCellColumnsPerMap;
    const std::size_t firstFlag = 1 + kFirstFlagColumn;
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {withField(twoRows(), 3, lambda, "4x5"),
         "line 3: column " + std::to_string(lambda) + ": '4x5' is not a number"},
        {withField(twoRows(), 2, supply, "13.8001"), "at most 3 decimals (supply_v)"},
        {withField(twoRows(), 2, lambda, ""), "'' is not a number"},
        {withField(twoRows(), 2, lambda, "99999999999999999999"), "is not a number"},
        {withField(twoRows(), 3, inj1Row, "10"),
         "line 3: column " + std::to_string(inj1Row) + ": '10' is not a map row 0..9 (inj1_row)"},
        {withField(twoRows(), 2, inj1Row + 2, "1.5"), "a position 0..1"},
        {withField(twoRows(), 2, firstFlag, "2"), "0 or 1 (start_switch_in)"},
        {withField(twoRows(), 3, 1, "-5"), "line 3: column 1: '-5' is not a time in ms"},
        {withField(twoRows(), 3, 1, "0") + "0\n", "line 4"},
        {withField(twoRows(), 2, 1, "60"), "line 3: column 1: the time goes back from 60 to 55"},
        {withField(twoRows(), 2, 2, "4000,5"), "line 2: column 89: 90 columns instead of 89"},
        {twoRows() + "1,2,3\n", "line 4: column 3: 3 columns instead of 89"},
        {withField(twoRows(), 2, 89, "\"open marker"), "line 2: column 89: the quoted marker"},
        {withField(twoRows(), 2, 89, "\"closed\"x"), "text after the quoted marker"},
    };
    for (const auto& c : cases) {
        const LogReadResult read = parseRideLog(c.text);
        EXPECT_FALSE(read.log) << c.message;
        EXPECT_NE(read.error.find(c.message), std::string::npos) << read.error;
    }
}

TEST(LogReader, AFileThatCannotBeOpenedIsReportedByName) {
    const LogReadResult read = readRideLog("/nonexistent/ride.csv");
    EXPECT_FALSE(read.log);
    EXPECT_EQ(read.error, "cannot open /nonexistent/ride.csv");
}

}  // namespace
}  // namespace zelvor::datalog
