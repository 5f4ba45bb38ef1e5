#pragma once

#include <optional>

#include "editing/live_highlight.h"
#include "editing/monitor_view.h"
#include "editing/transfer_presenter.h"
#include "editing/widgets/control_registry.h"
#include "link/transfer_engine.h"

namespace zelvor::app {

// Shows the link's state in the window: the status label with its gauge, the
// "No Connection" and version labels, the monitor labels and gauges, and the
// live operating point on the page on show. Every property is written only
// when it changes, so a tick that finds nothing new repaints nothing.
class LinkPresenter {
  public:
    explicit LinkPresenter(const widgets::ControlRegistry& registry) : registry_(registry) {}

    void showTransfer(const link::TransferEngine& engine, const editing::TransferPresenter& words,
                      bool printing);
    void showMonitor(const editing::MonitorView& view);
    // The labels were written by someone else since (texts of the window):
    // the next showMonitor() writes every entry.
    void forgetShownMonitor() { lastView_.reset(); }
    void showHighlight(const editing::PageHighlight& highlight);

  private:
    const widgets::ControlRegistry& registry_;
    // What the monitor last asked for, so unchanged entries are not written
    // again (the highlighting may have recoloured a monitor label since).
    std::optional<editing::MonitorView> lastView_;
};

}  // namespace zelvor::app
