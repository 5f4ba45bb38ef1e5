// Feeds the unit link arbitrary bytes from the port, cut into reads at
// arbitrary places and mixed with well-formed answers, while the transfer
// engine idles or runs a Read, Verify or Program that the input starts,
// stops and edits under. The same batches go to a monitor decoder of their
// own. Besides the sanitizers' checks it aborts when
// - the image changes other than by the range rules or a finished Read;
// - a finished Read puts anything into the image but the blocks it accepted;
// - a Verify ends in success while a block of the image differs from what
//   the unit last answered for it;
// - a block flag is cleared without an echo equal to the image's block;
// - the monitor decoder accepts a frame with a bad check byte, refuses a
//   good one, or changes anything when it refuses.
//
// Input: one byte of options, then steps, each an operation byte followed
// by its arguments (missing bytes read as zero).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "link/link_frame.h"
#include "link/monitor_decoder.h"
#include "link/serial_port.h"
#include "link/transfer_engine.h"
#include "link/unit_link.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"

using namespace zelvor;
using link::LinkFrame;
using link::TransferState;
using model::ParameterImage;

namespace {

// Names the broken invariant by its line before aborting.
#define check(condition) \
    ((condition)         \
         ? void(0)       \
         : (std::fprintf(stderr, "broken: %s (line %d)\n", #condition, __LINE__), std::abort()))

class Input {
  public:
    explicit Input(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool empty() const { return bytes_.empty(); }
    std::uint8_t next() {
        if (bytes_.empty()) return 0;
        const std::uint8_t b = bytes_.front();
        bytes_ = bytes_.subspan(1);
        return b;
    }
    std::span<const std::uint8_t> take(std::size_t n) {
        n = std::min(n, bytes_.size());
        const auto taken = bytes_.first(n);
        bytes_ = bytes_.subspan(n);
        return taken;
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// A port whose received bytes the input delivers; every batch the link reads
// is kept for the checks.
class ScriptedPort : public link::SerialPort {
  public:
    bool open(const std::string&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    std::size_t queuedBytes() override { return incoming.size(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), incoming.size());
        std::copy_n(incoming.begin(), n, buffer.begin());
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n));
        lastBatch.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    bool write(std::span<const std::uint8_t> frame) override {
        check(frame.size() == LinkFrame::kSize);
        check(link::frameChecksum(frame) == 0);
        return true;
    }
    void purgeInput() override { incoming.clear(); }

    std::deque<std::uint8_t> incoming;
    std::vector<std::uint8_t> lastBatch;
};

using BlockData = std::array<std::uint8_t, LinkFrame::kDataSize>;

class LinkHarness {
  public:
    LinkHarness(const ParameterImage& start, bool exact) : image_(start), expected_(start) {
        link_.transfer().setOptions({.firstRequestOnNextTick = exact, .exactImage = exact});
    }

    void run(Input& in) {
        while (!in.empty()) step(in);
        // Whatever is still on its way arrives, and the transfer runs out.
        pending_.clear();
        for (int i = 0; i < 400 && link_.transfer().running(); ++i) tick(false);
        check(!link_.transfer().running());
    }

  private:
    void step(Input& in) {
        switch (in.next() % 8) {
            case 0: {  // raw bytes
                const auto raw = in.take(in.next());
                pending_.insert(pending_.end(), raw.begin(), raw.end());
                break;
            }
            case 1:
                queueAnswer(in);
                break;
            case 2: {  // part of what is on its way reaches the port
                const std::size_t n = std::min<std::size_t>(in.next() * 2u + 1u, pending_.size());
                port_.incoming.insert(port_.incoming.end(), pending_.begin(),
                                      pending_.begin() + static_cast<std::ptrdiff_t>(n));
                pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
                break;
            }
            case 3: {
                const int ticks = in.next() % 16 + 1;
                for (int i = 0; i < ticks; ++i) tick(false);
                break;
            }
            case 4:
                command(in);
                break;
            case 5:
                tick(true);
                break;
            case 6: {  // an edit while the link works
                const std::size_t offset = (in.next() | (in.next() << 8)) % ParameterImage::kSize;
                image_.setByte(offset, in.next());
                expected_ = image_;
                // Blocks already verified are not asked again: this Verify
                // no longer says anything about the image as it is now.
                verifyOverEditedImage_ = true;
                break;
            }
            case 7:
                link_.transfer().setSavingCount(static_cast<std::uint16_t>(in.next() * 11));
                break;
        }
    }

    // A sealed frame: the answer to the request in work or any command, its
    // data the image's block, that block with one byte changed, an
    // information block or bytes of the input.
    void queueAnswer(Input& in) {
        const std::uint8_t commandChoice = in.next();
        const std::uint8_t command =
            commandChoice < 0xC0 ? static_cast<std::uint8_t>(link_.transfer().currentCommand() ^
                                                             LinkFrame::kAnswerBit)
                                 : in.next();
        const int block = command & 0x3F;
        BlockData data{};
        const std::uint8_t source = in.next();
        switch (source % 4) {
            case 0:
            case 1:
                if (block >= 1 && block <= ParameterImage::kBlockCount) {
                    const auto stored = image_.block(block);
                    std::copy(stored.begin(), stored.end(), data.begin());
                }
                if (source % 4 == 1) data[in.next() % data.size()] ^= in.next() | 1;
                break;
            case 2: {
                const auto raw = in.take(std::min<std::size_t>(in.next(), data.size()));
                std::copy(raw.begin(), raw.end(), data.begin());
                break;
            }
            case 3:
                data[10] = source < 0xF0 ? link::kProgramVersion : in.next();
                break;
        }
        const LinkFrame frame = LinkFrame::make(command, data);
        pending_.insert(pending_.end(), frame.bytes().begin(), frame.bytes().end());
    }

    void command(Input& in) {
        link::TransferEngine& engine = link_.transfer();
        link::TransferOutcome outcome;
        const std::uint8_t which = in.next();
        switch (which % 6) {
            case 0:
                outcome = engine.read();
                break;
            case 1:
                outcome = engine.verify();
                verifiedBlocks_.fill(std::nullopt);
                verifyOverEditedImage_ = false;
                break;
            case 2:
                outcome = engine.program();
                break;
            case 3:
                engine.setBlockFlag(in.next() % link::TransferEngine::kBlockFlagCount);
                engine.startProgramming();
                break;
            case 4:
                engine.stop();
                break;
            case 5:
                outcome = engine.imageCollected();
                break;
        }
        // A caller collects before the first request unless the input says
        // it forgets.
        if (outcome.collectBeforeSending && which < 0x80) outcome |= engine.imageCollected();
        afterCall(outcome, std::nullopt);
    }

    void tick(bool deliverAll) {
        if (deliverAll) {
            port_.incoming.insert(port_.incoming.end(), pending_.begin(), pending_.end());
            pending_.clear();
        }
        link::TransferEngine& engine = link_.transfer();
        const TransferState stateBefore = engine.state();
        const std::uint8_t commandBefore = engine.currentCommand();
        port_.lastBatch.clear();
        const link::TransferOutcome outcome = link_.tick();

        std::optional<LinkFrame> accepted;
        if (port_.lastBatch.size() >= LinkFrame::kSize) {
            const std::span<const std::uint8_t> batch(port_.lastBatch);
            checkMonitorDecoder(batch);
            const LinkFrame frame = LinkFrame::fromBytes(batch.first<LinkFrame::kSize>());
            if (frame.checkOk() && stateBefore != TransferState::Idle &&
                frame.command() == (commandBefore ^ LinkFrame::kAnswerBit) &&
                frame.command() != LinkFrame::kMonitorAnswer) {
                accepted = frame;
            }
        }
        if (accepted) noteAnswer(stateBefore, *accepted);
        afterCall(outcome, accepted);
    }

    // What the unit answered, as the engine should have taken it.
    void noteAnswer(TransferState state, const LinkFrame& frame) {
        const int block = frame.command() & 0x3F;
        if (block < 1 || block > ParameterImage::kBlockCount) return;
        BlockData data;
        std::copy(frame.data().begin(), frame.data().end(), data.begin());
        if (state == TransferState::Read) readBlocks_[block - 1] = data;
        if (state == TransferState::Verify) verifiedBlocks_[block - 1] = data;
    }

    void afterCall(const link::TransferOutcome& outcome, const std::optional<LinkFrame>& accepted) {
        const link::TransferEngine& engine = link_.transfer();
        // During a transfer the gauge shows the block in work. (Idle, it
        // follows the saving count the unit reports, whatever that is.)
        if (engine.running()) {
            check(engine.gauge().progress >= 0 &&
                  engine.gauge().progress <= link::ProgressGauge::kMaxValue);
        }
        check(static_cast<int>(engine.state()) <= 3);

        if (outcome.imageReplaced) {
            ParameterImage read;
            for (int b = 1; b <= ParameterImage::kBlockCount; ++b) {
                check(readBlocks_[b - 1].has_value());
                std::copy(readBlocks_[b - 1]->begin(), readBlocks_[b - 1]->end(),
                          read.block(b).begin());
            }
            if (!engine.options().exactImage) model::sanitize(read);
            check(image_ == read);
            expected_ = image_;
        } else if (!(image_ == expected_)) {
            // Only the range rules may change the image, and only when the
            // caller is told to show it again.
            check(outcome.refreshImage && !engine.options().exactImage);
            ParameterImage ruled = expected_;
            model::sanitize(ruled);
            check(image_ == ruled);
            expected_ = image_;
        }

        // A transfer that starts over forgets the answers of the last one.
        if (engine.state() == TransferState::Verify && lastState_ != TransferState::Verify) {
            verifiedBlocks_.fill(std::nullopt);
            verifyOverEditedImage_ = false;
        }
        if (engine.state() == TransferState::Read && lastState_ != TransferState::Read) {
            readBlocks_.fill(std::nullopt);
        }
        if (engine.status().message == link::StatusMessage::VerifySucceeded &&
            lastMessage_ != link::StatusMessage::VerifySucceeded && !verifyOverEditedImage_) {
            for (int b = 1; b <= ParameterImage::kBlockCount; ++b) {
                const auto stored = image_.block(b);
                check(verifiedBlocks_[b - 1].has_value() &&
                      std::equal(stored.begin(), stored.end(), verifiedBlocks_[b - 1]->begin()));
            }
        }

        for (int b = 1; b < link::TransferEngine::kBlockFlagCount; ++b) {
            if (flags_[b] && !engine.blockFlag(b)) {
                // Cleared: the unit echoed exactly this block.
                check(accepted.has_value() && accepted->command() == (b | LinkFrame::kAnswerBit));
                const auto stored = image_.block(b);
                check(std::equal(stored.begin(), stored.end(), accepted->data().begin()));
            }
        }
        for (int b = 0; b < link::TransferEngine::kBlockFlagCount; ++b) {
            flags_[b] = engine.blockFlag(b);
        }
        lastState_ = engine.state();
        lastMessage_ = engine.status().message;
    }

    // The decoder accepts exactly the frames with a good check byte and
    // leaves everything as it was when it refuses one.
    void checkMonitorDecoder(std::span<const std::uint8_t> batch) {
        const link::LiveValues live = decoder_.live();
        const std::uint32_t decoded = decoder_.framesDecoded();
        const bool good = link::frameChecksum(batch.first(LinkFrame::kSize)) == 0;
        check(decoder_.decode(batch) == good);
        if (good) {
            check(decoder_.framesDecoded() == decoded + 1);
        } else {
            check(decoder_.framesDecoded() == decoded && decoder_.live() == live);
        }
    }

    ParameterImage image_;
    ParameterImage expected_;
    ScriptedPort port_;
    link::UnitLink link_{image_, port_};
    link::MonitorDecoder decoder_;
    std::vector<std::uint8_t> pending_;
    std::array<std::optional<BlockData>, ParameterImage::kBlockCount> readBlocks_{};
    std::array<std::optional<BlockData>, ParameterImage::kBlockCount> verifiedBlocks_{};
    std::array<bool, link::TransferEngine::kBlockFlagCount> flags_{};
    bool verifyOverEditedImage_ = false;
    TransferState lastState_ = TransferState::Idle;
    link::StatusMessage lastMessage_ = link::StatusMessage::None;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(std::span<const std::uint8_t>(data, size));
    const std::uint8_t options = in.next();
    ParameterImage start;
    for (std::size_t i = 0; i < ParameterImage::kSize; ++i) {
        start.setByte(i, static_cast<std::uint8_t>(i * (options | 1) + (options >> 4)));
    }
    const bool exact = (options & 0x02) != 0;
    if ((options & 0x04) != 0) model::sanitize(start);
    LinkHarness harness(start, exact);
    harness.run(in);
    return 0;
}
