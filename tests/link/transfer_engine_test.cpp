#include "link/transfer_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editing/transfer_presenter.h"
#include "link_test_support.h"
#include "model/sanitizer.h"

namespace zelvor::link {
namespace {

using editing::Colour;
using i18n::Language;
using model::ParameterImage;
using testing::answer;
using testing::infoBlock;
using testing::RecordingSink;

// A cooperative unit: stores what it is programmed with and answers every
// request at once.
struct Unit {
    ParameterImage memory;
    std::array<std::uint8_t, 150> info = infoBlock(63);

    LinkFrame respond(const LinkFrame& request) {
        const std::uint8_t command = request.command();
        const int block = command & 0x3F;
        if (block == 0) return answer(command, info);
        if ((command & 0xC0) == LinkFrame::kProgramBlock) {
            std::copy(request.data().begin(), request.data().end(), memory.block(block).begin());
        }
        return answer(command, memory.block(block));
    }
};

ParameterImage patternImage(int step) {
    ParameterImage image;
    for (std::size_t i = 0; i < ParameterImage::kSize; ++i) {
        image.bytes()[i] = static_cast<std::uint8_t>(i * step + 11);
    }
    model::sanitize(image);
    return image;
}

class TransferEngineTest : public ::testing::Test {
  protected:
    // Acts on what the engine reports as the window does, noting each step.
    void act(const TransferOutcome& outcome) {
        if (outcome.collectBeforeSending) {
            events.push_back("collect");
            act(engine.imageCollected());
        }
        if (outcome.refreshImage) events.push_back("refresh");
        if (outcome.fileNameLapsed) events.push_back("clear file name");
        if (outcome.versionMismatch) {
            boxes.push_back(editing::versionMismatchText(messages, *outcome.versionMismatch));
        }
        if (outcome.succeeded) successes.push_back({*outcome.succeeded, outcome.blocksInUnit});
    }

    void deliver(const LinkFrame& frame) { act(engine.handleAnswer(frame.bytes())); }
    void program() { act(engine.program()); }
    void verify() { act(engine.verify()); }
    void read() { act(engine.read()); }

    // The status label in words, as the window shows it.
    editing::StatusLabel label() const { return words.statusLabel(engine.status()); }

    // Ticks until the engine sends a frame; returns the number of ticks.
    int tickUntilSent() {
        const std::size_t before = sink.frames.size();
        for (int ticks = 1; ticks <= 10; ++ticks) {
            act(engine.tick());
            if (sink.frames.size() > before) return ticks;
        }
        return -1;
    }

    void tick(int count) {
        for (int i = 0; i < count; ++i) act(engine.tick());
    }

    // Ticks and lets the unit answer every transfer request at once.
    void serve(Unit& unit, int ticks) {
        for (int t = 0; t < ticks; ++t) {
            act(engine.tick());
            while (served < sink.frames.size()) {
                const LinkFrame request = sink.frames[served++];
                if (request.command() != LinkFrame::kMonitorPoll) deliver(unit.respond(request));
            }
        }
    }

    std::vector<std::uint8_t> sentCommands() const {
        std::vector<std::uint8_t> commands;
        for (const LinkFrame& f : sink.frames) {
            if (f.command() != LinkFrame::kMonitorPoll) commands.push_back(f.command());
        }
        return commands;
    }

    ParameterImage image = patternImage(37);
    RecordingSink sink;
    i18n::MessageTable messages;
    editing::TransferPresenter words{messages};
    std::vector<std::string> events;
    std::vector<std::string> boxes;
    std::vector<std::pair<TransferKind, std::uint16_t>> successes;
    TransferEngine engine{image, sink};
    std::size_t served = 0;
};

TEST_F(TransferEngineTest, MenuStartedRequestIsSentFiveTimesThenFails) {
    program();
    EXPECT_EQ(label().text, "Program device:");
    EXPECT_TRUE(label().visible);
    EXPECT_TRUE(sink.frames.empty()) << "a start command never sends at once";

    tick(35);
    EXPECT_EQ(sink.count(0x00), 5);
    EXPECT_EQ(engine.state(), TransferState::Program);
    tick(1);
    EXPECT_EQ(sink.count(0x00), 5);
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Program error!");
    EXPECT_EQ(label().background, Colour::Red);
    EXPECT_TRUE(label().visible);
    EXPECT_TRUE(engine.blockFlag(0));
}

TEST_F(TransferEngineTest, RequestSentAfterAnAcceptedAnswerIsAlsoSentAtMostFiveTimes) {
    read();
    ASSERT_EQ(tickUntilSent(), 6);
    deliver(answer(0x40, infoBlock(63)));
    ASSERT_EQ(sink.count(0x41), 1) << "the next request leaves at once";

    tick(29);
    EXPECT_EQ(sink.count(0x41), 5);
    EXPECT_EQ(engine.state(), TransferState::Read);
    tick(1);
    EXPECT_EQ(sink.count(0x41), 5);
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Read error!");
    EXPECT_EQ(label().background, Colour::Red);
}

TEST_F(TransferEngineTest, FirstRequestLeavesWithinOneToSixTicks) {
    tick(4);  // idle polling leaves ticks since send at 4
    verify();
    EXPECT_EQ(tickUntilSent(), 2);
    EXPECT_EQ(sink.frames.back().command(), 0x41);
}

TEST_F(TransferEngineTest, RequestDataFollowTheTransfer) {
    program();
    tickUntilSent();
    const LinkFrame& infoRequest = sink.frames.back();
    EXPECT_TRUE(std::all_of(infoRequest.data().begin(), infoRequest.data().end(),
                            [](std::uint8_t b) { return b == 0; }));
    deliver(answer(0x00, infoBlock(63)));
    const LinkFrame& program1 = sink.frames.back();
    EXPECT_EQ(program1.command(), 0x01);
    EXPECT_TRUE(std::equal(program1.data().begin(), program1.data().end(), image.block(1).begin()));
    EXPECT_TRUE(program1.checkOk());

    read();
    tickUntilSent();
    deliver(answer(0x40, infoBlock(63)));
    const LinkFrame& read1 = sink.frames.back();
    EXPECT_EQ(read1.command(), 0x41);
    EXPECT_TRUE(std::all_of(read1.data().begin(), read1.data().end(),
                            [](std::uint8_t b) { return b == 0; }));

    verify();
    tickUntilSent();
    const LinkFrame& verify1 = sink.frames.back();
    EXPECT_EQ(verify1.command(), 0x41);
    EXPECT_TRUE(std::equal(verify1.data().begin(), verify1.data().end(), image.block(1).begin()));
}

TEST_F(TransferEngineTest, FullProgramThenVerifyEndsWithProgrammingSuccess) {
    Unit unit;
    program();
    serve(unit, 6);

    std::vector<std::uint8_t> expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (std::uint8_t c = 0x41; c <= 0x49; ++c) expected.push_back(c);
    EXPECT_EQ(sentCommands(), expected);
    EXPECT_EQ(unit.memory, image);
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Verify: OK");
    EXPECT_FALSE(engine.verifyAfterProgram());
    EXPECT_TRUE(engine.done());
    for (int n = 0; n < 10; ++n) EXPECT_FALSE(engine.blockFlag(n)) << n;

    tick(1);
    EXPECT_EQ(label().text, "Program device: OK");
    EXPECT_EQ(label().background, Colour::ButtonFace);
    EXPECT_EQ(engine.gauge().progress, ProgressGauge::kMaxValue);
    EXPECT_EQ(engine.identification().identification, "ABC07");
}

TEST_F(TransferEngineTest, ProgramCollectsSanitizesAndRefreshesFirst) {
    for (std::size_t i = 0; i < 15; ++i) image.set(model::Field::RPM_ADV_Rpm, i, 0);
    program();
    EXPECT_EQ(image.get(model::Field::RPM_ADV_Rpm, 0), 3);
    EXPECT_EQ(image.get(model::Field::RPM_ADV_Rpm, 14), 17);
    EXPECT_EQ(events, (std::vector<std::string>{"collect", "refresh"}));
    EXPECT_TRUE(engine.verifyAfterProgram());
    for (int n = 0; n < 10; ++n) EXPECT_TRUE(engine.blockFlag(n)) << n;
}

TEST_F(TransferEngineTest, OnlyBlockFourFlaggedSendsBlockFourAlone) {
    Unit unit;
    engine.setBlockFlag(4);
    engine.startProgramming();
    EXPECT_EQ(engine.gauge().progress, 4);
    serve(unit, 12);
    EXPECT_EQ(sentCommands(), std::vector<std::uint8_t>{4});
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Program device: OK");
    EXPECT_TRUE(
        std::equal(image.block(4).begin(), image.block(4).end(), unit.memory.block(4).begin()));
}

TEST_F(TransferEngineTest, StartProgrammingWithoutFlagsDoesNothing) {
    engine.startProgramming();
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_FALSE(label().visible);
}

TEST_F(TransferEngineTest, MismatchingEchoKeepsTheBlockFlaggedUntilAnEchoMatches) {
    engine.setBlockFlag(4);
    engine.setBlockFlag(6);
    engine.startProgramming();
    tickUntilSent();
    std::array<std::uint8_t, 150> wrong{};
    std::copy(image.block(4).begin(), image.block(4).end(), wrong.begin());
    wrong[17] ^= 0x01;

    deliver(answer(0x04, wrong));
    EXPECT_TRUE(engine.blockFlag(4));
    EXPECT_EQ(sink.frames.size(), 1u) << "a failed echo sends nothing at once";
    EXPECT_EQ(tickUntilSent(), 6);
    EXPECT_EQ(sink.frames.back().command(), 0x04) << "the same block again";

    deliver(answer(0x04, image.block(4)));
    EXPECT_FALSE(engine.blockFlag(4));
    EXPECT_EQ(sink.frames.back().command(), 0x06);
}

// A mismatching echo says what the unit holds now. A matching echo that
// follows before the block went out again can only answer an earlier send:
// it must not clear the flag of a block the unit holds wrongly.
TEST_F(TransferEngineTest, LateEchoOfAnEarlierSendDoesNotConfirmAWronglyStoredBlock) {
    engine.setBlockFlag(4);
    engine.setBlockFlag(6);
    engine.startProgramming();
    tickUntilSent();
    tickUntilSent();  // the first echo is late; the block goes out again
    std::array<std::uint8_t, 150> wrong{};
    std::copy(image.block(4).begin(), image.block(4).end(), wrong.begin());
    wrong[17] ^= 0x01;

    deliver(answer(0x04, wrong));           // what the second send stored
    deliver(answer(0x04, image.block(4)));  // the first send's echo, late
    EXPECT_TRUE(engine.blockFlag(4));
    EXPECT_EQ(sink.frames.back().command(), 0x04) << "nothing moved on to block 6";

    ASSERT_GT(tickUntilSent(), 0);
    EXPECT_EQ(sink.frames.back().command(), 0x04);
    deliver(answer(0x04, image.block(4)));  // the echo of this send
    EXPECT_FALSE(engine.blockFlag(4));
    EXPECT_EQ(sink.frames.back().command(), 0x06);
}

TEST_F(TransferEngineTest, FiveMismatchingEchoesFailAndTheBlockStaysToBeProgrammed) {
    engine.setBlockFlag(4);
    engine.startProgramming();
    std::array<std::uint8_t, 150> wrong{};
    for (int send = 0; send < 5; ++send) {
        ASSERT_GT(tickUntilSent(), 0);
        deliver(answer(0x04, wrong));
    }
    tick(6);
    EXPECT_EQ(sink.count(0x04), 5);
    EXPECT_EQ(label().text, "Program error!");
    EXPECT_TRUE(engine.blockFlag(4));

    engine.startProgramming();
    EXPECT_EQ(engine.currentCommand(), 0x04);
    EXPECT_EQ(engine.state(), TransferState::Program);
}

class VerifyByteTest : public TransferEngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(VerifyByteTest, OneDifferingByteFailsVerify) {
    const int differing = GetParam();
    verify();
    std::array<std::uint8_t, 150> unitBlock{};
    std::copy(image.block(1).begin(), image.block(1).end(), unitBlock.begin());
    unitBlock[differing] ^= 0x80;
    for (int send = 0; send < 5; ++send) {
        ASSERT_GT(tickUntilSent(), 0);
        EXPECT_EQ(sink.frames.back().command(), 0x41);
        deliver(answer(0x41, unitBlock));
    }
    EXPECT_EQ(engine.state(), TransferState::Verify);
    tick(6);
    EXPECT_EQ(sink.count(0x41), 5);
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Verify error!");
    EXPECT_EQ(label().background, Colour::Red);
}

INSTANTIATE_TEST_SUITE_P(ImageBytes, VerifyByteTest, ::testing::Values(0, 2, 149));

TEST_F(TransferEngineTest, VerifyRecoversWhenTheUnitAnswersEqualData) {
    Unit unit;
    unit.memory = image;
    verify();
    tickUntilSent();
    deliver(answer(0x41, std::array<std::uint8_t, 150>{}));
    EXPECT_EQ(engine.currentCommand(), 0x41);
    served = sink.frames.size();  // the unit answers from the repeated request on
    serve(unit, 6);
    EXPECT_EQ(label().text, "Verify: OK");
    EXPECT_EQ(engine.gauge().progress, ProgressGauge::kMaxValue);
}

TEST_F(TransferEngineTest, VersionMismatchDuringProgramStopsBeforeAnyBlock) {
    const ParameterImage before = image;
    program();
    tickUntilSent();
    deliver(answer(0x00, infoBlock(62)));

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Unmatched version of PC and Ignition programs!  PC-63, IGN-62");
    EXPECT_EQ(image, before);
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(sentCommands(), std::vector<std::uint8_t>{0});
    EXPECT_EQ(engine.hideCountdown(), 0);
    tick(300);
    EXPECT_TRUE(label().visible) << "the label stays up after a version mismatch";
    EXPECT_TRUE(engine.gauge().visible);
}

TEST_F(TransferEngineTest, VersionMismatchDuringReadLeavesTheImageUntouched) {
    messages.apply(Language::German);
    const ParameterImage before = image;
    read();
    tickUntilSent();
    deliver(answer(0x40, infoBlock(62)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!  PC-63, IGN-62");
    EXPECT_EQ(image, before);
    EXPECT_EQ(sentCommands(), std::vector<std::uint8_t>{0x40});
    EXPECT_EQ(label().text, "Lesen:");
}

TEST_F(TransferEngineTest, ReadStoresEveryBlockThenVerifies) {
    Unit unit;
    unit.memory = patternImage(53);
    ASSERT_NE(unit.memory, image);
    read();
    EXPECT_EQ(events, std::vector<std::string>{"clear file name"});
    serve(unit, 6);

    EXPECT_EQ(image, unit.memory);
    EXPECT_EQ(label().text, "Verify: OK");
    EXPECT_EQ(std::count(events.begin(), events.end(), "refresh"), 1);
    std::vector<std::uint8_t> expected;
    for (std::uint8_t c = 0x40; c <= 0x49; ++c) expected.push_back(c);
    for (std::uint8_t c = 0x41; c <= 0x49; ++c) expected.push_back(c);
    EXPECT_EQ(sentCommands(), expected);
}

TEST_F(TransferEngineTest, AReadIntoACopyLeavesTheImageAndEndsWithoutVerify) {
    Unit unit;
    unit.memory = patternImage(53);
    const ParameterImage before = image;
    TransferOutcome ended;
    const auto serveCopy = [&](int ticks) {
        for (int t = 0; t < ticks; ++t) {
            ended |= engine.tick();
            while (served < sink.frames.size()) {
                const LinkFrame request = sink.frames[served++];
                if (request.command() != LinkFrame::kMonitorPoll) {
                    ended |= engine.handleAnswer(unit.respond(request).bytes());
                }
            }
        }
    };
    const TransferOutcome started = engine.readIntoCopy();
    EXPECT_FALSE(started.fileNameLapsed);
    serveCopy(6);

    EXPECT_TRUE(ended.copyRead);
    EXPECT_FALSE(ended.succeeded) << "the unit does not hold the image";
    EXPECT_FALSE(ended.imageReplaced || ended.refreshImage);
    EXPECT_EQ(image, before);
    EXPECT_EQ(engine.readCopy(), unit.memory);
    EXPECT_FALSE(engine.running());
    std::vector<std::uint8_t> expected;
    for (std::uint8_t c = 0x40; c <= 0x49; ++c) expected.push_back(c);
    EXPECT_EQ(sentCommands(), expected);

    // The window's Read afterwards is the ordinary one again.
    ended = {};
    read();
    serveCopy(6);
    EXPECT_FALSE(ended.copyRead);
    EXPECT_EQ(ended.succeeded, TransferKind::Read);
    EXPECT_EQ(image, unit.memory);
}

TEST_F(TransferEngineTest, BrokenReadLeavesTheImageAsItWas) {
    Unit unit;
    unit.memory = patternImage(53);
    const ParameterImage before = image;
    read();
    tickUntilSent();
    for (std::uint8_t command = 0x40; command <= 0x44; ++command) {
        deliver(unit.respond(sink.frames.back()));
    }
    ASSERT_EQ(sink.frames.back().command(), 0x45);
    tick(30);
    EXPECT_EQ(label().text, "Read error!");
    EXPECT_EQ(image, before);
}

TEST_F(TransferEngineTest, AFailedProgramStaysRedUntilTheNextTransferStarts) {
    engine.setBlockFlag(4);
    engine.startProgramming();
    std::array<std::uint8_t, 150> wrong{};
    for (int send = 0; send < 5; ++send) {
        ASSERT_GT(tickUntilSent(), 0);
        deliver(answer(0x04, wrong));
    }
    tick(6);
    ASSERT_EQ(label().text, "Program error!");
    // The unit still saves the blocks it took before: no "Saving:", no success.
    engine.setSavingCount(300);
    tick(2 * TransferEngine::kHideTicks);
    EXPECT_EQ(label().text, "Program error!");
    EXPECT_EQ(label().background, Colour::Red);
    EXPECT_TRUE(label().visible);
    EXPECT_TRUE(engine.failed());

    engine.setSavingCount(0);
    verify();
    EXPECT_FALSE(engine.failed());
    EXPECT_EQ(label().text, "Verify:");
}

TEST_F(TransferEngineTest, StopEndsATransferAndSaysSo) {
    program();
    ASSERT_GT(tickUntilSent(), 0);
    deliver(Unit{}.respond(sink.frames.back()));    // the information block
    ASSERT_EQ(sink.frames.back().command(), 0x01);  // block 1 is on its way
    engine.stop();
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Program device: stopped");
    EXPECT_TRUE(label().visible);
    for (int block = 1; block <= 9; ++block) EXPECT_TRUE(engine.blockFlag(block)) << block;
    tick(2 * TransferEngine::kHideTicks);
    EXPECT_TRUE(label().visible);
    EXPECT_EQ(sink.count(0x01), 1) << "no block is sent after the stop";
    engine.stop();  // idle: nothing
    EXPECT_EQ(label().text, "Program device: stopped");
}

TEST_F(TransferEngineTest, AReadNeverReplacesAnImageChangedMeanwhile) {
    Unit unit;
    unit.memory = patternImage(53);
    read();
    tickUntilSent();
    for (std::uint8_t command = 0x40; command <= 0x44; ++command) {
        deliver(unit.respond(sink.frames.back()));
    }
    image.bytes()[700] ^= 1;  // an edit while the Read runs
    const ParameterImage edited = image;
    for (std::uint8_t command = 0x45; command <= 0x49; ++command) {
        deliver(unit.respond(sink.frames.back()));
    }
    EXPECT_EQ(image, edited);
    EXPECT_EQ(engine.state(), TransferState::Idle);
    EXPECT_EQ(label().text, "Read: stopped");
}

TEST_F(TransferEngineTest, AnswersWhileIdleOrForAnotherCommandAreDropped) {
    deliver(answer(0x41, image.block(1)));
    EXPECT_EQ(engine.connectionTicks(), TransferEngine::kConnectionTicksAtStart);
    EXPECT_TRUE(sink.frames.empty());

    read();
    tickUntilSent();
    deliver(answer(0x41, image.block(1)));  // answer to a request not sent
    LinkFrame damaged = answer(0x40, infoBlock(63));
    damaged.bytes()[20] ^= 0x01;
    deliver(damaged);
    engine.handleAnswer(
        std::span<const std::uint8_t>(answer(0x40, infoBlock(63)).bytes()).first(151));
    EXPECT_EQ(engine.currentCommand(), 0x40);
    EXPECT_EQ(sink.frames.size(), 1u);
    EXPECT_NE(engine.connectionTicks(), 0);

    deliver(answer(0x40, infoBlock(63)));
    EXPECT_EQ(engine.currentCommand(), 0x41);
    EXPECT_EQ(engine.connectionTicks(), 0);
}

TEST_F(TransferEngineTest, StartCommandRestartsARunningTransfer) {
    Unit unit;
    program();
    tickUntilSent();
    deliver(unit.respond(sink.frames.back()));
    ASSERT_EQ(engine.currentCommand(), 0x01);
    read();
    EXPECT_EQ(engine.state(), TransferState::Read);
    EXPECT_EQ(engine.currentCommand(), 0x40);
    deliver(answer(0x01, image.block(1)));  // late echo of the abandoned program
    EXPECT_EQ(engine.currentCommand(), 0x40);
}

TEST_F(TransferEngineTest, SavingCountFillsTheGaugeAndKeepsTheLabelUp) {
    engine.setSavingCount(1378);
    engine.tick();
    EXPECT_EQ(label().text, "Saving:");
    EXPECT_EQ(label().background, Colour::ButtonFace);
    EXPECT_EQ(engine.gauge().progress, 5);
    EXPECT_EQ(engine.hideCountdown(), TransferEngine::kHideTicks - 1);
    EXPECT_FALSE(label().visible) << "saving leaves the visibility alone";

    engine.setSavingCount(2756);
    engine.tick();
    EXPECT_EQ(engine.gauge().progress, 0);
    engine.setSavingCount(1);
    engine.tick();
    EXPECT_EQ(engine.gauge().progress, 9);
}

TEST_F(TransferEngineTest, AfterProgrammingSavingShowsThenTheSuccessTextReturns) {
    Unit unit;
    program();
    serve(unit, 6);
    engine.setSavingCount(2000);
    engine.tick();
    EXPECT_EQ(label().text, "Saving:");
    EXPECT_TRUE(label().visible);
    engine.setSavingCount(0);
    tick(1);
    EXPECT_EQ(label().text, "Program device: OK");
    tick(TransferEngine::kHideTicks);
    EXPECT_FALSE(label().visible);
    EXPECT_FALSE(engine.gauge().visible);
    EXPECT_FALSE(engine.done());
}

TEST_F(TransferEngineTest, StatusLabelHidesAfterTwoHundredTicks) {
    words.announce("Printing", Colour::White);
    engine.announce();
    tick(199);
    EXPECT_TRUE(label().visible);
    engine.tick();
    EXPECT_FALSE(label().visible);
}

TEST_F(TransferEngineTest, WatchdogShowsNoConnectionFromTheSeventhTick) {
    tick(6);
    EXPECT_FALSE(engine.noConnectionVisible());
    EXPECT_TRUE(engine.versionLabelVisible());
    engine.tick();
    EXPECT_TRUE(engine.noConnectionVisible());
    EXPECT_FALSE(engine.versionLabelVisible());

    engine.setPrinting(true);
    engine.tick();
    EXPECT_FALSE(engine.noConnectionVisible());
    EXPECT_TRUE(engine.versionLabelVisible());
    engine.setPrinting(false);

    engine.noteAcceptedAnswer();
    engine.tick();
    EXPECT_FALSE(engine.noConnectionVisible());
    tick(23);
    EXPECT_FALSE(engine.noConnectionVisible());
    engine.tick();
    EXPECT_TRUE(engine.noConnectionVisible());
}

TEST_F(TransferEngineTest, IdleEngineSendsTheMonitorPollEverySixthTick) {
    tick(18);
    ASSERT_EQ(sink.frames.size(), 3u);
    for (const LinkFrame& f : sink.frames) {
        EXPECT_EQ(f.command(), LinkFrame::kMonitorPoll);
        EXPECT_EQ(f.bytes()[151], 207);
    }
}

TEST_F(TransferEngineTest, PollingOnEveryTickWaitsForTheAnswerOfTheLastPoll) {
    engine.setOptions({.pollEveryTick = true});
    tick(1);
    ASSERT_EQ(sink.frames.size(), 1u);
    // No answer yet: a second poll would put two answers on the line at
    // once, and the receiver drops what follows the first frame of a batch.
    tick(1);
    EXPECT_EQ(sink.frames.size(), 1u);
    engine.noteAcceptedAnswer();
    tick(1);
    EXPECT_EQ(sink.frames.size(), 2u);
    // A unit that answers at once is polled on every tick.
    for (int i = 0; i < 10; ++i) {
        engine.noteAcceptedAnswer();
        tick(1);
    }
    EXPECT_EQ(sink.frames.size(), 12u);
    // A lost answer: polled again after the usual six ticks.
    tick(5);
    EXPECT_EQ(sink.frames.size(), 12u);
    tick(1);
    EXPECT_EQ(sink.frames.size(), 13u);
    for (const LinkFrame& f : sink.frames) EXPECT_EQ(f.command(), LinkFrame::kMonitorPoll);
}

TEST_F(TransferEngineTest, StartCommandsReportWhatTheCallerHasToDo) {
    image.set(model::Field::ADVANCE_Cell, 3, 200);  // above the 60 degrees the unit takes
    EXPECT_EQ(engine.program(), (TransferOutcome{.collectBeforeSending = true}));
    EXPECT_EQ(image.get(model::Field::ADVANCE_Cell, 3), 200u) << "the caller collects first";
    EXPECT_EQ(engine.imageCollected(), (TransferOutcome{.refreshImage = true}));
    EXPECT_EQ(image.get(model::Field::ADVANCE_Cell, 3), 60u);
    EXPECT_EQ(engine.imageCollected(), TransferOutcome{}) << "nothing waits for an image";

    EXPECT_EQ(engine.verify(), (TransferOutcome{.collectBeforeSending = true}));
    EXPECT_EQ(engine.read(), (TransferOutcome{.fileNameLapsed = true}));
    EXPECT_EQ(engine.imageCollected(), TransferOutcome{}) << "a Read sends no image";
    EXPECT_TRUE(sink.frames.empty());
}

TEST_F(TransferEngineTest, AnImageNobodyCollectedIsInRangeBeforeItsFirstRequest) {
    image.set(model::Field::ADVANCE_Cell, 3, 200);
    (void)engine.program();  // a caller without pages: the outcome is left alone
    TransferOutcome ticked;
    while (sink.frames.empty()) ticked |= engine.tick();
    EXPECT_TRUE(ticked.refreshImage);
    EXPECT_EQ(image.get(model::Field::ADVANCE_Cell, 3), 60u);
    deliver(answer(0x00, infoBlock(63)));
    const LinkFrame& block1 = sink.frames.back();
    ASSERT_EQ(block1.command(), 0x01);
    EXPECT_TRUE(std::equal(block1.data().begin(), block1.data().end(), image.block(1).begin()));
}

TEST_F(TransferEngineTest, OnlyACompleteReadReportsTheImageReplaced) {
    Unit unit;
    unit.memory = patternImage(53);
    (void)engine.read();
    tickUntilSent();
    int replaced = 0;
    for (std::uint8_t command = 0x40; command <= 0x49; ++command) {
        ASSERT_EQ(sink.frames.back().command(), command);
        const TransferOutcome outcome =
            engine.handleAnswer(unit.respond(sink.frames.back()).bytes());
        replaced += outcome.imageReplaced;
        EXPECT_EQ(outcome.imageReplaced, command == 0x49) << int(command);
        EXPECT_EQ(outcome.refreshImage, command == 0x49) << int(command);
    }
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(image, unit.memory);

    // A Read that fails half way replaces nothing.
    (void)engine.read();
    tickUntilSent();
    TransferOutcome broken = engine.handleAnswer(unit.respond(sink.frames.back()).bytes());
    for (int t = 0; t < 40; ++t) broken |= engine.tick();
    EXPECT_EQ(label().text, "Read error!");
    EXPECT_FALSE(broken.imageReplaced);
}

TEST_F(TransferEngineTest, EachSuccessSaysWhatEndedAndWhichBlocksTheUnitNowHolds) {
    using Success = std::pair<TransferKind, std::uint16_t>;
    constexpr std::uint16_t kAll = 0x3FE;
    Unit unit;
    unit.memory = patternImage(53);
    read();
    serve(unit, 6);
    EXPECT_EQ(successes, (std::vector<Success>{{TransferKind::Read, kAll}}));

    // Changed blocks programmed without a verify vouch for themselves only.
    image.block(4)[0] ^= 1;
    image.block(7)[0] ^= 1;
    engine.setBlockFlag(4);
    engine.setBlockFlag(7);
    engine.startProgramming();
    serve(unit, 12);
    EXPECT_EQ(successes.back(), Success(TransferKind::Program, (1 << 4) | (1 << 7)));

    verify();
    serve(unit, 6);
    EXPECT_EQ(successes.back(), Success(TransferKind::Verify, kAll));
    program();
    serve(unit, 6);
    EXPECT_EQ(successes.back(), Success(TransferKind::Program, kAll));
    EXPECT_EQ(successes.size(), 4U);

    // A transfer that fails reports no success.
    verify();
    tick(40);
    EXPECT_EQ(successes.size(), 4U);
    TransferOutcome merged;
    merged |= TransferOutcome{.succeeded = TransferKind::Verify, .blocksInUnit = kAll};
    merged |= TransferOutcome{.refreshImage = true};
    EXPECT_EQ(merged.succeeded, TransferKind::Verify);
    EXPECT_EQ(merged.blocksInUnit, kAll);
}

TEST_F(TransferEngineTest, VersionMismatchIsReportedWithTheUnitsVersion) {
    (void)engine.program();
    (void)engine.imageCollected();
    tickUntilSent();
    const TransferOutcome outcome = engine.handleAnswer(answer(0x00, infoBlock(61)).bytes());
    EXPECT_EQ(outcome.versionMismatch, 61);
    EXPECT_TRUE(outcome.refreshImage) << "the range rules ran on the information block";
    EXPECT_FALSE(outcome.imageReplaced);
}

TEST(TransferOutcome, MergingKeepsEveryRequest) {
    TransferOutcome merged{.fileNameLapsed = true};
    merged |= TransferOutcome{.refreshImage = true, .versionMismatch = 62};
    merged |= TransferOutcome{};
    EXPECT_EQ(merged, (TransferOutcome{
                          .refreshImage = true, .fileNameLapsed = true, .versionMismatch = 62}));
}

}  // namespace
}  // namespace zelvor::link
