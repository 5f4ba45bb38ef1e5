#include "link/transfer_engine.h"

#include <algorithm>
#include <utility>

#include "model/sanitizer.h"

namespace zelvor::link {

namespace {

constexpr std::uint8_t kFirstVerifyCommand = LinkFrame::kReadBlock + 1;  // 0x41
constexpr int kLastBlock = 9;
constexpr std::uint16_t kAllImageBlocks = 0x3FE;  // blocks 1..9

}  // namespace

TransferOutcome& TransferOutcome::operator|=(const TransferOutcome& other) {
    collectBeforeSending = collectBeforeSending || other.collectBeforeSending;
    refreshImage = refreshImage || other.refreshImage;
    imageReplaced = imageReplaced || other.imageReplaced;
    fileNameLapsed = fileNameLapsed || other.fileNameLapsed;
    if (other.versionMismatch) versionMismatch = other.versionMismatch;
    if (other.succeeded) {
        succeeded = other.succeeded;
        blocksInUnit = other.blocksInUnit;
    }
    copyRead = copyRead || other.copyRead;
    return *this;
}

TransferOutcome TransferEngine::takeOutcome() {
    return std::exchange(outcome_, TransferOutcome{});
}

bool TransferEngine::blockFlag(int block) const {
    return block >= 0 && block < kBlockFlagCount && blockFlags_[block];
}

void TransferEngine::setBlockFlag(int block) {
    if (block >= 0 && block < kBlockFlagCount) blockFlags_[block] = true;
}

TransferOutcome TransferEngine::program() {
    verifyAfterProgram_ = true;
    blockFlags_.fill(true);
    startProgramming();
    awaitingImage_ = true;
    outcome_.collectBeforeSending = true;
    return takeOutcome();
}

void TransferEngine::startProgramming() {
    const auto first = std::find(blockFlags_.begin(), blockFlags_.end(), true);
    if (first == blockFlags_.end()) return;
    const int block = static_cast<int>(first - blockFlags_.begin());
    if (state_ != TransferState::Program) programmedBlocks_ = 0;
    kind_ = TransferKind::Program;
    start(TransferState::Program, static_cast<std::uint8_t>(LinkFrame::kProgramBlock + block),
          block, StatusMessage::ProgramProgress);
}

TransferOutcome TransferEngine::verify() {
    kind_ = TransferKind::Verify;
    start(TransferState::Verify, kFirstVerifyCommand, 0, StatusMessage::VerifyProgress);
    awaitingImage_ = true;
    outcome_.collectBeforeSending = true;
    return takeOutcome();
}

TransferOutcome TransferEngine::read() {
    kind_ = TransferKind::Read;
    start(TransferState::Read, LinkFrame::kReadBlock, 0, StatusMessage::ReadProgress);
    imageAtReadStart_ = image_.bytes();
    outcome_.fileNameLapsed = true;
    return takeOutcome();
}

TransferOutcome TransferEngine::readIntoCopy() {
    kind_ = TransferKind::Read;
    start(TransferState::Read, LinkFrame::kReadBlock, 0, StatusMessage::ReadProgress);
    intoCopy_ = true;
    return takeOutcome();
}

TransferOutcome TransferEngine::imageCollected() {
    if (awaitingImage_) takeImage();
    return takeOutcome();
}

void TransferEngine::takeImage() {
    awaitingImage_ = false;
    applyRangeRules();
    outcome_.refreshImage = true;
}

void TransferEngine::stop() {
    StatusMessage stopped = StatusMessage::ProgramStopped;
    switch (state_) {
        case TransferState::Idle:
            return;
        case TransferState::Program:
            break;
        case TransferState::Verify:
            stopped = StatusMessage::VerifyStopped;
            break;
        case TransferState::Read:
            stopped = StatusMessage::ReadStopped;
            break;
    }
    state_ = TransferState::Idle;
    awaitingImage_ = false;
    done_ = false;
    showStatus(stopped, StatusTone::Warning);
    failed_ = true;  // stays on the label like an error
}

void TransferEngine::start(TransferState state, std::uint8_t command, int progress,
                           StatusMessage progressText) {
    state_ = state;
    command_ = command;
    attempts_ = 0;
    awaitingImage_ = false;
    intoCopy_ = false;
    if (options_.firstRequestOnNextTick) ticksSinceSend_ = kTicksPerRequest - 1;
    showStatus(progressText, StatusTone::Plain);
    gauge_.progress = progress;
    gauge_.visible = true;
    done_ = false;
    failed_ = false;
}

void TransferEngine::announce() {
    showStatus(StatusMessage::Announcement, StatusTone::Notice);
    failed_ = false;
}

TransferOutcome TransferEngine::tick() {
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
        const bool answered = options_.pollEveryTick && pollAnswered_;
        if (++ticksSinceSend_ >= kTicksPerRequest || answered) {
            ticksSinceSend_ = 0;
            pollAnswered_ = false;
            sendMonitorPoll();
        }
        if (failed_) {
            // An error stays as it is: no saving display, no success text.
        } else if (savingCount_ > 0) {
            status_.tone = StatusTone::Plain;
            status_.message = StatusMessage::Saving;
            hideCountdown_ = kHideTicks;
            gauge_.progress =
                (kFullSaveCount - savingCount_) * ProgressGauge::kMaxValue / kFullSaveCount;
        } else if (done_) {
            // The words change, the label's tone stays as it is.
            status_.message = StatusMessage::ProgramSucceeded;
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
    return takeOutcome();
}

TransferOutcome TransferEngine::handleAnswer(std::span<const std::uint8_t> batch) {
    if (batch.size() < LinkFrame::kSize) return {};
    const LinkFrame frame = LinkFrame::fromBytes(
        std::span<const std::uint8_t, LinkFrame::kSize>(batch.first(LinkFrame::kSize)));
    if (!frame.checkOk()) return {};
    const int block = currentBlock();
    if (block > kLastBlock) return {};
    if (frame.command() != (command_ ^ LinkFrame::kAnswerBit) || state_ == TransferState::Idle) {
        return {};
    }
    connectionTicks_ = 0;
    // The echo and the verify compare with the image as it is sent.
    if (awaitingImage_) takeImage();
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
    return takeOutcome();
}

void TransferEngine::handleProgramAnswer(int block, std::span<const std::uint8_t, 150> data) {
    if (block == 0) {
        takeInfoBlock(data);
        applyRangeRules();
        outcome_.refreshImage = true;
        if (infoBlock_[info_block::kVersion] != kProgramVersion) {
            versionMismatch();
            return;
        }
    } else if (!matchesImage(block, data)) {
        // The unit did not store what was sent. The block stays flagged, so
        // a later start of programming still knows it is not in the unit;
        // the tick sends it again.
        echoMismatched_ = true;
        return;
    } else if (echoMismatched_) {
        // A matching echo before the block went out again answers an earlier
        // send, late: the unit holds what the mismatching echo showed.
        return;
    }
    blockFlags_[block] = false;
    if (block > 0) programmedBlocks_ |= static_cast<std::uint16_t>(1U << block);

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
        succeed(StatusMessage::ProgramSucceeded);
    }
}

void TransferEngine::handleVerifyAnswer(int block, std::span<const std::uint8_t, 150> data) {
    if (block == 0 || !matchesImage(block, data)) return;  // the tick asks again
    if (block < kLastBlock) {
        requestNext(static_cast<std::uint8_t>(command_ + 1), block + 1);
        return;
    }
    verifyAfterProgram_ = false;
    succeed(StatusMessage::VerifySucceeded);
}

void TransferEngine::handleReadAnswer(int block, std::span<const std::uint8_t, 150> data) {
    if (block == 0) {
        takeInfoBlock(data);
        if (infoBlock_[info_block::kVersion] != kProgramVersion) {
            state_ = TransferState::Idle;
            applyRangeRules();
            outcome_.refreshImage = true;
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
    if (intoCopy_) {
        readCopy_.assign(readBuffer_);
        if (!options_.exactImage) model::sanitize(readCopy_);
        intoCopy_ = false;
        state_ = TransferState::Idle;
        gauge_.progress = ProgressGauge::kMaxValue;
        hideStatus();
        outcome_.copyRead = true;
        return;
    }
    if (image_.bytes() != imageAtReadStart_) {
        // The tuner changed the parameters meanwhile: they are not replaced.
        stop();
        return;
    }
    image_.assign(readBuffer_);
    applyRangeRules();
    outcome_.imageReplaced = true;
    outcome_.refreshImage = true;
    beginVerify();
}

void TransferEngine::beginVerify() {
    state_ = TransferState::Verify;
    requestNext(kFirstVerifyCommand, 0);
    showStatus(StatusMessage::VerifyProgress, StatusTone::Plain);
}

void TransferEngine::requestNext(std::uint8_t command, int progress) {
    command_ = command;
    gauge_.progress = progress;
    attempts_ = 1;
    sendTransferFrame();
}

void TransferEngine::succeed(StatusMessage success) {
    gauge_.progress = ProgressGauge::kMaxValue;
    showStatus(success, StatusTone::Plain);
    state_ = TransferState::Idle;
    outcome_.succeeded = kind_;
    // A verify compared all nine blocks; a programming without one vouches
    // for the blocks it sent.
    outcome_.blocksInUnit =
        success == StatusMessage::VerifySucceeded ? kAllImageBlocks : programmedBlocks_;
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
    outcome_.versionMismatch = infoBlock_[info_block::kVersion];
}

void TransferEngine::failTransfer() {
    StatusMessage failure = StatusMessage::ProgramFailed;
    if (state_ == TransferState::Read) failure = StatusMessage::ReadFailed;
    if (state_ == TransferState::Verify) {
        failure = StatusMessage::VerifyFailed;
        done_ = false;
    }
    awaitingImage_ = false;
    showStatus(failure, StatusTone::Failure);
    failed_ = true;
    state_ = TransferState::Idle;
}

void TransferEngine::showStatus(StatusMessage message, StatusTone tone) {
    status_.tone = tone;
    status_.message = message;
    // The label may have timed out during a long transfer; a new text is
    // always shown.
    status_.visible = true;
    hideCountdown_ = kHideTicks;
}

void TransferEngine::sendTransferFrame() {
    // A caller that did not say the image is ready gets the range rules now,
    // before any of the image leaves.
    if (awaitingImage_) takeImage();
    ticksSinceSend_ = 0;
    echoMismatched_ = false;
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

void TransferEngine::applyRangeRules() {
    if (!options_.exactImage) model::sanitize(image_);
}

}  // namespace zelvor::link
