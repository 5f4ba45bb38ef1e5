// The live test against the simulated unit over a real pseudo-terminal.
#include "doctor/live_test.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <stdexcept>

#include "../support/started_simulator.h"
#include "../support/temp_folder.h"
#include "launcher/sim_process.h"

namespace zelvor::doctor {
namespace {

sim::SimProcess simulator(const std::vector<std::string>& arguments = {}) {
    return zelvor::testing::startedSimulator(ZELVOR_SIM_EXECUTABLE, arguments);
}

TEST(LiveTest, UnitAnswersWithItsVersion) {
    sim::SimProcess unit = simulator();
    const LiveTestResult result = runLiveTest(unit.devicePath());
    EXPECT_TRUE(result.opened) << result.openError;
    EXPECT_TRUE(result.answered);
    EXPECT_EQ(result.unitVersion, 63);
    EXPECT_LT(result.ticksWaited, LiveTestTiming{}.ticks);

    sim::SimProcess older = simulator({"--version", "62"});
    const LiveTestResult other = runLiveTest(older.devicePath());
    EXPECT_TRUE(other.answered);
    EXPECT_EQ(other.unitVersion, 62);
}

TEST(LiveTest, AnswersThatFailTheirCheckAreNoAnswer) {
    // Every answer damaged: bytes arrive, but no answer the link accepts.
    sim::SimProcess unit = simulator({"--fault", "corrupt=1"});
    const LiveTestResult result =
        runLiveTest(unit.devicePath(), {std::chrono::milliseconds(55), 6});
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.answered);
    EXPECT_GE(result.bytesReceived, 152u);
}

TEST(LiveTest, SilentUnitIsWaitedForABoundedTime) {
    sim::SimProcess unit = simulator({"--fault", "silent"});
    const LiveTestTiming timing{std::chrono::milliseconds(20), 4};
    const LiveTestResult result = runLiveTest(unit.devicePath(), timing);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.answered);
    EXPECT_EQ(result.bytesReceived, 0u);
    EXPECT_EQ(result.ticksWaited, 4);
}

TEST(LiveTest, PortThatDoesNotOpenSaysWhy) {
    const LiveTestResult missing = runLiveTest("/dev/zelvor-no-such-device");
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.openError, "No such file or directory");
    EXPECT_EQ(missing.openErrno, ENOENT);

    zelvor::testing::TempFolder folder("zelvor-live-");
    const LiveTestResult plainFile = runLiveTest(folder.put("not-a-port", "x").string());
    EXPECT_FALSE(plainFile.opened);
    EXPECT_EQ(plainFile.openError, "not a serial device");
    EXPECT_EQ(plainFile.openErrno, ENOTTY);
}

}  // namespace
}  // namespace zelvor::doctor
