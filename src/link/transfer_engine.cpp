#include "link/transfer_engine.h"

#include <algorithm>
#include <utility>

#include "model/sanitizer.h"

namespace zelvor::link {

using i18n::MessageKey;

namespace {

constexpr std::uint8_t kFirstVerifyCommand = LinkFrame::kReadBlock + 1;  // 0x41
constexpr int kLastBlock = 9;
constexpr const char* kOkSuffix = " OK";

}  // namespace

TransferEngine::TransferEngine(model::ParameterImage& image, FrameSink& sink,
                               const i18n::MessageTable& messages, TransferHooks hooks)
    : image_(image), sink_(sink), messages_(messages), hooks_(std::move(hooks)) {}

bool TransferEngine::blockFlag(int block) const {
    return block >= 0 && block < kBlockFlagCount && blockFlags_[block];
}

void TransferEngine::setBlockFlag(int block) {
    if (block >= 0 && block < kBlockFlagCount) blockFlags_[block] = true;
}

void TransferEngine::program() {
    prepareImage();
    verifyAfterProgram_ = true;
    blockFlags_.fill(true);
    startProgramming();
}

void TransferEngine::startProgramming() {
    const auto first = std::find(blockFlags_.begin(), blockFlags_.end(), true);
    if (first == blockFlags_.end()) return;
    const int block = static_cast<int>(first - blockFlags_.begin());
    start(TransferState::Program, static_cast<std::uint8_t>(LinkFrame::kProgramBlock + block),
          block, MessageKey::MsgProgramProgress);
}

void TransferEngine::verify() {
    prepareImage();
    start(TransferState::Verify, kFirstVerifyCommand, 0, MessageKey::MsgVerifyProgress);
}

void TransferEngine::read() {
    start(TransferState::Read, LinkFrame::kReadBlock, 0, MessageKey::MsgReadProgress);
    imageAtReadStart_ = image_.bytes();
    if (hooks_.clearFileName) hooks_.clearFileName();
}

void TransferEngine::stop() {
    MessageKey progress = MessageKey::MsgProgramProgress;
    switch (state_) {
        case TransferState::Idle:
            return;
        case TransferState::Program:
            break;
        case TransferState::Verify:
            progress = MessageKey::MsgVerifyProgress;
            break;
        case TransferState::Read:
            progress = MessageKey::MsgReadProgress;
            break;
    }
    state_ = TransferState::Idle;
    done_ = false;
    showStatus(text(progress) + " " + text(MessageKey::MsgStopped), Colour::Yellow);
    failed_ = true;  // stays on the label like an error
}

void TransferEngine::start(TransferState state, std::uint8_t command, int progress,
                           MessageKey progressText) {
    state_ = state;
    command_ = command;
    attempts_ = 0;
    if (options_.firstRequestOnNextTick) ticksSinceSend_ = kTicksPerRequest - 1;
    showStatus(text(progressText), Colour::ButtonFace);
    gauge_.progress = progress;
    gauge_.visible = true;
    done_ = false;
    failed_ = false;
}

void TransferEngine::announce(std::string text, Colour background) {
    showStatus(std::move(text), background);
    failed_ = false;
}

void TransferEngine::tick() {
    if (state_ != TransferState::Idle) {
        if (state_ == TransferState::Read) done_ = false;
        if (++ticksSinceSend_ >= kTicksPerRequest) {
            ticksSinceSend_ = 0;
            if (++attempts_ > kMaxSends) {
                failTransfer();
            } else {
                sendTransferFrame();
            }
        }
    } else {
        if (++ticksSinceSend_ >= kTicksPerRequest) {
            ticksSinceSend_ = 0;
            sendMonitorPoll();
        }
        if (failed_) {
            // An error stays as it is: no saving display, no success text.
        } else if (savingCount_ > 0) {
            status_.background = Colour::ButtonFace;
            status_.text = text(MessageKey::MsgSaving);
            hideCountdown_ = kHideTicks;
            gauge_.progress =
                (kFullSaveCount - savingCount_) * ProgressGauge::kMaxValue / kFullSaveCount;
        } else if (done_) {
            status_.text = text(MessageKey::MsgProgramProgress) + kOkSuffix;
            gauge_.progress = ProgressGauge::kMaxValue;
        }
    }

    if (!failed_ && hideCountdown_ > 0 && --hideCountdown_ == 0) {
        status_.visible = false;
        gauge_.visible = false;
        done_ = false;
    }

    if (connectionTicks_ < kWatchdogTicks) {
        ++connectionTicks_;
        noConnectionVisible_ = false;
    } else {
        noConnectionVisible_ = !printing_;
    }
}

void TransferEngine::handleAnswer(std::span<const std::uint8_t> batch) {
    if (batch.size() < LinkFrame::kSize) return;
    const LinkFrame frame = LinkFrame::fromBytes(
        std::span<const std::uint8_t, LinkFrame::kSize>(batch.first(LinkFrame::kSize)));
    if (!frame.checkOk()) return;
    const int block = currentBlock();
    if (block > kLastBlock) return;
    if (frame.command() != (command_ ^ LinkFrame::kAnswerBit) || state_ == TransferState::Idle) {
        return;
    }
    connectionTicks_ = 0;
    switch (state_) {
        case TransferState::Program:
            handleProgramAnswer(block, frame.data());
            break;
        case TransferState::Verify:
            handleVerifyAnswer(block, frame.data());
            break;
        case TransferState::Read:
            handleReadAnswer(block, frame.data());
            break;
        case TransferState::Idle:
            break;
    }
}

void TransferEngine::handleProgramAnswer(int block, std::span<const std::uint8_t, 150> data) {
    if (block == 0) {
        takeInfoBlock(data);
        applyRangeRules();
        refresh();
        if (infoBlock_[info_block::kVersion] != kProgramVersion) {
            versionMismatch();
            return;
        }
    } else if (!matchesImage(block, data)) {
        // The unit did not store what was sent. The block stays flagged, so
        // a later start of programming still knows it is not in the unit;
        // the tick sends it again.
        return;
    }
    blockFlags_[block] = false;

    const auto next = std::find(blockFlags_.begin(), blockFlags_.end(), true);
    if (next != blockFlags_.end()) {
        const int nextBlock = static_cast<int>(next - blockFlags_.begin());
        requestNext(static_cast<std::uint8_t>(LinkFrame::kProgramBlock + nextBlock), nextBlock);
        return;
    }

    done_ = true;
    if (verifyAfterProgram_) {
        beginVerify();
    } else {
        succeed(MessageKey::MsgProgramProgress);
    }
}

void TransferEngine::handleVerifyAnswer(int block, std::span<const std::uint8_t, 150> data) {
    if (block == 0 || !matchesImage(block, data)) return;  // the tick asks again
    if (block < kLastBlock) {
        requestNext(static_cast<std::uint8_t>(command_ + 1), block + 1);
        return;
    }
    verifyAfterProgram_ = false;
    succeed(MessageKey::MsgVerifyProgress);
}

void TransferEngine::handleReadAnswer(int block, std::span<const std::uint8_t, 150> data) {
    if (block == 0) {
        takeInfoBlock(data);
        if (infoBlock_[info_block::kVersion] != kProgramVersion) {
            state_ = TransferState::Idle;
            applyRangeRules();
            refresh();
            versionMismatch();
            return;
        }
    } else {
        const std::size_t offset =
            static_cast<std::size_t>(block - 1) * model::ParameterImage::kBlockSize;
        std::copy(data.begin(), data.end(),
                  readBuffer_.begin() + static_cast<std::ptrdiff_t>(offset));
    }

    if (block < kLastBlock) {
        requestNext(static_cast<std::uint8_t>(command_ + 1), block + 1);
        return;
    }
    // Blocks 1..9 of this Read are all in the buffer: they arrive in order
    // and each Read starts again at the information block.
    if (image_.bytes() != imageAtReadStart_) {
        // The tuner changed the parameters meanwhile: they are not replaced.
        stop();
        return;
    }
    image_.assign(readBuffer_);
    applyRangeRules();
    refresh();
    beginVerify();
}

void TransferEngine::beginVerify() {
    state_ = TransferState::Verify;
    requestNext(kFirstVerifyCommand, 0);
    showStatus(text(MessageKey::MsgVerifyProgress), Colour::ButtonFace);
}

void TransferEngine::requestNext(std::uint8_t command, int progress) {
    command_ = command;
    gauge_.progress = progress;
    attempts_ = 1;
    sendTransferFrame();
}

void TransferEngine::succeed(MessageKey progressText) {
    gauge_.progress = ProgressGauge::kMaxValue;
    showStatus(text(progressText) + kOkSuffix, Colour::ButtonFace);
    state_ = TransferState::Idle;
}

void TransferEngine::takeInfoBlock(std::span<const std::uint8_t, 150> data) {
    std::copy(data.begin(), data.end(), infoBlock_.begin());
    identification_ = identifyUnit(infoBlock_);
}

bool TransferEngine::matchesImage(int block, std::span<const std::uint8_t, 150> data) const {
    const auto stored = image_.block(block);
    return std::equal(data.begin(), data.end(), stored.begin());
}

void TransferEngine::versionMismatch() {
    state_ = TransferState::Idle;
    // No countdown: the label and gauge stay up with the interrupted transfer.
    hideCountdown_ = 0;
    if (hooks_.showVersionMismatch) {
        hooks_.showVersionMismatch(
            versionMismatchText(messages_, infoBlock_[info_block::kVersion]));
    }
}

void TransferEngine::failTransfer() {
    MessageKey key = MessageKey::MsgProgramError;
    if (state_ == TransferState::Read) key = MessageKey::MsgReadError;
    if (state_ == TransferState::Verify) {
        key = MessageKey::MsgVerifyError;
        done_ = false;
    }
    showStatus(text(key), Colour::Red);
    failed_ = true;
    state_ = TransferState::Idle;
}

void TransferEngine::showStatus(std::string text, Colour background) {
    status_.background = background;
    status_.text = std::move(text);
    // The label may have timed out during a long transfer; a new text is
    // always shown.
    status_.visible = true;
    hideCountdown_ = kHideTicks;
}

void TransferEngine::sendTransferFrame() {
    ticksSinceSend_ = 0;
    const int block = currentBlock();
    std::array<std::uint8_t, LinkFrame::kDataSize> data{};
    if (state_ != TransferState::Read && block >= 1 && block <= kLastBlock) {
        const auto stored = image_.block(block);
        std::copy(stored.begin(), stored.end(), data.begin());
    }
    sink_.send(LinkFrame::make(command_, data));
}

void TransferEngine::sendMonitorPoll() {
    sink_.send(LinkFrame::make(LinkFrame::kMonitorPoll));
}

void TransferEngine::prepareImage() {
    if (hooks_.collectVisiblePage) hooks_.collectVisiblePage();
    applyRangeRules();
    refresh();
}

void TransferEngine::applyRangeRules() {
    if (!options_.exactImage) model::sanitize(image_);
}

void TransferEngine::refresh() {
    if (hooks_.refreshVisiblePage) hooks_.refreshVisiblePage();
}

}  // namespace zelvor::link
