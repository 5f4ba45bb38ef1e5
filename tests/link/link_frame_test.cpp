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

}  // namespace
}  // namespace zelvor::link
