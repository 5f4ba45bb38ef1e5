// Feeds arbitrary text to the map clipboard parser, pasted into one of the
// three maps at a cell and selection taken from the first bytes. Besides the
// sanitizers' checks it aborts when an accepted paste gives a cell outside
// the map's limits or an axis point outside the grid's range, when writing it
// into the image and sanitizing misbehave, or when the map then copied and
// pasted again does not give the same axis and cells.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "editing/map_clipboard.h"
#include "editing/map_grid_model.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

using namespace zelvor;
using editing::MapId;

namespace {

model::ParameterImage startImage() {
    model::ParameterImage image;
    image.set(model::Field::BIKE_BikeType, 5);
    model::loadDefaultSet(image);
    image.set(model::Field::JET1_MISC_Jet123Mode, 0);
    // Cells of every kind: small, large, and one far above 1000 %.
    for (std::size_t k = 0; k < model::kMapCells; ++k) {
        image.set(model::Field::ADVANCE_Cell, k, (k * 11) % 61);
        image.set(model::Field::JET_1A_Cell, k, 300 + 97 * k);
        image.set(model::Field::JET_2A_Cell, k, 9000 - 41 * k);
    }
    image.set(model::Field::JET_1A_Cell, 77, 60000);
    model::sanitize(image);
    return image;
}

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const model::ParameterImage start = startImage();
    if (size < 3) return 0;
    const MapId map = static_cast<MapId>(data[0] % 3);
    const bool inMs = (data[0] & 4) != 0;
    const editing::GridCell at{.row = data[1] % 12 - 1, .column = data[1] / 12 % 17 - 1};
    const auto selection =
        editing::MapSelection::spanning(at, {.row = data[2] % 10, .column = data[2] / 10 % 15});
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    const auto pasted = editing::pasteMapText(text, map, start, selection, at, inMs);
    if (std::holds_alternative<editing::PasteError>(pasted)) {
        check(!editing::describePasteError(std::get<editing::PasteError>(pasted)).empty());
        return 0;
    }
    const editing::MapEdit& edit = std::get<editing::MapEdit>(pasted);
    const editing::MapContent before = editing::readMapContent(map, start);
    const editing::CellLimits limits = editing::cellLimits(map);
    for (std::size_t k = 0; k < model::kMapCells; ++k) {
        const int upper = before.cells[k] > limits.maximum
                              ? std::min(before.cells[k], limits.ceiling)
                              : limits.maximum;
        check(edit.cells[k] >= limits.minimum && edit.cells[k] <= upper);
    }
    if (edit.axis) {
        for (int rpm : *edit.axis) {
            check(rpm >= editing::kAxisRange.minimum && rpm <= editing::kAxisRange.maximum);
        }
    }

    model::ParameterImage image = start;
    model::InjectionScaling scaling;
    editing::writeMapEdit(map, edit, image, scaling);
    const editing::MapContent written = editing::readMapContent(map, image);
    const auto whole = editing::MapSelection::wholeMap();
    const auto again = editing::pasteMapText(editing::formatMapText(map, written, whole, inMs), map,
                                             image, whole, {}, inMs);
    check(std::holds_alternative<editing::MapEdit>(again));
    const editing::MapEdit& copy = std::get<editing::MapEdit>(again);
    check(copy.axis && *copy.axis == written.axis && copy.cells == written.cells);
    model::sanitize(image);
    return 0;
}
