#pragma once

#include <string_view>
#include <vector>

#include "editing/widgets/control_registry.h"
#include "i18n/ui_texts.h"

namespace zelvor::widgets {

// Writes caption, hint, item and title texts into the registered controls:
// labels, buttons, check boxes, group boxes, radio groups, tab pages, menus
// and menu actions. A hint "short|long" becomes the tooltip and the
// status-bar text. Entries naming no registered control are returned, so
// that a test can prove every text has a home.
std::vector<std::string_view> applyUiTexts(const ControlRegistry& registry,
                                           const std::vector<i18n::UiTextEntry>& entries);

}  // namespace zelvor::widgets
