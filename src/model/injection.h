#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/parameter_image.h"

namespace zelvor::model {

// Injection maps are stored as times in microseconds but edited as
// percentages of a base time computed per cell from a reference table, the
// bike's displacement, the map's speed axis and the cell's throttle row.

inline constexpr int kMapRows = 10;
inline constexpr int kMapColumns = 15;
inline constexpr int kMapCells = kMapRows * kMapColumns;
// The throttle position of each map row, in %, row 0 first. The reference
// tables of the base times have the same rows.
inline constexpr std::array<int, kMapRows> kMapThrottleRows = {0,  2,  5,  10, 20,
                                                               30, 40, 60, 80, 100};

using BaseTable = std::array<std::int16_t, 100>;
using CellWords = std::array<std::uint16_t, kMapCells>;
// Percentages never go below 0 (every tool stops there) and the Plus tool may
// push one up to 65535, so they are kept as unsigned 16-bit numbers.
using CellPercents = std::array<std::uint16_t, kMapCells>;
using SpeedAxis = std::span<const std::uint8_t, kMapColumns>;

enum class InjectionMap { Jet1A, Jet2A };

// How the two injection maps are tied together (image byte 47).
enum class CouplingMode : std::uint8_t { Separate = 0, Coupled = 1, Same = 2 };

// Coupled and "1 = 2" are recognised by their exact byte; any other value
// behaves as separate maps.
inline bool isCoupled(const ParameterImage& image) {
    return image.get(Field::JET1_MISC_Jet123Mode) == 1;
}
inline bool isSame(const ParameterImage& image) {
    return image.get(Field::JET1_MISC_Jet123Mode) == 2;
}

// Engine displacement in cm3 for a BikeType (unknown types use BikeType 2's).
int displacementOf(int bikeType);

// base[i] = reference[i] * cm3 / 600 for the given map.
BaseTable computeBaseTable(InjectionMap map, int bikeType);

// One-dimensional interpolation, unsigned 16-bit operands, 32-bit products,
// truncating division; outside [x0, x1] the nearer end value.
std::uint16_t interpolate(std::uint16_t x0, std::uint16_t y0, std::uint16_t x1, std::uint16_t y1,
                          std::uint16_t x);

// Base time (microseconds, at least 100) of every cell of one map from its
// base table and its 15 axis bytes (x 100 rpm).
CellWords computeBaseTimes(const BaseTable& base, SpeedAxis axis);

// The injection maps are edited as 0..1000 % of their cells' base times.
inline constexpr int kMaxEditedPercent = 1000;

// word = (percent * base + 50) / 100, at most 65535.
std::uint16_t wordFromPercent(std::uint16_t percent, std::uint16_t baseTime);
// percent = ((word * 1000) / base + 5) / 10.
std::uint16_t percentFromWord(std::uint16_t word, std::uint16_t baseTime);

// The derived arrays behind the two injection pages: base tables, per-cell
// base times and the percentages the grid shows. They are never stored in
// the image or the file; they are recomputed at the points where the image's
// bike or axes may have changed.
class InjectionScaling {
  public:
    InjectionScaling();

    // From image byte 0 (BikeType).
    void computeBaseTables(const ParameterImage& image);
    // From the two axes RPM_JET_1A and RPM_JET_2A.
    void computeBaseTimes(const ParameterImage& image);

    const BaseTable& baseTable(InjectionMap map) const { return slot(map).base; }
    const CellWords& baseTimes(InjectionMap map) const { return slot(map).baseTimes; }
    const CellPercents& percents(InjectionMap map) const { return slot(map).percents; }
    CellPercents& percents(InjectionMap map) { return slot(map).percents; }

    // The map's 150 words rebuilt from its percentages.
    void writeWords(InjectionMap map, ParameterImage& image) const;
    // The words of the cells whose percentage is no longer what their word
    // gives with the current base time: cells the user changed, and cells
    // whose base time moved with the axis. Every other cell keeps its word
    // exactly, so a time that is no whole percent is never rounded away.
    void rewriteChangedWords(InjectionMap map, ParameterImage& image) const;
    // The map's percentages derived from its words.
    void readPercents(InjectionMap map, const ParameterImage& image);

    // Cell part of collecting injection map 1 from the grid's 150 positions
    // (row-major). Carries changes into map 2 when coupled and copies the
    // times when the maps are equal ("1 = 2").
    void collectMap1(std::span<const std::uint16_t, kMapCells> positions, ParameterImage& image);
    // Cell part of collecting injection map 2.
    void collectMap2(std::span<const std::uint16_t, kMapCells> positions, ParameterImage& image);

    // Both maps set to 100 % of their base times (new parameter sets).
    void setDefaultMaps(ParameterImage& image);

  private:
    struct MapArrays {
        BaseTable base{};
        CellWords baseTimes{};
        CellPercents percents{};
    };
    const MapArrays& slot(InjectionMap map) const {
        return map == InjectionMap::Jet1A ? jet1_ : jet2_;
    }
    MapArrays& slot(InjectionMap map) { return map == InjectionMap::Jet1A ? jet1_ : jet2_; }

    MapArrays jet1_;
    MapArrays jet2_;
};

// The stored map field of an injection map.
inline Field cellField(InjectionMap map) {
    return map == InjectionMap::Jet1A ? Field::JET_1A_Cell : Field::JET_2A_Cell;
}

}  // namespace zelvor::model
