#pragma once

#include <cstdint>
#include <span>

#include "link/live_values.h"
#include "model/injection.h"
#include "model/parameter_image.h"

namespace zelvor::link {

// The map cell the map tools act on.
struct CurrentCell {
    std::uint16_t column = 0;  // 0..14
    std::uint16_t row = 0;     // 0..9

    friend bool operator==(const CurrentCell&, const CurrentCell&) = default;
};

// Index of the axis point nearest to value: the first i with
// axis[i] + axis[i + 1] > 2 * value, else the last one (ties go up).
int nearestPoint(std::span<const int> axis, int value);

// The throttle positions of the map rows, in %.
inline constexpr const auto& kThrottleRows = model::kMapThrottleRows;

// The three maps of 10 throttle rows by 15 speed points.
enum class LiveMap : std::uint8_t { Advance, Injection1, Injection2 };

// Where the engine runs in a map.
struct MapOperatingPoint {
    CurrentCell cell;      // the cell the unit uses
    int throttleRow = 0;   // the row of the throttle, even where the unit uses another
    bool running = false;  // the engine turns: its speed is not 0

    friend bool operator==(const MapOperatingPoint&, const MapOperatingPoint&) = default;
};

// The column is the point of the map's own speed axis nearest to the engine
// speed, the row the throttle row nearest to the throttle; an advance map
// without the throttle (ADVANCE_MISC.UseTps 0) is used at its 100 % row.
MapOperatingPoint mapOperatingPoint(LiveMap map, const LiveValues& live,
                                    const model::ParameterImage& image);
// Column of the injection position table (POSITION_A.Rpm) for the engine speed.
int positionColumn(const LiveValues& live, const model::ParameterImage& image);

// Column of the correction tables for a coolant or air temperature (degrees
// C + 100); 5 means none (from 125 degrees C on). Raw 0 means a missing
// sensor: the coolant then uses point 3 (80 C), the air point 2 (50 C).
int coolantCorrectionPoint(int coolantRaw);
int airCorrectionPoint(int airRaw);
// After-start correction point 0..4 for the time since start (0.1 s) and
// the after-start time points CHOKE.SyticCas (s).
int startCorrectionPoint(int timeSinceStart, const model::ParameterImage& image);

}  // namespace zelvor::link
