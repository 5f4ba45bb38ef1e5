#include "model/injection.h"

#include <algorithm>

#include "model/field_table.h"

namespace zelvor::model {

namespace {

// Reference injection times in tens of microseconds for a 600 cm3 engine:
// the 10 throttle rows of the maps by 10 engine speeds (1000 .. 16000 rpm).
constexpr std::array<std::int16_t, 100> kReferenceJet1A = {
    110, 80,  65,  65,  55,  45,  50,  50,  50,  50,   // 0 %
    120, 80,  65,  60,  50,  50,  50,  50,  50,  50,   // 2 %
    137, 95,  75,  63,  48,  43,  33,  21,  21,  21,   // 5 %
    163, 135, 113, 88,  58,  55,  55,  55,  55,  55,   // 10 %
    235, 195, 153, 138, 115, 100, 95,  95,  95,  95,   // 20 %
    287, 245, 200, 170, 143, 140, 130, 122, 122, 122,  // 30 %
    343, 303, 270, 230, 168, 185, 188, 188, 188, 188,  // 40 %
    355, 355, 353, 325, 248, 258, 243, 211, 211, 211,  // 60 %
    355, 345, 398, 445, 485, 475, 445, 385, 385, 385,  // 80 %
    360, 345, 395, 400, 475, 570, 550, 430, 430, 430,  // 100 %
};

constexpr std::array<std::int16_t, 100> kReferenceJet2A = {
    110, 80,  65,  65,  55,  45,  50,  50,  50,  50,   // 0 %
    120, 80,  65,  60,  50,  50,  50,  50,  50,  50,   // 2 %
    137, 95,  75,  63,  48,  43,  35,  15,  15,  15,   // 5 %
    163, 135, 113, 88,  58,  55,  55,  55,  55,  55,   // 10 %
    245, 170, 160, 148, 118, 90,  85,  85,  85,  85,   // 20 %
    305, 245, 213, 188, 160, 130, 125, 117, 117, 117,  // 30 %
    363, 288, 290, 248, 193, 165, 188, 188, 188, 188,  // 40 %
    375, 335, 395, 325, 255, 213, 260, 232, 232, 232,  // 60 %
    395, 290, 448, 505, 565, 440, 495, 535, 535, 535,  // 80 %
    395, 285, 465, 445, 510, 595, 575, 515, 515, 515,  // 100 %
};

// Speed points (rpm) and throttle points (tenths of a percent) of the
// reference tables; their throttle points are the map rows.
constexpr std::array<std::uint16_t, 10> kSpeedPoints = {1000, 2000,  3000,  4000,  6000,
                                                        8000, 10000, 12000, 14000, 16000};
constexpr std::array<std::uint16_t, 10> kThrottlePoints = [] {
    std::array<std::uint16_t, 10> tenths{};
    for (std::size_t r = 0; r < tenths.size(); ++r) {
        tenths[r] = static_cast<std::uint16_t>(kMapThrottleRows[r] * 10);
    }
    return tenths;
}();

// Engine displacement per BikeType in cm3. The two naked twins (N1) share an
// engine, as do the two N3 triples.
constexpr std::array<int, 8> kDisplacement = {
    998,   // Zelvor R1: inline-four superbike
    1079,  // Zelvor R2: large inline four
    649,   // Zelvor N1: parallel twin
    649,   // Zelvor N1 & Lambda
    798,   // Zelvor N2: triple
    890,   // Zelvor N3: triple
    890,   // Zelvor N3 & Lambda
    689,   // Zelvor S1: parallel twin
};

constexpr std::uint16_t kMinimumBaseTime = 100;

// The speed axes of both injection maps convert alike.
constexpr const FieldDescriptor& kInjectionAxis = descriptor(Field::RPM_JET_1A_Rpm);
static_assert(kInjectionAxis.scale == descriptor(Field::RPM_JET_2A_Rpm).scale &&
              kInjectionAxis.bias == descriptor(Field::RPM_JET_2A_Rpm).bias);

// First interval index in 1..8 whose upper point exceeds value, else 9.
int intervalOf(const std::array<std::uint16_t, 10>& points, unsigned value) {
    for (int i = 1; i <= 8; ++i) {
        if (points[i] > value) return i;
    }
    return 9;
}

std::uint16_t times10(std::int16_t v) {
    return static_cast<std::uint16_t>(v * 10);
}

}  // namespace

int displacementOf(int bikeType) {
    if (bikeType < 0 || bikeType >= static_cast<int>(kDisplacement.size())) return kDisplacement[2];
    return kDisplacement[static_cast<std::size_t>(bikeType)];
}

BaseTable computeBaseTable(InjectionMap map, int bikeType) {
    const auto& reference = map == InjectionMap::Jet1A ? kReferenceJet1A : kReferenceJet2A;
    const int cm3 = displacementOf(bikeType);
    BaseTable base{};
    for (std::size_t i = 0; i < base.size(); ++i) {
        base[i] = static_cast<std::int16_t>(reference[i] * cm3 / 600);
    }
    return base;
}

std::uint16_t interpolate(std::uint16_t x0, std::uint16_t y0, std::uint16_t x1, std::uint16_t y1,
                          std::uint16_t x) {
    if (x <= x0) return y0;
    if (x >= x1) return y1;
    if (y0 == y1) return y0;
    const std::uint32_t span = static_cast<std::uint32_t>(x1 - x0);
    if (y0 < y1) {
        return static_cast<std::uint16_t>(y0 + static_cast<std::uint32_t>(x - x0) *
                                                   static_cast<std::uint32_t>(y1 - y0) / span);
    }
    return static_cast<std::uint16_t>(y1 + static_cast<std::uint32_t>(x1 - x) *
                                               static_cast<std::uint32_t>(y0 - y1) / span);
}

CellWords computeBaseTimes(const BaseTable& base, SpeedAxis axis) {
    CellWords times{};
    for (int r = 0; r < kMapRows; ++r) {
        const std::uint16_t thr = kThrottlePoints[static_cast<std::size_t>(r)];
        const int t = intervalOf(kThrottlePoints, thr);
        for (int c = 0; c < kMapColumns; ++c) {
            const auto rpm = static_cast<std::uint16_t>(
                kInjectionAxis.toEngineering(axis[static_cast<std::size_t>(c)]));
            const int k = intervalOf(kSpeedPoints, rpm);
            const std::uint16_t lowerLower = times10(base[(t - 1) * 10 + (k - 1)]);
            const std::uint16_t lowerUpper = times10(base[(t - 1) * 10 + k]);
            const std::uint16_t upperLower = times10(base[t * 10 + (k - 1)]);
            const std::uint16_t upperUpper = times10(base[t * 10 + k]);
            const std::uint16_t a =
                interpolate(kSpeedPoints[k - 1], lowerLower, kSpeedPoints[k], lowerUpper, rpm);
            const std::uint16_t b =
                interpolate(kSpeedPoints[k - 1], upperLower, kSpeedPoints[k], upperUpper, rpm);
            const std::uint16_t result =
                interpolate(kThrottlePoints[t - 1], a, kThrottlePoints[t], b, thr);
            times[static_cast<std::size_t>(r * kMapColumns + c)] =
                std::max(result, kMinimumBaseTime);
        }
    }
    return times;
}

std::uint16_t wordFromPercent(std::uint16_t percent, std::uint16_t baseTime) {
    const std::uint32_t word = (static_cast<std::uint32_t>(percent) * baseTime + 50) / 100;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(word, 65535));
}

std::uint16_t percentFromWord(std::uint16_t word, std::uint16_t baseTime) {
    // Base times are at least 100; the guard keeps a caller's zero harmless.
    const std::uint32_t base = std::max<std::uint16_t>(baseTime, 1);
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(word) * 1000 / base + 5) / 10);
}

InjectionScaling::InjectionScaling() {
    jet1_.baseTimes.fill(kMinimumBaseTime);
    jet2_.baseTimes.fill(kMinimumBaseTime);
}

void InjectionScaling::computeBaseTables(const ParameterImage& image) {
    const int bike = image.get(Field::BIKE_BikeType);
    jet1_.base = computeBaseTable(InjectionMap::Jet1A, bike);
    jet2_.base = computeBaseTable(InjectionMap::Jet2A, bike);
}

void InjectionScaling::computeBaseTimes(const ParameterImage& image) {
    const auto axisOf = [&](Field field) {
        return SpeedAxis(image.bytes().data() + descriptor(field).offset, kMapColumns);
    };
    jet1_.baseTimes = model::computeBaseTimes(jet1_.base, axisOf(Field::RPM_JET_1A_Rpm));
    jet2_.baseTimes = model::computeBaseTimes(jet2_.base, axisOf(Field::RPM_JET_2A_Rpm));
}

void InjectionScaling::writeWords(InjectionMap map, ParameterImage& image) const {
    const MapArrays& arrays = slot(map);
    const Field field = cellField(map);
    for (std::size_t k = 0; k < kMapCells; ++k) {
        image.set(field, k, wordFromPercent(arrays.percents[k], arrays.baseTimes[k]));
    }
}

void InjectionScaling::rewriteChangedWords(InjectionMap map, ParameterImage& image) const {
    const MapArrays& arrays = slot(map);
    const Field field = cellField(map);
    for (std::size_t k = 0; k < kMapCells; ++k) {
        const auto word = static_cast<std::uint16_t>(image.get(field, k));
        if (percentFromWord(word, arrays.baseTimes[k]) != arrays.percents[k]) {
            image.set(field, k, wordFromPercent(arrays.percents[k], arrays.baseTimes[k]));
        }
    }
}

void InjectionScaling::readPercents(InjectionMap map, const ParameterImage& image) {
    MapArrays& arrays = slot(map);
    const Field field = cellField(map);
    for (std::size_t k = 0; k < kMapCells; ++k) {
        arrays.percents[k] = percentFromWord(image.get(field, k), arrays.baseTimes[k]);
    }
}

void InjectionScaling::collectMap1(std::span<const std::uint16_t, kMapCells> positions,
                                   ParameterImage& image) {
    const bool coupled = isCoupled(image);
    for (std::size_t k = 0; k < kMapCells; ++k) {
        const int oldValue = jet1_.percents[k];
        const int newValue = positions[k];
        if (coupled && newValue != oldValue) {
            const int moved = jet2_.percents[k] + (newValue - oldValue);
            jet2_.percents[k] = static_cast<std::uint16_t>(std::clamp(moved, 0, kMaxEditedPercent));
        }
        jet1_.percents[k] = positions[k];
    }
    rewriteChangedWords(InjectionMap::Jet1A, image);
    if (coupled) rewriteChangedWords(InjectionMap::Jet2A, image);
    if (isSame(image)) {
        for (std::size_t k = 0; k < kMapCells; ++k) {
            image.set(Field::JET_2A_Cell, k, image.get(Field::JET_1A_Cell, k));
        }
        readPercents(InjectionMap::Jet2A, image);
    }
}

void InjectionScaling::collectMap2(std::span<const std::uint16_t, kMapCells> positions,
                                   ParameterImage& image) {
    std::copy(positions.begin(), positions.end(), jet2_.percents.begin());
    rewriteChangedWords(InjectionMap::Jet2A, image);
}

void InjectionScaling::setDefaultMaps(ParameterImage& image) {
    computeBaseTables(image);
    computeBaseTimes(image);
    jet1_.percents.fill(100);
    jet2_.percents.fill(100);
    writeWords(InjectionMap::Jet1A, image);
    writeWords(InjectionMap::Jet2A, image);
}

}  // namespace zelvor::model
