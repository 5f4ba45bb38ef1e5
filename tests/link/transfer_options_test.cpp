// The two ways a caller other than the window runs transfers: the first
// request on the next tick, and the image moved exactly as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "editing/transfer_presenter.h"
#include "link/transfer_engine.h"
#include "link_test_support.h"
#include "model/field_table.h"
#include "model/sanitizer.h"

namespace zelvor::link {
namespace {

using model::Field;
using model::ParameterImage;
using testing::answer;
using testing::infoBlock;
using testing::RecordingSink;

// A sane image with one value the range rules would change: an advance cell
// above the 60 degrees the unit accepts.
ParameterImage imageOutOfRange() {
    ParameterImage image;
    model::sanitize(image);
    image.set(Field::ADVANCE_Cell, 17, 200);
    return image;
}

class TransferOptionsTest : public ::testing::Test {
  protected:
    // Ticks until the engine sends a frame; the number of ticks, or -1.
    int ticksUntilSent() {
        const std::size_t before = sink.frames.size();
        for (int ticks = 1; ticks <= 10; ++ticks) {
            engine.tick();
            if (sink.frames.size() > before) return ticks;
        }
        return -1;
    }

    // Ticks, answering every transfer request from the unit's memory at
    // once, until the engine is idle again.
    void serveUntilIdle(ParameterImage& unit) {
        for (int t = 0; t < 200 && (t == 0 || engine.state() != TransferState::Idle); ++t) {
            engine.tick();
            while (served < sink.frames.size()) {
                const LinkFrame request = sink.frames[served++];
                const int block = request.command() & 0x3F;
                if (request.command() == LinkFrame::kMonitorPoll) continue;
                if (block == 0) {
                    engine.handleAnswer(answer(request.command(), infoBlock(63)).bytes());
                    continue;
                }
                if ((request.command() & 0xC0) == LinkFrame::kProgramBlock) {
                    std::copy(request.data().begin(), request.data().end(),
                              unit.block(block).begin());
                }
                engine.handleAnswer(answer(request.command(), unit.block(block)).bytes());
            }
        }
    }

    // The status label in words, as the window shows it.
    std::string statusText() const { return words.text(engine.status().message); }

    ParameterImage image = imageOutOfRange();
    RecordingSink sink;
    i18n::MessageTable messages;
    editing::TransferPresenter words{messages};
    TransferEngine engine{image, sink};
    std::size_t served = 0;
};

TEST_F(TransferOptionsTest, FirstRequestOnTheNextTickOnlyWhenAsked) {
    (void)engine.read();
    EXPECT_EQ(ticksUntilSent(), TransferEngine::kTicksPerRequest) << "the window's rule";

    engine.setOptions({.firstRequestOnNextTick = true});
    for (auto start : {&TransferEngine::read, &TransferEngine::verify, &TransferEngine::program}) {
        const std::size_t before = sink.frames.size();
        (engine.*start)();
        EXPECT_EQ(sink.frames.size(), before) << "a start never sends at once";
        EXPECT_EQ(ticksUntilSent(), 1);
        EXPECT_EQ(sink.frames.size(), before + 1);
        EXPECT_EQ(engine.attempts(), 1) << "the first send is the first attempt";
        // Unanswered, the request is repeated on the usual period.
        EXPECT_EQ(ticksUntilSent(), TransferEngine::kTicksPerRequest);
    }
}

TEST_F(TransferOptionsTest, ExactImageKeepsOutOfRangeValuesThroughEveryTransfer) {
    engine.setOptions({.exactImage = true});
    const ParameterImage exact = image;
    ParameterImage unit;

    (void)engine.program();
    serveUntilIdle(unit);
    EXPECT_EQ(statusText(), "Verify: OK");
    EXPECT_EQ(unit, exact) << "programmed and verified byte for byte";
    EXPECT_EQ(image, exact);

    image = ParameterImage();
    (void)engine.read();
    serveUntilIdle(unit);
    EXPECT_EQ(statusText(), "Verify: OK");
    EXPECT_EQ(image, exact) << "read without the range rules";

    // The window's way brings the image into range before it programs.
    engine.setOptions({});
    (void)engine.program();
    serveUntilIdle(unit);
    EXPECT_EQ(unit.get(Field::ADVANCE_Cell, 17), 60);
    EXPECT_EQ(image.get(Field::ADVANCE_Cell, 17), 60);
}

}  // namespace
}  // namespace zelvor::link
