#include "link/operating_point.h"

#include <array>

namespace zelvor::link {

using model::Field;

namespace {

constexpr int kAxisPoints = 15;
constexpr int kCorrectionPoints = 5;
constexpr std::uint16_t kFullThrottleRow = 9;

// Reads a 15-entry speed axis (x100 rpm) as rpm.
std::array<int, kAxisPoints> rpmAxis(const model::ParameterImage& image, Field field) {
    std::array<int, kAxisPoints> axis{};
    for (int i = 0; i < kAxisPoints; ++i) axis[i] = image.get(field, i) * 100;
    return axis;
}

Field speedAxis(LiveMap map) {
    switch (map) {
        case LiveMap::Advance:
            return Field::RPM_ADV_Rpm;
        case LiveMap::Injection1:
            return Field::RPM_JET_1A_Rpm;
        case LiveMap::Injection2:
            return Field::RPM_JET_2A_Rpm;
    }
    return Field::RPM_ADV_Rpm;
}

// First point i with raw < 105 + 30 i: the nearest of -10, 20, 50, 80, 110 C.
int temperaturePoint(int raw) {
    for (int i = 0; i < kCorrectionPoints; ++i) {
        if (raw < 105 + 30 * i) return i;
    }
    return kCorrectionPoints;
}

}  // namespace

int nearestPoint(std::span<const int> axis, int value) {
    if (axis.empty()) return 0;
    for (std::size_t i = 0; i + 1 < axis.size(); ++i) {
        if (axis[i] + axis[i + 1] > 2 * value) return static_cast<int>(i);
    }
    return static_cast<int>(axis.size()) - 1;
}

MapOperatingPoint mapOperatingPoint(LiveMap map, const LiveValues& live,
                                    const model::ParameterImage& image) {
    const int column = nearestPoint(rpmAxis(image, speedAxis(map)), live.engineSpeed);
    const int throttleRow = nearestPoint(kThrottleRows, live.throttlePercent);
    // Without the throttle in the advance map the unit uses its 100 % row.
    const bool fullRowOnly = map == LiveMap::Advance && image.get(Field::ADVANCE_MISC_UseTps) == 0;
    MapOperatingPoint point;
    point.cell.column = static_cast<std::uint16_t>(column);
    point.cell.row = fullRowOnly ? kFullThrottleRow : static_cast<std::uint16_t>(throttleRow);
    point.throttleRow = throttleRow;
    point.running = live.engineSpeed != 0;
    return point;
}

int positionColumn(const LiveValues& live, const model::ParameterImage& image) {
    return nearestPoint(rpmAxis(image, Field::POSITION_A_Rpm), live.engineSpeed);
}

int coolantCorrectionPoint(int coolantRaw) {
    return coolantRaw == 0 ? 3 : temperaturePoint(coolantRaw);
}

int airCorrectionPoint(int airRaw) {
    return airRaw == 0 ? 2 : temperaturePoint(airRaw);
}

int startCorrectionPoint(int timeSinceStart, const model::ParameterImage& image) {
    // The nearest time point, tenths of a second on both sides and doubled:
    // 2 t against the sums of neighbouring points (0 s before the first).
    const int twice = 2 * timeSinceStart;
    std::array<int, 4> points{};
    for (int i = 0; i < 4; ++i) points[i] = 10 * image.get(Field::CHOKE_SyticCas, i);
    if (twice <= points[0]) return 0;
    for (int j = 1; j <= 3; ++j) {
        if (points[j - 1] + points[j] > twice) return j;
    }
    return 4;
}

}  // namespace zelvor::link
