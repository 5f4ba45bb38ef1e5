#pragma once

#include <iosfwd>
#include <string>

#include "editing/transfer_presenter.h"
#include "link/transfer_engine.h"

namespace zelvor::cli {

// The status label and gauge of a running transfer on the terminal, as
// "Read: [#####     ] 5/10". On a terminal the line is rewritten in place;
// into a file or a pipe every change becomes a line of its own.
class ProgressDisplay {
  public:
    ProgressDisplay(std::ostream& out, bool inPlace) : out_(out), inPlace_(inPlace) {}
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;
    ~ProgressDisplay() { finish(); }

    // Shows the label and gauge when they differ from what is shown.
    void show(const editing::StatusLabel& label, const link::ProgressGauge& gauge);
    // Ends a line that is being rewritten, so later output starts on its own.
    void finish();

    // The text of one display line.
    static std::string line(const editing::StatusLabel& label, const link::ProgressGauge& gauge);

  private:
    std::ostream& out_;
    bool inPlace_;
    bool lineOpen_ = false;
    std::string shown_;
};

}  // namespace zelvor::cli
