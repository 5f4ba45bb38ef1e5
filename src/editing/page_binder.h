#pragma once

#include "editing/code_page.h"
#include "editing/control_access.h"
#include "editing/shown_values.h"
#include "model/field_table.h"
#include "model/parameter_image.h"

namespace zelvor::editing {

// Item of ComboBoxBike that separates the known bikes from the rest; it is
// selected for a BikeType the program does not know.
inline constexpr int kBikeSeparatorItem =
    model::descriptor(model::Field::BIKE_BikeType).range.maximum + 1;

// True for the pages whose controls are bound by the tables (0 and 4..10).
bool isBoundPage(int page);

// Copies the controls of a bound page into the image, converting positions to
// stored values. Pages without bindings are left alone. On the bike page the
// combo box changes BikeType only for items 0..7, and the memo is stored with
// MEMO.Terminator = 0. A radio group with nothing selected leaves its field
// unchanged. Given what the last refresh showed, only the controls the user
// changed since are taken.
void collectPage(int page, const ControlAccess& controls, model::ParameterImage& image,
                 CodePage memoPage, const ShownValues* shown = nullptr);

struct RefreshResult {
    // The image holds a BikeType outside 0..7: the combo box shows the
    // separator and the window tells the user the bike is unknown.
    bool unknownBike = false;
};

// Shows the image in the controls of a bound page, converting stored values
// to positions (the controls limit them to their ranges), and records in
// shown what the controls then show.
RefreshResult refreshPage(int page, ControlAccess& controls, const model::ParameterImage& image,
                          CodePage memoPage, ShownValues* shown = nullptr);

}  // namespace zelvor::editing
