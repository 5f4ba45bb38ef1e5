#pragma once

#include <signal.h>

#include <optional>
#include <string>

#include "sim/pseudo_terminal.h"
#include "sim/sim_unit.h"

namespace zelvor::sim {

// SIGTERM, SIGINT and SIGHUP ask the simulator to stop. They are blocked
// except while it waits for the line, so a stop request is seen at once and
// never cuts into a half-done step. SIGPIPE is ignored.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal mask to wait with: stop signals let through.
    const sigset_t& waitMask() const { return waitMask_; }
    bool stopRequested() const;

  private:
    sigset_t previousMask_{};
    sigset_t waitMask_{};
    struct sigaction previousActions_[3]{};
};

// Serves the unit on the master side of the line until a stop signal:
// requests are cut from the byte stream, answered by the unit and paced out
// at line speed. After every programming the image is written to imagePath
// when one is given. Returns the exit status (0 after a stop signal).
int serveUnit(SimUnit& unit, const PseudoTerminal& line,
              const std::optional<std::string>& imagePath, const StopSignals& signals);

}  // namespace zelvor::sim
