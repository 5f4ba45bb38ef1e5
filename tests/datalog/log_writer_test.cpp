// The log writer leaves whole lines only, whenever its process ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "../support/temp_folder.h"
#include "datalog/log_reader.h"
#include "datalog/log_writer.h"
#include "ride_rows.h"

namespace zelvor::datalog {
namespace {

using testing::RowBuilder;

TEST(LogWriter, EveryAppendedRowIsInTheFileAtOnce) {
    const testing::TempFolder folder("zelvor-log-");
    const std::string path = (folder.path() / "ride.csv").string();
    LogWriter writer;
    ASSERT_TRUE(writer.open(path)) << writer.error();
    EXPECT_EQ(testing::contentOf(path), logHeader() + "\n");
    ASSERT_TRUE(writer.append(RowBuilder().at(0).marker("start")));
    ASSERT_TRUE(writer.append(RowBuilder().at(55)));
    // Read while the writer still holds the file: nothing waits in a buffer.
    const LogReadResult read = parseRideLog(testing::contentOf(path));
    ASSERT_TRUE(read.log) << read.error;
    EXPECT_EQ(read.log->rows.size(), 2u);
    EXPECT_EQ(read.log->rows[0].marker, "start");
    EXPECT_EQ(writer.rowsWritten(), 2);
    EXPECT_TRUE(writer.close());
}

TEST(LogWriter, NoLineCrossesAPageAndALongMarkerIsShortened) {
    const testing::TempFolder folder("zelvor-log-");
    const std::string path = (folder.path() / "pages.csv").string();
    LogWriter writer;
    ASSERT_TRUE(writer.open(path));
    const std::string longMarker(3000, 'x');
    for (int i = 0; i < 300; ++i) {
        // Markers of many lengths, a few of them far too long for a line.
        const std::string marker = i % 50 == 7 ? "\"" + longMarker : std::string(i % 37, 'm');
        ASSERT_TRUE(writer.append(RowBuilder().at(i).marker(marker)));
    }
    ASSERT_TRUE(writer.close());
    const std::string text = testing::contentOf(path);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(start / LogWriter::kPageBytes, end / LogWriter::kPageBytes)
            << "the line at byte " << start << " crosses a page";
        start = end + 1;
    }
    const LogReadResult read = parseRideLog(text);
    ASSERT_TRUE(read.log) << read.error;
    ASSERT_EQ(read.log->rows.size(), 300u);
    EXPECT_EQ(read.log->rows[36].marker, std::string(36, 'm')) << "padding is no part of a marker";
    const std::string& shortened = read.log->rows[7].marker;
    EXPECT_GT(shortened.size(), 100u);
    EXPECT_EQ(shortened, ("\"" + longMarker).substr(0, shortened.size()));
}

TEST(LogWriter, APlaceThatCannotBeWrittenIsReported) {
    LogWriter writer;
    EXPECT_FALSE(writer.open("/nonexistent/folder/ride.csv"));
    EXPECT_NE(writer.error().find("cannot create /nonexistent/folder/ride.csv"), std::string::npos);
    EXPECT_FALSE(writer.append(RowBuilder()));

    LogWriter full;
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(full.open("/dev/full"));
    EXPECT_NE(full.error().find("cannot write /dev/full"), std::string::npos) << full.error();
}

TEST(LogWriter, ARecordingKilledAtAnyMomentLeavesOnlyWholeLines) {
    const testing::TempFolder folder("zelvor-log-");
    const std::string path = (folder.path() / "killed.csv").string();
    for (const int afterMs : {30, 61, 97}) {
        std::filesystem::remove(path);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            LogWriter writer;
            if (!writer.open(path)) ::_exit(1);
            for (std::int64_t t = 0;; t += 55) {
                writer.append(RowBuilder().at(t).marker("a long marker to make long lines"));
            }
        }
        // The kill lands while rows are written: the delay counts from the
        // file's first bytes, however long a loaded machine takes to get
        // the child that far.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::error_code error;
        while (std::filesystem::file_size(path, error) == 0 || error) {
            if (std::chrono::steady_clock::now() > giveUp) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string text = testing::contentOf(path);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n') << "after " << afterMs << " ms";
        const LogReadResult read = parseRideLog(text);
        ASSERT_TRUE(read.log) << read.error;
        EXPECT_TRUE(read.log->notes.empty());
    }
}

}  // namespace
}  // namespace zelvor::datalog
