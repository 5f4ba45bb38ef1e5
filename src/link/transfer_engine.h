#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "link/link_frame.h"
#include "link/unit_identification.h"
#include "model/parameter_image.h"

namespace zelvor::link {

// 0 Idle (monitor polling), 1 Program, 2 Verify, 3 Read.
enum class TransferState : std::uint16_t { Idle = 0, Program = 1, Verify = 2, Read = 3 };

// What the tuner started, as a finished transfer reports it: a Read with its
// verify is a Read, a Program (full, or the changed blocks after an edit)
// with or without its verify is a Program.
enum class TransferKind : std::uint8_t { Read, Program, Verify };

// Where the engine's frames go: the serial port in the program, a recorder in
// tests. send() returns once the frame is out.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void send(const LinkFrame& frame) = 0;
};

// What a call into the engine did that its caller has to act on: the engine
// calls no one back, the window and the command line each act on these.
struct TransferOutcome {
    // Program or Verify started; they send the image. A caller that shows
    // the image in editable controls brings their values into it now, then
    // calls imageCollected(), before the first request leaves.
    bool collectBeforeSending = false;
    // The image may have changed under the controls (range rules, a Read):
    // show it again.
    bool refreshImage = false;
    // A Read put the unit's parameter set into the image.
    bool imageReplaced = false;
    // A Read started: the file name no longer names what the image holds.
    bool fileNameLapsed = false;
    // The unit runs another program version, this one: show the mismatch
    // message (a window inside its tick defers it).
    std::optional<int> versionMismatch = std::nullopt;
    // A transfer ended successfully on this tick.
    std::optional<TransferKind> succeeded = std::nullopt;
    // With succeeded: the image blocks the unit now holds exactly as the
    // image has them, bit b for block b (1..9). A Read or a Verify proves all
    // nine; a programming of the changed blocks only those it sent.
    std::uint16_t blocksInUnit = 0;
    // A read into a copy ended: the engine's readCopy() holds what the unit
    // has. The image was left alone.
    bool copyRead = false;

    TransferOutcome& operator|=(const TransferOutcome& other);
    friend bool operator==(const TransferOutcome&, const TransferOutcome&) = default;
};

// How a caller that is not the window runs its transfers; the window keeps
// the defaults.
struct TransferOptions {
    // A transfer's first request leaves on the next tick. The window lets the
    // 6-tick period of the monitor poll run out first, so that a monitor
    // answer still on its way is not in the line's way; a caller that starts
    // a transfer without polling before has no answer in flight.
    bool firstRequestOnNextTick = false;
    // The image travels exactly as it is: no range rules before Program and
    // Verify, after the information block or after a Read. A backup of a unit
    // and its restore must keep every byte, out-of-range values included.
    bool exactImage = false;
    // While idle the monitor is polled on every tick instead of every 6th,
    // for a ride log with about 18 rows a second; the unit answers one
    // request per tick, as it does during every transfer. The next poll
    // waits for the answer of the last one (at most the usual 6 ticks), so
    // a late answer never has a second one right behind it.
    bool pollEveryTick = false;
};

// What the status label under the pages tells about the transfers; the
// window and the command line put it into words.
enum class StatusMessage : std::uint8_t {
    None,
    ProgramProgress,
    VerifyProgress,
    ReadProgress,
    Saving,
    ProgramSucceeded,
    VerifySucceeded,
    ProgramFailed,
    VerifyFailed,
    ReadFailed,
    ProgramStopped,
    VerifyStopped,
    ReadStopped,
    Announcement,  // a message of another part of the program
};

// The kind of message on the label. It stays when only the words change: the
// programming success that follows a verify keeps the tone the label had.
enum class StatusTone : std::uint8_t {
    Plain,    // progress and success
    Failure,  // a transfer failed
    Warning,  // a transfer was stopped
    Notice,   // an announcement
};

struct TransferStatus {
    StatusMessage message = StatusMessage::None;
    StatusTone tone = StatusTone::Plain;
    bool visible = false;

    friend bool operator==(const TransferStatus&, const TransferStatus&) = default;
};

// The progress gauge beside the status label: the block in work, 0..10.
struct ProgressGauge {
    static constexpr int kMaxValue = 10;
    int progress = 0;
    bool visible = false;
};

// The Read, Verify and Program transfers and the monitor poll, as a state
// machine that moves only when tick() is called (every 55 ms) or an answer is
// handed in. It reads no clock and no port; frames leave through the sink.
class TransferEngine {
  public:
    static constexpr int kTicksPerRequest = 6;  // a request is repeated every 6 ticks
    static constexpr int kMaxSends = 5;
    static constexpr int kHideTicks = 200;
    static constexpr int kWatchdogTicks = 24;
    static constexpr int kConnectionTicksAtStart = 18;
    static constexpr int kFullSaveCount = 2756;
    static constexpr int kBlockFlagCount = 10;  // 0 = information block, 1..9 image blocks

    TransferEngine(model::ParameterImage& image, FrameSink& sink) : image_(image), sink_(sink) {}

    // Taken by the transfers started afterwards.
    void setOptions(const TransferOptions& options) { options_ = options; }
    const TransferOptions& options() const { return options_; }

    // Start commands. None sends at once: the first request leaves within
    // 1..6 ticks. Each restarts a transfer that is already running.
    [[nodiscard]] TransferOutcome program();  // every block, then verify
    [[nodiscard]] TransferOutcome verify();   // blocks 1..9 against the image
    [[nodiscard]] TransferOutcome read();     // information block and blocks 1..9 into the image
    // Information block and blocks 1..9 into a copy, for comparing with the
    // image: the image is left alone and no verify follows.
    [[nodiscard]] TransferOutcome readIntoCopy();
    // The parameter set the last readIntoCopy brought (in range unless the
    // image travels exactly).
    const model::ParameterImage& readCopy() const { return readCopy_; }
    void startProgramming();  // the flagged blocks only; the image is as the caller left it
    // The image holds what is to be sent: the range rules are applied to it
    // (unless it travels exactly). A Program or Verify whose caller never
    // says so gets the same at its first request.
    [[nodiscard]] TransferOutcome imageCollected();
    void setBlockFlag(int block);
    // Ends a running transfer at once (a file or a new parameter set takes
    // the image's place): the label says which transfer was stopped, a Read
    // leaves the image alone, and blocks not yet confirmed by the unit stay
    // flagged. Nothing happens while idle.
    void stop();
    bool running() const { return state_ != TransferState::Idle; }

    // A received batch whose first byte is not the monitor answer; only the
    // first 152 bytes count.
    TransferOutcome handleAnswer(std::span<const std::uint8_t> batch);
    // A monitor answer was accepted: the unit is there.
    void noteAcceptedAnswer() {
        connectionTicks_ = 0;
        pollAnswered_ = true;
    }
    // Bytes the unit still has to save, from the last monitor answer.
    void setSavingCount(std::uint16_t count) { savingCount_ = count; }
    // While a printout is made the "No Connection" label stays hidden.
    void setPrinting(bool printing) { printing_ = printing; }
    // Puts a message of another part of the program (whose words that part
    // keeps) on the status label for the usual 200 ticks.
    void announce();
    // Hides the status label and the gauge (a new parameter set or file
    // replaces what they told); a running transfer shows them again.
    void hideStatus() {
        status_.visible = false;
        gauge_.visible = false;
        failed_ = false;
    }

    // One 55 ms step: resend or fail the running request, or poll the monitor
    // and keep the saving display; then the hide countdown and the watchdog.
    TransferOutcome tick();

    TransferState state() const { return state_; }
    std::uint8_t currentCommand() const { return command_; }
    int currentBlock() const { return command_ & 0x3F; }
    int ticksSinceSend() const { return ticksSinceSend_; }
    int attempts() const { return attempts_; }
    bool blockFlag(int block) const;
    bool verifyAfterProgram() const { return verifyAfterProgram_; }
    bool done() const { return done_; }
    // The last transfer ended in an error that stays on the label until the
    // next one starts.
    bool failed() const { return failed_; }
    int hideCountdown() const { return hideCountdown_; }
    int connectionTicks() const { return connectionTicks_; }
    std::uint16_t savingCount() const { return savingCount_; }
    const std::array<std::uint8_t, info_block::kSize>& infoBlock() const { return infoBlock_; }
    const UnitIdentification& identification() const { return identification_; }

    const TransferStatus& status() const { return status_; }
    const ProgressGauge& gauge() const { return gauge_; }
    bool noConnectionVisible() const { return noConnectionVisible_; }
    bool versionLabelVisible() const { return !noConnectionVisible_; }

  private:
    void sendTransferFrame();
    void sendMonitorPoll();
    // Starts a transfer at its first request, which the next tick sends.
    void start(TransferState state, std::uint8_t command, int progress, StatusMessage progressText);
    void beginVerify();  // sends the block 1 request at once and shows "Verify:"
    // Sends the request that follows an answer at once, as its first attempt.
    void requestNext(std::uint8_t command, int progress);
    void succeed(StatusMessage success);  // "<text> OK", full gauge, idle
    // Shows a message on the status label for the hide countdown.
    void showStatus(StatusMessage message, StatusTone tone);
    void failTransfer();
    void versionMismatch();
    void applyRangeRules();  // sanitizes the image unless it travels exactly
    void takeImage();        // the image is ready to be sent
    TransferOutcome takeOutcome();
    void handleProgramAnswer(int block, std::span<const std::uint8_t, 150> data);
    void handleVerifyAnswer(int block, std::span<const std::uint8_t, 150> data);
    void handleReadAnswer(int block, std::span<const std::uint8_t, 150> data);
    void takeInfoBlock(std::span<const std::uint8_t, 150> data);
    bool matchesImage(int block, std::span<const std::uint8_t, 150> data) const;

    model::ParameterImage& image_;
    FrameSink& sink_;
    TransferOptions options_;
    // What the call in progress did for its caller.
    TransferOutcome outcome_;
    // A Program or Verify waits for the image its caller collects.
    bool awaitingImage_ = false;
    // The Read in progress fills readCopy_ instead of the image.
    bool intoCopy_ = false;
    model::ParameterImage readCopy_;

    TransferState state_ = TransferState::Idle;
    std::uint8_t command_ = 0;
    int ticksSinceSend_ = 0;
    int attempts_ = 0;
    std::array<bool, kBlockFlagCount> blockFlags_{};
    // The unit echoed the block in work differently from the image since it
    // was last sent.
    bool echoMismatched_ = false;
    bool verifyAfterProgram_ = false;
    // What the running transfer was started as, and the blocks programmed
    // since the programming began (bit per block).
    TransferKind kind_ = TransferKind::Read;
    std::uint16_t programmedBlocks_ = 0;
    bool done_ = false;
    bool failed_ = false;
    int hideCountdown_ = 0;
    int connectionTicks_ = kConnectionTicksAtStart;
    std::uint16_t savingCount_ = 0;
    // A monitor answer was accepted since the last poll (or none was sent).
    bool pollAnswered_ = true;
    bool printing_ = false;
    std::array<std::uint8_t, info_block::kSize> infoBlock_{};
    UnitIdentification identification_;
    // A Read collects blocks 1..9 here and writes the image only once all of
    // them arrived, so a broken Read leaves the image as it was.
    model::ParameterImage::Bytes readBuffer_{};
    // The image as it was when the Read started: a Read whose image was
    // changed meanwhile (an edit, a file) does not overwrite it.
    model::ParameterImage::Bytes imageAtReadStart_{};

    TransferStatus status_;
    ProgressGauge gauge_;
    bool noConnectionVisible_ = false;
};

}  // namespace zelvor::link
