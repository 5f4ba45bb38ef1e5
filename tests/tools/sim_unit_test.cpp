#include "sim/sim_unit.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "sim/default_image.h"

namespace zelvor::sim {
namespace {

using link::LinkFrame;
using namespace std::chrono_literals;

std::array<std::uint8_t, 150> blockPattern(int n) {
    std::array<std::uint8_t, 150> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(n * 31 + i);
    return data;
}

LinkFrame answerFrame(const UnitReply& reply) {
    EXPECT_EQ(reply.bytes.size(), LinkFrame::kSize);
    LinkFrame frame;
    std::copy_n(reply.bytes.begin(), std::min(reply.bytes.size(), LinkFrame::kSize),
                frame.bytes().begin());
    return frame;
}

SimUnit unitWith(std::initializer_list<Fault> faults) {
    FaultPlan plan;
    for (const Fault& fault : faults) plan.add(fault);
    return SimUnit(BlockStore(), UnitIdentity(), plan);
}

UnitReply poll(SimUnit& unit, std::chrono::milliseconds now = 0ms) {
    return unit.handle(LinkFrame::make(LinkFrame::kMonitorPoll), now);
}

TEST(SimUnit, ProgrammedBlockIsEchoedStoredAndReadBack) {
    SimUnit unit;
    for (int n = 1; n <= 9; ++n) {
        const auto data = blockPattern(n);
        const UnitReply echo =
            unit.handle(LinkFrame::make(static_cast<std::uint8_t>(n), data), 0ms);
        EXPECT_TRUE(echo.imageChanged);
        const LinkFrame echoed = answerFrame(echo);
        EXPECT_TRUE(echoed.checkOk());
        EXPECT_EQ(echoed.command(), 0x80 + n);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), echoed.data().begin()));
    }
    for (int n = 1; n <= 9; ++n) {
        // A verify request carries the PC's data; the answer is the unit's own.
        const UnitReply read = unit.handle(LinkFrame::make(0x40 + n, blockPattern(n + 1)), 0ms);
        EXPECT_FALSE(read.imageChanged);
        const LinkFrame answer = answerFrame(read);
        EXPECT_TRUE(answer.checkOk());
        EXPECT_EQ(answer.command(), 0xC0 + n);
        const auto data = blockPattern(n);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), answer.data().begin())) << n;
    }
    const auto stored = unit.store().image().block(5);
    EXPECT_EQ(stored[0], blockPattern(5)[0]);
}

TEST(SimUnit, ReadOfUntouchedBlockGivesTheBuiltInSet) {
    SimUnit unit;
    const LinkFrame answer = answerFrame(unit.handle(LinkFrame::make(0x43), 0ms));
    const model::ParameterImage builtIn = builtInImage();
    const auto expected = builtIn.block(3);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), answer.data().begin()));
}

TEST(SimUnit, BlockZeroAnswersWithTheInfoBlockForReadAndProgram) {
    UnitIdentity identity;
    identity.version = 62;
    SimUnit unit(BlockStore(), identity);
    const model::ParameterImage before = unit.store().image();
    for (const std::uint8_t command : {0x40, 0x00}) {
        const UnitReply reply = unit.handle(LinkFrame::make(command), 0ms);
        const LinkFrame answer = answerFrame(reply);
        EXPECT_TRUE(answer.checkOk());
        EXPECT_EQ(answer.command(), command | 0x80);
        EXPECT_EQ(answer.data()[10], 62);
        EXPECT_EQ(answer.data()[0], 'Z');
        EXPECT_FALSE(reply.imageChanged);
    }
    EXPECT_EQ(unit.store().image(), before);
    EXPECT_EQ(unit.programmingCount(), 0);
}

TEST(SimUnit, BadCheckByteAndUnknownCommandsGetNoAnswer) {
    SimUnit unit;
    LinkFrame damaged = LinkFrame::make(0x41);
    damaged.bytes()[151] ^= 1;
    EXPECT_TRUE(unit.handle(damaged, 0ms).bytes.empty());
    LinkFrame damagedProgram = LinkFrame::make(0x02, blockPattern(2));
    damagedProgram.bytes()[20] ^= 4;
    const UnitReply ignored = unit.handle(damagedProgram, 0ms);
    EXPECT_TRUE(ignored.bytes.empty());
    EXPECT_FALSE(ignored.imageChanged);
    EXPECT_EQ(unit.store().image(), builtInImage());
    for (const std::uint8_t command : {0x0A, 0x3F, 0x4A, 0x31, 0x80, 0xB0, 0xC1, 0xFF}) {
        EXPECT_TRUE(unit.handle(LinkFrame::make(command), 0ms).bytes.empty()) << int(command);
    }
}

TEST(SimUnit, MonitorAnswerIsSealedAndCarriesVersionAndSaving) {
    SimUnit unit;
    const LinkFrame idle = answerFrame(poll(unit, 5000ms));
    EXPECT_TRUE(idle.checkOk());
    EXPECT_EQ(idle.command(), 0xB0);
    EXPECT_EQ(idle.bytes()[150], 63);
    EXPECT_EQ(idle.word(148), 0);
    EXPECT_EQ(idle.word(76), 0);

    unit.handle(LinkFrame::make(0x04, blockPattern(4)), 10'000ms);
    const LinkFrame justAfter = answerFrame(poll(unit, 10'000ms));
    EXPECT_EQ(justAfter.word(148), SimUnit::kFullSave);
    const std::uint16_t halfway = answerFrame(poll(unit, 11'500ms)).word(148);
    EXPECT_GT(halfway, 0);
    EXPECT_LT(halfway, SimUnit::kFullSave);
    EXPECT_EQ(answerFrame(poll(unit, 10'000ms + SimUnit::kSaveDuration)).word(148), 0);
    EXPECT_EQ(answerFrame(poll(unit, 60'000ms)).word(76), 1);
}

TEST(SimUnit, ProgrammingCountCountsSessionsNotBlocks) {
    SimUnit unit;
    unit.handle(LinkFrame::make(0x00), 0ms);  // a full Program starts with block 0
    for (int n = 1; n <= 9; ++n) unit.handle(LinkFrame::make(n, blockPattern(n)), 0ms);
    unit.handle(LinkFrame::make(0x41), 0ms);  // its verify
    EXPECT_EQ(unit.programmingCount(), 1);
    poll(unit);
    unit.handle(LinkFrame::make(0x04, blockPattern(7)), 0ms);  // one block after an edit
    poll(unit);
    unit.handle(LinkFrame::make(0x04, blockPattern(8)), 0ms);
    EXPECT_EQ(unit.programmingCount(), 3);
}

TEST(SimUnitFaults, DropLeavesOutEveryNthAnswer) {
    SimUnit unit = unitWith({{FaultKind::Drop, 3}});
    std::vector<bool> answered;
    for (int i = 0; i < 7; ++i) answered.push_back(!poll(unit).bytes.empty());
    EXPECT_EQ(answered, (std::vector<bool>{true, true, false, true, true, false, true}));
}

TEST(SimUnitFaults, DroppedProgramAnswerStillStoresTheBlock) {
    SimUnit unit = unitWith({{FaultKind::Drop, 1}});
    const UnitReply reply = unit.handle(LinkFrame::make(0x02, blockPattern(2)), 0ms);
    EXPECT_TRUE(reply.bytes.empty());
    EXPECT_TRUE(reply.imageChanged);
    EXPECT_EQ(unit.store().image().block(2)[9], blockPattern(2)[9]);
}

TEST(SimUnitFaults, CorruptChangesOneByteSoTheCheckFails) {
    SimUnit plain;
    SimUnit unit = unitWith({{FaultKind::Corrupt, 2}});
    for (int i = 1; i <= 4; ++i) {
        const LinkFrame good = answerFrame(plain.handle(LinkFrame::make(0x45), 0ms));
        const LinkFrame answer = answerFrame(unit.handle(LinkFrame::make(0x45), 0ms));
        int differences = 0;
        for (std::size_t k = 0; k < LinkFrame::kSize; ++k) {
            differences += good.bytes()[k] != answer.bytes()[k];
        }
        EXPECT_EQ(answer.checkOk(), i % 2 != 0) << i;
        EXPECT_EQ(differences, i % 2 == 0 ? 1 : 0) << i;
    }
}

TEST(SimUnitFaults, WrongCommandKeepsTheCheckRight) {
    SimUnit unit = unitWith({{FaultKind::WrongCommand, 2}});
    const LinkFrame first = answerFrame(unit.handle(LinkFrame::make(0x49), 0ms));
    const LinkFrame second = answerFrame(unit.handle(LinkFrame::make(0x49), 0ms));
    EXPECT_EQ(first.command(), 0xC9);
    EXPECT_TRUE(second.checkOk());
    EXPECT_NE(second.command(), 0xC9);
    EXPECT_TRUE(std::equal(first.data().begin(), first.data().end(), second.data().begin()));
}

TEST(SimUnitFaults, StrayBytesGoBeforeEveryNthAnswer) {
    SimUnit unit = unitWith({{FaultKind::Stray, 2}});
    EXPECT_EQ(unit.handle(LinkFrame::make(0x41), 0ms).bytes.size(), LinkFrame::kSize);
    const UnitReply withStray = unit.handle(LinkFrame::make(0x41), 0ms);
    const std::size_t strayCount = std::size(FaultPlan::kStrayBytes);
    ASSERT_EQ(withStray.bytes.size(), LinkFrame::kSize + strayCount);
    LinkFrame behind;
    std::copy(withStray.bytes.begin() + strayCount, withStray.bytes.end(), behind.bytes().begin());
    EXPECT_TRUE(behind.checkOk());
    EXPECT_EQ(behind.command(), 0xC1);
    // The batch as the PC reads it does not start on the frame.
    EXPECT_FALSE(
        LinkFrame::fromBytes(std::span<const std::uint8_t, 152>(withStray.bytes.data(), 152))
            .checkOk());
}

TEST(SimUnitFaults, EchoMismatchHitsOnlyThatBlockEveryTime) {
    SimUnit unit = unitWith({{FaultKind::EchoMismatch, 4}});
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto data = blockPattern(4);
        const LinkFrame echo = answerFrame(unit.handle(LinkFrame::make(0x04, data), 0ms));
        EXPECT_TRUE(echo.checkOk());
        EXPECT_EQ(echo.command(), 0x84);
        EXPECT_FALSE(std::equal(data.begin(), data.end(), echo.data().begin()));
        // Stored correctly: only the echo is wrong.
        const LinkFrame read = answerFrame(unit.handle(LinkFrame::make(0x44), 0ms));
        EXPECT_TRUE(std::equal(data.begin(), data.end(), read.data().begin()));
    }
    const auto other = blockPattern(5);
    const LinkFrame echo = answerFrame(unit.handle(LinkFrame::make(0x05, other), 0ms));
    EXPECT_TRUE(std::equal(other.begin(), other.end(), echo.data().begin()));
}

TEST(SimUnitFaults, SilentNeverAnswers) {
    SimUnit unit = unitWith({{FaultKind::Silent, 0}});
    EXPECT_TRUE(poll(unit).bytes.empty());
    EXPECT_TRUE(unit.handle(LinkFrame::make(0x40), 0ms).bytes.empty());
    EXPECT_TRUE(unit.handle(LinkFrame::make(0x03, blockPattern(3)), 0ms).bytes.empty());
}

}  // namespace
}  // namespace zelvor::sim
