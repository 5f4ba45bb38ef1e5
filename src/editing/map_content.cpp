#include "editing/map_content.h"

#include <algorithm>
#include <cstdint>

#include "editing/map_grid_model.h"
#include "editing/page_index.h"

namespace zelvor::editing {

namespace {

using model::Field;
using model::InjectionMap;

MapDescriptor descriptorOf(MapId map) {
    return *mapDescriptor(pageOfMap(map));
}

// While the maps are equal the refresh gives map 2 map 1's axis and times.
model::ParameterImage asRefreshed(MapId map, const model::ParameterImage& image) {
    model::ParameterImage shown = image;
    if (map == MapId::Jet2A && model::isSame(image)) {
        for (std::size_t c = 0; c < model::kMapColumns; ++c) {
            shown.set(Field::RPM_JET_2A_Rpm, c, image.get(Field::RPM_JET_1A_Rpm, c));
        }
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            shown.set(Field::JET_2A_Cell, k, image.get(Field::JET_1A_Cell, k));
        }
    }
    return shown;
}

}  // namespace

std::optional<MapId> mapOfPage(int page) {
    switch (page) {
        case kPageAdvance:
            return MapId::Advance;
        case kPageJet1A:
            return MapId::Jet1A;
        case kPageJet2A:
            return MapId::Jet2A;
        default:
            return std::nullopt;
    }
}

int pageOfMap(MapId map) {
    switch (map) {
        case MapId::Advance:
            return kPageAdvance;
        case MapId::Jet1A:
            return kPageJet1A;
        case MapId::Jet2A:
            return kPageJet2A;
    }
    return kPageAdvance;
}

CellLimits cellLimits(MapId map) {
    return map == MapId::Advance ? kAdvanceLimits : kInjectionLimits;
}

MapContent readMapContent(MapId map, const model::ParameterImage& source) {
    const model::ParameterImage image = asRefreshed(map, source);
    const MapDescriptor descriptor = descriptorOf(map);
    MapContent content;
    for (std::size_t c = 0; c < model::kMapColumns; ++c) {
        content.axis[c] = kAxisRange.limit(
            model::descriptor(descriptor.axis).toEngineering(image.get(descriptor.axis, c)));
    }
    if (!descriptor.injection) {
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            content.cells[k] = image.get(descriptor.cells, k);
        }
        return content;
    }
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    content.baseTimes = scaling.baseTimes(*descriptor.injection);
    for (std::size_t k = 0; k < model::kMapCells; ++k) {
        content.words[k] = image.get(descriptor.cells, k);
        content.cells[k] = model::percentFromWord(content.words[k], content.baseTimes[k]);
    }
    return content;
}

bool mapAcceptsEdits(MapId map, const model::ParameterImage& image) {
    return map != MapId::Jet2A || !(model::isCoupled(image) || model::isSame(image));
}

bool writeMapEdit(MapId map, const MapEdit& edit, model::ParameterImage& image,
                  model::InjectionScaling& scaling) {
    if (!mapAcceptsEdits(map, image)) return false;
    const model::ParameterImage before = image;
    const MapContent shown = readMapContent(map, image);
    const MapDescriptor descriptor = descriptorOf(map);
    const CellLimits limits = cellLimits(map);

    // The percentages as the last refresh left them; the cells' old values
    // for the coupling and for deciding which times to rewrite.
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    scaling.readPercents(InjectionMap::Jet1A, image);
    scaling.readPercents(InjectionMap::Jet2A, image);
    if (edit.axis) collectAxisPoints(pageOfMap(map), *edit.axis, &shown.axis, image);
    scaling.computeBaseTimes(image);

    if (!descriptor.injection) {
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            const int held = holdCell(shown.cells[k], edit.cells[k], limits);
            if (held != shown.cells[k]) image.set(descriptor.cells, k, static_cast<unsigned>(held));
        }
        return !(image == before);
    }
    std::array<std::uint16_t, model::kMapCells> percents{};
    for (std::size_t k = 0; k < model::kMapCells; ++k) {
        // Held to 0..65535, so the percentage fits.
        percents[k] = static_cast<std::uint16_t>(holdCell(shown.cells[k], edit.cells[k], limits));
    }
    if (*descriptor.injection == InjectionMap::Jet1A) {
        scaling.collectMap1(percents, image);
    } else {
        scaling.collectMap2(percents, image);
    }
    return !(image == before);
}

}  // namespace zelvor::editing
