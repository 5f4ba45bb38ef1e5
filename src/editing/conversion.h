#pragma once

#include "editing/control_binding.h"
#include "model/field_table.h"

namespace zelvor::editing {

// A spinner's position is the engineering value of its field element; both
// directions are the field's own conversion.

// Stored value of a control position, taken modulo the field's width.
inline unsigned toStored(const Binding& spinner, int position) {
    return model::descriptor(spinner.field).toStored(position);
}

// Control position of a stored value; the control limits it to its range.
inline int toPosition(const Binding& spinner, unsigned stored) {
    return model::descriptor(spinner.field).toEngineering(stored);
}

}  // namespace zelvor::editing
