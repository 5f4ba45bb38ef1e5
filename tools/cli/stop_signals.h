#pragma once

#include <signal.h>

namespace zelvor::cli {

// While an object of this class lives, SIGINT and SIGTERM only ask the running
// command to stop: its tick loop ends at the next tick and the port is closed
// as usual, restoring the line's settings. The previous handlers come back
// when the object goes. One object at a time.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool requested() const;

  private:
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
};

}  // namespace zelvor::cli
