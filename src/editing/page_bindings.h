#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "editing/control_binding.h"

namespace zelvor::editing {

// Every bound control of the ordinary pages (0 and 4..10), page by page in
// the order collect and refresh walk them. Run-time control arrays appear as
// one binding per element.
std::span<const Binding> allBindings();

// The bindings of one page in collect/refresh order; empty for the map pages,
// the monitor page and indexes outside 0..11.
std::span<const Binding> pageBindings(int page);

// The binding of a control; element selects the element of a run-time array
// (-1 for a single control). Null when there is no such control.
const Binding* findBinding(std::string_view control, int element = -1);

// The controls that take their page on this kind of event: the bound
// controls of the ordinary pages (a run-time array by its one name) and the
// window's own check boxes. The window connects its handlers by these.
std::vector<std::string_view> controlsCommittingOn(Commit commit);

// The run-time table editors in the order the window builds them (which is
// also their tab order): group by group, row by row, and within a row each
// editor of the group from left to right.
std::vector<const Binding*> tableEditorBuildOrder();

}  // namespace zelvor::editing
