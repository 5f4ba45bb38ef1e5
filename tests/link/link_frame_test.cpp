#include "link/link_frame.h"

#include <gtest/gtest.h>

namespace zelvor::link {
namespace {

TEST(LinkFrame, MonitorPollHasCheckByte207) {
    const LinkFrame poll = LinkFrame::make(LinkFrame::kMonitorPoll);
    EXPECT_EQ(poll.bytes()[0], 48);
    EXPECT_EQ(poll.bytes()[151], 207);
    EXPECT_TRUE(poll.checkOk());
}

TEST(LinkFrame, AnyChangedByteFailsTheCheck) {
    std::array<std::uint8_t, 150> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    const LinkFrame frame = LinkFrame::make(0x45, data);
    ASSERT_TRUE(frame.checkOk());
    EXPECT_EQ(frame.data()[10], 70);
    for (std::size_t i = 0; i < LinkFrame::kSize; ++i) {
        LinkFrame damaged = frame;
        damaged.bytes()[i] ^= 0x10;
        EXPECT_FALSE(damaged.checkOk()) << i;
    }
}

TEST(LinkFrame, WordsAreLittleEndianAtFrameOffsets) {
    LinkFrame frame = LinkFrame::make(LinkFrame::kMonitorAnswer);
    frame.setWord(44, 0x1234);
    frame.setWord(150, 0xBEEF);  // the last word: the version and the check byte
    EXPECT_EQ(frame.bytes()[43], 0);
    EXPECT_EQ(frame.bytes()[44], 0x34);
    EXPECT_EQ(frame.bytes()[45], 0x12);
    EXPECT_EQ(frame.bytes()[46], 0);
    EXPECT_EQ(frame.word(44), 0x1234);
    EXPECT_EQ(frame.word(150), 0xBEEF);
    EXPECT_EQ(frame.bytes()[151], 0xBE);
}

}  // namespace
}  // namespace zelvor::link
