#pragma once

#include <cstddef>
#include <optional>

#include "model/field.h"

namespace zelvor::compare {

// The page (an index of editing/page_index.h) whose controls show this
// element of a field: the bound controls of the ordinary pages, and the
// axis and cells of the three maps. Nothing for elements no page shows
// (fixed bytes, tables the unit keeps for itself).
std::optional<int> pageShowing(model::Field field, std::size_t index);

}  // namespace zelvor::compare
