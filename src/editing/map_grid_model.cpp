#include "editing/map_grid_model.h"

#include <algorithm>
#include <cstdio>

namespace zelvor::editing {

namespace {

using model::Field;
using model::InjectionMap;

// A value of the grid as stored in the field, and back; the grid's own
// range limits what it takes.
unsigned storedOf(Field field, const SpinnerRange& range, int shown) {
    return model::descriptor(field).toStored(range.limit(shown));
}
int shownOf(Field field, const SpinnerRange& range, unsigned stored) {
    return range.limit(model::descriptor(field).toEngineering(stored));
}

// Map 2 takes map 1's axis or times ("1 = 2" mode).
void copyField(model::ParameterImage& image, Field from, Field to, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) image.set(to, i, image.get(from, i));
}

void computeScaling(const model::ParameterImage& image, model::InjectionScaling& scaling) {
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
}

// The percentages a collect takes from the grid. The grid cannot show more
// than its maximum: a percentage above it that the user left standing at the
// maximum is kept, so collecting a page does not cut the times of cells the
// user never touched.
std::array<std::uint16_t, kMapCells> cellPercents(int page, const MapGridValues& grid,
                                                  const MapGridValues* shownGrid,
                                                  const model::CellPercents& before) {
    const SpinnerRange range = cellRange(page);
    std::array<std::uint16_t, kMapCells> percents{};
    for (std::size_t k = 0; k < kMapCells; ++k) {
        if (shownGrid != nullptr && shownGrid->cells[k] == grid.cells[k]) {
            percents[k] = before[k];  // not touched: the percentage the word gives
            continue;
        }
        const int shown = range.limit(grid.cells[k]);
        const bool untouchedAboveMaximum = shown == range.maximum && before[k] > range.maximum;
        percents[k] = untouchedAboveMaximum ? before[k] : static_cast<std::uint16_t>(shown);
    }
    return percents;
}

}  // namespace

bool isMapPage(int page) {
    return page == kPageAdvance || page == kPageJet1A || page == kPageJet2A;
}

std::optional<MapDescriptor> mapDescriptor(int page) {
    switch (page) {
        case kPageAdvance:
            return MapDescriptor{Field::RPM_ADV_Rpm, Field::ADVANCE_Cell, std::nullopt,
                                 cellRange(page).maximum};
        case kPageJet1A:
            return MapDescriptor{Field::RPM_JET_1A_Rpm, Field::JET_1A_Cell, InjectionMap::Jet1A,
                                 cellRange(page).maximum};
        case kPageJet2A:
            return MapDescriptor{Field::RPM_JET_2A_Rpm, Field::JET_2A_Cell, InjectionMap::Jet2A,
                                 cellRange(page).maximum};
        default:
            return std::nullopt;
    }
}

int SpinnerRange::limit(int position) const {
    return std::clamp(position, minimum, maximum);
}

SpinnerRange cellRange(int page) {
    return page == kPageAdvance ? rangeOf(Field::ADVANCE_Cell) : kPercentRange;
}

MapGridValues refreshMapPage(int page, model::ParameterImage& image,
                             model::InjectionScaling& scaling, const AllFlags& all) {
    MapGridValues values;
    const std::optional<MapDescriptor> map = mapDescriptor(page);
    if (!map) return values;
    const bool coupled = model::isCoupled(image);
    const bool same = model::isSame(image);

    if (same) copyField(image, Field::RPM_JET_1A_Rpm, Field::RPM_JET_2A_Rpm, kMapColumns);
    for (std::size_t c = 0; c < kMapColumns; ++c) {
        values.axis[c] = shownOf(map->axis, kAxisRange, image.get(map->axis, c));
    }
    computeScaling(image, scaling);
    if (same) copyField(image, Field::JET_1A_Cell, Field::JET_2A_Cell, kMapCells);
    if (same || coupled) scaling.readPercents(InjectionMap::Jet2A, image);

    const SpinnerRange range = cellRange(page);
    if (map->injection) {
        scaling.readPercents(*map->injection, image);
        const model::CellPercents& percents = scaling.percents(*map->injection);
        for (std::size_t k = 0; k < kMapCells; ++k) values.cells[k] = range.limit(percents[k]);
    } else {
        for (std::size_t k = 0; k < kMapCells; ++k) {
            values.cells[k] = range.limit(image.get(map->cells, k));
        }
    }

    values.useTps = image.get(Field::ADVANCE_MISC_UseTps) != 0;
    if (page == kPageAdvance) {
        const auto shown = [&](Field field, const SpinnerRange& range) {
            return shownOf(field, range, image.get(field));
        };
        values.extras = AdvanceExtras{shown(Field::ADVANCE_MISC_BaseAdv, kBaseAdvanceRange),
                                      shown(Field::ADVANCE_MISC_CylKor1, kCylinderRange),
                                      shown(Field::ADVANCE_MISC_CylKor2, kCylinderRange)};
    }
    values.all = all[static_cast<std::size_t>(page)];
    return values;
}

void collectAxisPoints(int page, const std::array<int, kMapColumns>& axis,
                       const std::array<int, kMapColumns>* shown, model::ParameterImage& image) {
    const std::optional<MapDescriptor> map = mapDescriptor(page);
    if (!map) return;
    const bool coupled = model::isCoupled(image);
    const bool same = model::isSame(image);
    for (std::size_t c = 0; c < kMapColumns; ++c) {
        if (shown != nullptr && (*shown)[c] == axis[c]) continue;
        const int point = static_cast<int>(storedOf(map->axis, kAxisRange, axis[c]));
        if (page == kPageJet1A) {
            const int old = image.get(Field::RPM_JET_1A_Rpm, c);
            if (coupled && point != old) {
                // Map 2's point moves by as much as map 1's.
                const int moved = image.get(Field::RPM_JET_2A_Rpm, c) + (point - old);
                image.set(Field::RPM_JET_2A_Rpm, c,
                          static_cast<unsigned>(std::clamp(moved, 0, 255)));
            }
            if (same) image.set(Field::RPM_JET_2A_Rpm, c, static_cast<unsigned>(point));
        }
        image.set(map->axis, c, static_cast<unsigned>(point));
    }
}

void collectMapPage(int page, const MapGridValues& grid, model::ParameterImage& image,
                    model::InjectionScaling& scaling, AllFlags& all, const MapGridValues* shown) {
    const std::optional<MapDescriptor> map = mapDescriptor(page);
    if (!map) return;
    collectAxisPoints(page, grid.axis, shown != nullptr ? &shown->axis : nullptr, image);
    computeScaling(image, scaling);

    if (map->injection) {
        const auto percents = cellPercents(page, grid, shown, scaling.percents(*map->injection));
        if (*map->injection == InjectionMap::Jet1A) {
            scaling.collectMap1(percents, image);
        } else {
            scaling.collectMap2(percents, image);
        }
    } else {
        const SpinnerRange range = cellRange(page);
        for (std::size_t k = 0; k < kMapCells; ++k) {
            if (shown != nullptr && shown->cells[k] == grid.cells[k]) continue;
            image.set(map->cells, k, static_cast<unsigned>(range.limit(grid.cells[k])));
        }
    }

    if (page == kPageAdvance) {
        if (shown == nullptr || shown->useTps != grid.useTps) {
            image.set(Field::ADVANCE_MISC_UseTps, grid.useTps ? 1 : 0);
        }
        if (grid.extras) {
            const AdvanceExtras& extras = *grid.extras;
            const AdvanceExtras* before =
                shown != nullptr && shown->extras ? &*shown->extras : nullptr;
            const auto changed = [&](int AdvanceExtras::*member) {
                return before == nullptr || (*before).*member != extras.*member;
            };
            if (changed(&AdvanceExtras::cylinder1)) {
                image.set(Field::ADVANCE_MISC_CylKor1,
                          storedOf(Field::ADVANCE_MISC_CylKor1, kCylinderRange, extras.cylinder1));
            }
            if (changed(&AdvanceExtras::cylinder2)) {
                image.set(Field::ADVANCE_MISC_CylKor2,
                          storedOf(Field::ADVANCE_MISC_CylKor2, kCylinderRange, extras.cylinder2));
            }
            if (changed(&AdvanceExtras::baseAdvance)) {
                image.set(
                    Field::ADVANCE_MISC_BaseAdv,
                    storedOf(Field::ADVANCE_MISC_BaseAdv, kBaseAdvanceRange, extras.baseAdvance));
            }
        }
    }

    all[static_cast<std::size_t>(page)] = grid.all;
}

std::string msText(std::uint16_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "%5.3f ", word * 0.001);
    return text;
}

}  // namespace zelvor::editing
