// The command line's transfer loop against the simulated unit's answer logic
// in process: outcomes, tick counts, faults and the start again after a
// failure, without a pseudo-terminal or real time.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../../support/parameter_images.h"
#include "cli/progress_display.h"
#include "cli/transfer_run.h"
#include "in_process_unit.h"
#include "model/field_table.h"
#include "model/sanitizer.h"
#include "sim/default_image.h"
#include "sim/fault_plan.h"

namespace zelvor::cli {
namespace {

using model::Field;
using model::ParameterImage;
using Status = TransferOutcome::Status;
using testing::CountingTickClock;
using testing::InProcessUnitPort;
using zelvor::testing::saneDefaults;

// The first request leaves on the first tick: the command line has no monitor
// answer in flight to wait for. Then every answer is taken on the tick after
// its request and the next request leaves at once.
constexpr int kFirstRequestTick = 1;
// 10 blocks read (information block included), then 9 verified.
constexpr int kReadTicks = kFirstRequestTick + 19;
// A request nobody answers is sent 5 times, 6 ticks apart from the first,
// and the transfer fails 6 ticks after the last.
constexpr int kSilentTicks = kFirstRequestTick + 5 * 6;

sim::FaultPlan faults(const std::vector<std::string>& texts) {
    sim::FaultPlan plan;
    for (const std::string& text : texts) {
        std::string error;
        const std::optional<sim::Fault> fault = sim::parseFault(text, error);
        EXPECT_TRUE(fault) << error;
        if (fault) plan.add(*fault);
    }
    return plan;
}

sim::SimUnit unitWith(const std::vector<std::string>& faultTexts = {},
                      std::uint8_t version = sim::kProgramVersion) {
    sim::UnitIdentity identity;
    identity.version = version;
    return sim::SimUnit(sim::BlockStore(), identity, faults(faultTexts));
}

// An image that differs from the simulated unit's in one advance map cell,
// a difference the range rules keep.
ParameterImage unitImageWithOneCellRaised() {
    ParameterImage image = sim::builtInImage();
    image.set(Field::ADVANCE_Cell, 64, image.get(Field::ADVANCE_Cell, 64) + 1u);
    ParameterImage sanitized = image;
    model::sanitize(sanitized);
    EXPECT_EQ(sanitized, image) << "the raised cell must survive the range rules";
    return image;
}

class TransferRunTest : public ::testing::Test {
  protected:
    TransferOutcome runWith(sim::SimUnit* unit, TransferKind kind,
                            const TransferRun::ProgressListener& progress = {}) {
        port.attach(unit);
        return transfer.run(kind, clock, progress);
    }

    i18n::MessageTable messages;
    ParameterImage image = saneDefaults(0);
    InProcessUnitPort port{nullptr};
    CountingTickClock clock{port};
    TransferRun transfer{image, port, messages};
};

TEST_F(TransferRunTest, ReadTakesTheUnitsImageAndStopsOnTheTickOfTheLastAnswer) {
    sim::SimUnit unit = unitWith();
    const TransferOutcome outcome = runWith(&unit, TransferKind::Read);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(outcome.text, "Verify: OK");
    EXPECT_EQ(outcome.ticks, kReadTicks);
    EXPECT_EQ(clock.ticks, kReadTicks);
    EXPECT_EQ(image, unit.store().image());
    EXPECT_EQ(port.requests(), 19);
    const link::UnitIdentification& id = transfer.link().transfer().identification();
    EXPECT_EQ(id.identification, "Zelvor simulated unit");
    EXPECT_EQ(id.date, "14. 3.2025");
    EXPECT_EQ(id.time, "10:30");
}

// A clock on which every answer is whole before the next tick is due.
class AnswersBetweenTicksClock final : public TickClock {
  public:
    explicit AnswersBetweenTicksClock(CountingTickClock& ticks) : ticks_(ticks) {}
    void waitForNextTick() override { ticks_.waitForNextTick(); }
    bool waitForNextTickOr(const std::function<bool()>& ready) override {
        if (ready()) return false;
        waitForNextTick();
        return true;
    }

  private:
    CountingTickClock& ticks_;
};

TEST_F(TransferRunTest, AnswersAreTakenAsSoonAsTheyAreWhole) {
    sim::SimUnit unit = unitWith();
    port.attach(&unit);
    AnswersBetweenTicksClock eager(clock);
    const TransferOutcome outcome = transfer.run(TransferKind::Read, eager);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(outcome.ticks, kFirstRequestTick) << "every later request left on an answer";
    EXPECT_EQ(port.requests(), 19);
    EXPECT_EQ(image, unit.store().image());
}

TEST_F(TransferRunTest, ProgramStoresTheImageAndEndsWithTheProgrammingText) {
    sim::SimUnit unit = unitWith();
    image = saneDefaults(3);
    ASSERT_NE(image, unit.store().image());
    const TransferOutcome outcome = runWith(&unit, TransferKind::Program);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(outcome.text, "Program device: OK");
    // The extra idle tick that turns the verify text into the programming text.
    EXPECT_EQ(outcome.ticks, kReadTicks + 1);
    EXPECT_EQ(unit.store().image(), image);
    EXPECT_EQ(unit.programmingCount(), 1);
}

TEST_F(TransferRunTest, VerifyPassesOnEqualAndFailsOnOneDifferingByte) {
    sim::SimUnit unit = unitWith();
    image = unit.store().image();
    TransferOutcome outcome = runWith(&unit, TransferKind::Verify);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(outcome.text, "Verify: OK");
    EXPECT_EQ(outcome.ticks, kFirstRequestTick + 9);

    image = unitImageWithOneCellRaised();
    outcome = runWith(&unit, TransferKind::Verify);
    EXPECT_EQ(outcome.status, Status::Failed);
    EXPECT_EQ(outcome.text, "Verify error!");
    EXPECT_EQ(unit.store().image(), sim::builtInImage()) << "a verify writes nothing";
}

struct OccasionalFaults {
    std::vector<std::string> faults;
};

class OccasionalFaultTest : public TransferRunTest,
                            public ::testing::WithParamInterface<OccasionalFaults> {};

TEST_P(OccasionalFaultTest, AreRetriedAwayInReadAndProgram) {
    sim::SimUnit unit = unitWith(GetParam().faults);
    TransferOutcome outcome = runWith(&unit, TransferKind::Read);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(image, unit.store().image());
    EXPECT_GT(outcome.ticks, kReadTicks) << "some answers were lost and asked for again";

    image = saneDefaults(5);
    outcome = runWith(&unit, TransferKind::Program);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(unit.store().image(), image);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OccasionalFaultTest,
    ::testing::Values(OccasionalFaults{{"drop=3"}}, OccasionalFaults{{"corrupt=2"}},
                      OccasionalFaults{{"wrong-command=3"}}, OccasionalFaults{{"stray=2"}},
                      OccasionalFaults{{"drop=5", "corrupt=7", "wrong-command=11", "stray=13"}}));

TEST_F(TransferRunTest, SilentUnitEndsInReadErrorAndLeavesTheImage) {
    sim::SimUnit unit = unitWith({"silent"});
    const ParameterImage before = image;
    const TransferOutcome outcome = runWith(&unit, TransferKind::Read);
    EXPECT_EQ(outcome.status, Status::Failed);
    EXPECT_EQ(outcome.text, "Read error!");
    EXPECT_EQ(outcome.ticks, kSilentTicks);
    EXPECT_EQ(port.requests(), 5);
    EXPECT_EQ(image, before);
}

TEST_F(TransferRunTest, OtherUnitVersionStopsProgramBeforeAnyBlock) {
    sim::SimUnit unit = unitWith({}, 62);
    image = saneDefaults(4);
    const TransferOutcome outcome = runWith(&unit, TransferKind::Program);
    EXPECT_EQ(outcome.status, Status::VersionMismatch);
    EXPECT_EQ(outcome.text, "Unmatched version of PC and Ignition programs!  PC-63, IGN-62");
    EXPECT_EQ(port.requests(), 1);
    EXPECT_EQ(unit.store().image(), sim::builtInImage());
}

TEST_F(TransferRunTest, CleanTransferRightAfterFailedOnesSucceeds) {
    sim::SimUnit oldUnit = unitWith({}, 62);
    EXPECT_EQ(runWith(&oldUnit, TransferKind::Read).status, Status::VersionMismatch);
    EXPECT_EQ(runWith(nullptr, TransferKind::Read).status, Status::Failed);

    sim::SimUnit unit = unitWith();
    const TransferOutcome outcome = runWith(&unit, TransferKind::Read);
    ASSERT_EQ(outcome.status, Status::Succeeded) << outcome.text;
    EXPECT_EQ(outcome.text, "Verify: OK");
    EXPECT_EQ(image, unit.store().image());
}

TEST_F(TransferRunTest, StopRequestEndsTheRunBeforeTheNextTick) {
    sim::SimUnit unit = unitWith();
    port.attach(&unit);
    const ParameterImage before = image;
    const TransferOutcome outcome =
        transfer.run(TransferKind::Read, clock, {}, [this] { return clock.ticks == 8; });
    EXPECT_EQ(outcome.status, Status::Interrupted);
    EXPECT_EQ(outcome.ticks, 8);
    EXPECT_EQ(image, before);
}

TEST_F(TransferRunTest, TickLimitEndsARunThatDoesNotFinish) {
    sim::SimUnit unit = unitWith({"silent"});
    port.attach(&unit);
    const TransferOutcome outcome = transfer.run(TransferKind::Verify, clock, {}, {}, 10);
    EXPECT_EQ(outcome.status, Status::TimedOut);
    EXPECT_EQ(outcome.ticks, 10);
    EXPECT_NE(outcome.text.find("Verify did not finish"), std::string::npos) << outcome.text;
}

TEST_F(TransferRunTest, ProgressIsReportedFromTheStartWhileTheTransferRuns) {
    sim::SimUnit unit = unitWith();
    std::vector<std::string> lines;
    const auto listener = [&lines](const link::TransferEngine& engine,
                                   const editing::StatusLabel& label) {
        EXPECT_NE(engine.state(), link::TransferState::Idle);
        const std::string line = ProgressDisplay::line(label, engine.gauge());
        if (lines.empty() || lines.back() != line) lines.push_back(line);
    };
    ASSERT_TRUE(runWith(&unit, TransferKind::Read, listener).succeeded());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Read: [          ] 0/10");
    EXPECT_NE(std::ranges::find(lines, "Read: [#####     ] 5/10"), lines.end());
    EXPECT_NE(std::ranges::find(lines, "Verify: [          ] 0/10"), lines.end());
    EXPECT_EQ(lines.back(), "Verify: [######### ] 9/10");
}

}  // namespace
}  // namespace zelvor::cli
