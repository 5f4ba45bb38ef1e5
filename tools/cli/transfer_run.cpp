#include "cli/transfer_run.h"

#include <utility>

namespace zelvor::cli {

namespace {

using Status = TransferOutcome::Status;

}  // namespace

const char* transferName(TransferKind kind) {
    switch (kind) {
        case TransferKind::Read:
            return "Read";
        case TransferKind::Verify:
            return "Verify";
        case TransferKind::Program:
            return "Program";
    }
    return "Transfer";
}

TransferRun::TransferRun(model::ParameterImage& image, link::SerialPort& port,
                         const i18n::MessageTable& messages)
    : messages_(messages), words_(messages), port_(port), link_(image, port_) {
    link_.transfer().setOptions({.firstRequestOnNextTick = true});
}

void TransferRun::note(const link::TransferOutcome& outcome) {
    if (outcome.versionMismatch) versionMismatch_ = outcome.versionMismatch;
}

editing::StatusLabel TransferRun::statusLabel() const {
    return words_.statusLabel(link_.transfer().status());
}

bool TransferRun::answerWaiting() {
    return port_.queuedBytes() >= link::LinkFrame::kSize;
}

void TransferRun::setExactImage(bool exact) {
    link::TransferOptions options = link_.transfer().options();
    options.exactImage = exact;
    link_.transfer().setOptions(options);
}

void TransferRun::start(TransferKind kind) {
    link::TransferEngine& engine = link_.transfer();
    link::TransferOutcome outcome;
    switch (kind) {
        case TransferKind::Read:
            outcome = engine.read();
            break;
        case TransferKind::Verify:
            outcome = engine.verify();
            break;
        case TransferKind::Program:
            outcome = engine.program();
            break;
    }
    // The image is what is to be sent: there are no controls to collect.
    if (outcome.collectBeforeSending) outcome |= engine.imageCollected();
    note(outcome);
}

TransferOutcome TransferRun::run(TransferKind kind, TickClock& clock,
                                 const ProgressListener& progress, const StopRequest& stopRequested,
                                 int tickLimit) {
    const link::TransferEngine& engine = link_.transfer();
    versionMismatch_.reset();
    start(kind);
    if (progress) progress(engine, statusLabel());

    TransferOutcome outcome;
    bool takeAnswersEarly = true;
    while (engine.state() != link::TransferState::Idle) {
        if (stopRequested && stopRequested()) {
            outcome.status = Status::Interrupted;
            outcome.text = std::string(transferName(kind)) + " interrupted";
            return outcome;
        }
        if (outcome.ticks >= tickLimit) {
            outcome.status = Status::TimedOut;
            outcome.text = std::string(transferName(kind)) + " did not finish within " +
                           std::to_string(tickLimit) + " ticks";
            return outcome;
        }
        // An answer is taken as soon as it is whole, not at the next tick, so
        // the line sets the pace; retries and the watchdog still count ticks.
        // A port that counts bytes it does not hand over waits for the tick,
        // so this never spins.
        const bool tickDue = takeAnswersEarly
                                 ? clock.waitForNextTickOr([this] { return answerWaiting(); })
                                 : (clock.waitForNextTick(), true);
        if (tickDue) {
            note(link_.tick());
            ++outcome.ticks;
            takeAnswersEarly = true;
        } else {
            const std::size_t readBefore = port_.bytesRead();
            note(link_.pollReceive());
            takeAnswersEarly = port_.bytesRead() > readBefore;
        }
        if (progress && engine.state() != link::TransferState::Idle) {
            progress(engine, statusLabel());
        }
    }

    if (versionMismatch_) {
        outcome.status = Status::VersionMismatch;
        outcome.text = editing::versionMismatchText(messages_, *versionMismatch_);
        return outcome;
    }
    if (engine.status().tone == link::StatusTone::Failure) {
        outcome.status = Status::Failed;
        outcome.text = statusLabel().text;
        return outcome;
    }
    if (engine.done()) {
        // A finished programming: the next idle tick puts the programming
        // success text over the verify's, as in the window.
        clock.waitForNextTick();
        note(link_.tick());
        ++outcome.ticks;
    }
    outcome.status = Status::Succeeded;
    outcome.text = statusLabel().text;
    return outcome;
}

}  // namespace zelvor::cli
