#pragma once

#include "editing/control_binding.h"
#include "model/field.h"

namespace zelvor::editing {

// Stored value of a control position, taken modulo the field's width.
unsigned toStored(Conversion conversion, int position, model::Width width);

// Control position of a stored value; the control limits it to its range.
int toPosition(Conversion conversion, unsigned stored);

}  // namespace zelvor::editing
