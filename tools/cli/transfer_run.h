#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cli/tick_clock.h"
#include "editing/transfer_presenter.h"
#include "i18n/messages.h"
#include "link/serial_port.h"
#include "link/tapped_port.h"
#include "link/transfer_engine.h"
#include "link/unit_link.h"
#include "model/parameter_image.h"

namespace zelvor::cli {

enum class TransferKind {
    Read,     // the unit's blocks into the image, then verified
    Verify,   // the image against the unit
    Program,  // every block of the image into the unit, then verified
};

struct TransferOutcome {
    enum class Status {
        Succeeded,
        Failed,           // the engine gave up: "Read error!", "Verify error!", "Program error!"
        VersionMismatch,  // the unit runs another program version
        TimedOut,         // the engine did not come back to Idle within the tick limit
        Interrupted,      // a stop was requested
    };

    Status status = Status::Failed;
    // The final status text on success, otherwise what went wrong.
    std::string text;
    int ticks = 0;  // ticks run, the extra one for the programming text included

    bool succeeded() const { return status == Status::Succeeded; }
};

// Runs one transfer of the unit link to its end, the way the window does:
// start it, then call the link's tick every time the clock says so until the
// engine is back to Idle. There are no pages to collect or refresh here; a
// version mismatch ends the transfer. Unlike the
// window, which may still await a monitor answer, the first request leaves on
// the first tick, and an answer is taken as soon as it is whole rather than at
// the next tick (the next request then leaves at once), so a transfer takes
// about the line's time instead of a tick per request and answer.
class TransferRun {
  public:
    // Far beyond the longest transfer the engine can make (19 requests of at
    // most 5 sends 6 ticks apart, about 570 ticks).
    static constexpr int kTickLimit = 1200;

    // Called after the start and after every tick while the transfer runs,
    // with the status label in words.
    using ProgressListener =
        std::function<void(const link::TransferEngine&, const editing::StatusLabel&)>;
    using StopRequest = std::function<bool()>;

    TransferRun(model::ParameterImage& image, link::SerialPort& port,
                const i18n::MessageTable& messages);
    TransferRun(const TransferRun&) = delete;
    TransferRun& operator=(const TransferRun&) = delete;

    TransferOutcome run(TransferKind kind, TickClock& clock, const ProgressListener& progress = {},
                        const StopRequest& stopRequested = {}, int tickLimit = kTickLimit);

    // Moves the image exactly as it is, out-of-range values included, instead
    // of bringing it into range first (for a backup and its restore).
    void setExactImage(bool exact);

    link::UnitLink& link() { return link_; }
    const link::UnitLink& link() const { return link_; }

  private:
    void start(TransferKind kind);
    bool answerWaiting();  // a whole frame is queued at the port
    void note(const link::TransferOutcome& outcome);
    editing::StatusLabel statusLabel() const;

    const i18n::MessageTable& messages_;
    editing::TransferPresenter words_;
    std::optional<int> versionMismatch_;  // the unit's program version
    link::TappedPort port_;
    link::UnitLink link_;
};

// "Read", "Verify" or "Program".
const char* transferName(TransferKind kind);

}  // namespace zelvor::cli
