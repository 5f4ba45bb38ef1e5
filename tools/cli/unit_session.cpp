#include "unit_session.h"

#include <ostream>

#include "cli/progress_display.h"
#include "cli/tick_clock.h"

namespace zelvor::cli {

UnitSession::UnitSession(Io& io) : io_(io), transfer_(image_, port_, messages_) {}

bool UnitSession::open(const std::string& device) {
    if (port_.open(device)) return true;
    io_.err << "zelvor-cli: " << messages_.text(i18n::MessageKey::MsgComOpenError) << " "
            << port_.lastError() << "\n";
    return false;
}

TransferOutcome UnitSession::run(TransferKind kind, bool exactImage) {
    transfer_.setExactImage(exactImage);
    SteadyTickClock clock;
    ProgressDisplay display(io_.out, io_.outIsTerminal);
    const TransferOutcome outcome = transfer_.run(
        kind, clock,
        [&display](const link::TransferEngine& engine) {
            display.show(engine.statusLabel(), engine.gauge());
        },
        [this] { return stop_.requested(); });
    display.finish();
    if (!outcome.succeeded()) {
        io_.err << "zelvor-cli: " << outcome.text << "\n";
        // A device that went away explains the failure better than the retries.
        if (!port_.isOpen() && !port_.lastError().empty()) {
            io_.err << "zelvor-cli: " << port_.lastError() << "\n";
        }
    }
    return outcome;
}

}  // namespace zelvor::cli
