#include "link/unit_link.h"

#include <gtest/gtest.h>

#include "editing/transfer_presenter.h"
#include "link_test_support.h"

namespace zelvor::link {
namespace {

using testing::answer;
using testing::FakeSerialPort;
using testing::infoBlock;
using testing::MonitorFrameBuilder;

class UnitLinkTest : public ::testing::Test {
  protected:
    model::ParameterImage image;
    FakeSerialPort port;
    i18n::MessageTable messages;
    UnitLink link{image, port};
};

LinkFrame monitorWithSpeed(std::uint16_t rpm) {
    return MonitorFrameBuilder().word(48, rpm).frame();
}

TEST_F(UnitLinkTest, FewerBytesThanAFrameAreLeftQueued) {
    const LinkFrame frame = monitorWithSpeed(3000);
    port.incoming.assign(frame.bytes().begin(), frame.bytes().end() - 1);
    link.pollReceive();
    EXPECT_TRUE(port.reads.empty());
    EXPECT_EQ(port.incoming.size(), 151u);

    port.incoming.push_back(frame.bytes().back());
    port.queue(monitorWithSpeed(4000));
    link.pollReceive();
    ASSERT_EQ(port.reads.size(), 1u);
    EXPECT_EQ(port.reads[0], 304u) << "everything queued is read at once";
    EXPECT_EQ(link.monitor().live().engineSpeed, 3000);
}

TEST_F(UnitLinkTest, OnlyTheFirstOfTwoQueuedAnswersIsInterpreted) {
    port.queue(monitorWithSpeed(3000));
    port.queue(monitorWithSpeed(4000));
    link.pollReceive();
    EXPECT_EQ(port.reads, std::vector<std::size_t>{304});
    EXPECT_TRUE(port.incoming.empty());
    EXPECT_EQ(link.monitor().framesDecoded(), 1u);
    EXPECT_EQ(link.monitor().live().engineSpeed, 3000);

    link.pollReceive();
    EXPECT_EQ(link.monitor().live().engineSpeed, 3000) << "the second answer is lost";
}

TEST_F(UnitLinkTest, AtMostFifteenThousandBytesAreReadPerPoll) {
    port.incoming.assign(20000, 0x55);
    link.pollReceive();
    EXPECT_EQ(port.reads, std::vector<std::size_t>{15000});
    EXPECT_EQ(port.incoming.size(), 5000u);
}

TEST_F(UnitLinkTest, AcceptedMonitorAnswerFeedsTheWatchdogAndSavingCount) {
    for (int i = 0; i < 10; ++i) link.tick();
    ASSERT_TRUE(link.transfer().noConnectionVisible());
    port.queue(MonitorFrameBuilder().word(148, 1378).frame());
    link.tick();
    EXPECT_FALSE(link.transfer().noConnectionVisible());
    EXPECT_EQ(link.transfer().savingCount(), 1378);
    EXPECT_EQ(editing::TransferPresenter(messages).text(link.transfer().status().message),
              "Saving:");
}

TEST_F(UnitLinkTest, DamagedMonitorAnswerIsIgnored) {
    LinkFrame frame = monitorWithSpeed(3000);
    frame.bytes()[60] ^= 0x04;
    port.queue(frame);
    link.tick();
    EXPECT_EQ(link.monitor().framesDecoded(), 0u);
    EXPECT_EQ(link.transfer().connectionTicks(), TransferEngine::kConnectionTicksAtStart + 1);
}

TEST_F(UnitLinkTest, MonitorAnswerDuringATransferIsDecodedAndHarmless) {
    (void)link.transfer().read();
    for (int i = 0; i < 6; ++i) link.tick();
    ASSERT_EQ(port.written.size(), 1u);
    ASSERT_EQ(port.written.back()[0], 0x40);

    port.queue(monitorWithSpeed(5200));
    link.tick();
    EXPECT_EQ(link.monitor().live().engineSpeed, 5200);
    EXPECT_EQ(link.transfer().state(), TransferState::Read);
    EXPECT_EQ(link.transfer().currentCommand(), 0x40);
    EXPECT_EQ(link.transfer().attempts(), 1);

    port.queue(answer(0x40, infoBlock(63)));
    link.tick();
    EXPECT_EQ(link.transfer().currentCommand(), 0x41);
    EXPECT_EQ(port.written.back()[0], 0x41);
}

TEST_F(UnitLinkTest, IdleLinkPollsTheMonitorThroughThePort) {
    for (int i = 0; i < 12; ++i) link.tick();
    ASSERT_EQ(port.written.size(), 2u);
    for (const auto& frame : port.written) {
        ASSERT_EQ(frame.size(), LinkFrame::kSize);
        EXPECT_EQ(frame[0], 0x30);
        EXPECT_EQ(frame[151], 207);
    }
}

}  // namespace
}  // namespace zelvor::link
