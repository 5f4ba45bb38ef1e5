#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QWidget>
#include <array>
#include <string_view>

#include "editing/control_binding.h"
#include "editing/page_bindings.h"
#include "editing/widgets/control_factory.h"

// Shared geometry of the per-gear groups of the race and gear pages. Their
// run-time editors sit at fixed rows (one per gear) taken from the binding
// table; the design-time labels of a row line up with them.
namespace zelvor::widgets {

inline constexpr int kGearCount = 6;
// A run-time editor is as tall as its spinner plus one pixel.
inline constexpr int kGearRowHeight = editing::kSpinnerHeight + 1;
// Tall enough for six rows and a bottom margin below the last one.
inline constexpr int kPerGearGroupHeight = 296;

// Top of the row of gear index i (0 = first gear) inside the group box, as
// placed for the run-time editor array of upDownControl; 0 when the control
// has no placement.
inline int gearRowTop(std::string_view upDownControl, int i) {
    const editing::Binding* binding = editing::findBinding(upDownControl, i);
    return binding != nullptr && binding->placement ? binding->placement->top : 0;
}

// The small gear-number labels at the left edge of a per-gear group ("1 " ..
// "6"), each level with the editors of its gear. They are lit when the unit
// runs in that gear, so they are a compact centred patch rather than a
// strip.
inline void addGearRowLabels(QWidget* group, ControlFactory& factory,
                             const std::array<std::string_view, kGearCount>& names,
                             std::string_view upDownControl) {
    for (int i = 0; i < kGearCount; ++i) {
        QLabel* label = factory.label(group, names[static_cast<std::size_t>(i)],
                                      QRect(5, gearRowTop(upDownControl, i), 16, kGearRowHeight));
        label->setAlignment(Qt::AlignCenter);
    }
}

}  // namespace zelvor::widgets
