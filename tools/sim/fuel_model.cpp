#include "sim/fuel_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/engine_model.h"

namespace zelvor::sim {

namespace {

using model::Field;

constexpr double kLeanMv = 100.0;
constexpr double kRichMv = 850.0;
constexpr double kSwitchMv = 450.0;
// How sharply the probe switches around stoichiometric (share of mixture).
constexpr double kSwitchWidth = 0.004;
constexpr double kVoltageNoiseMv = 15.0;

// A reproducible number in [0, 1) for a moment and a purpose.
double uniform(std::int64_t ms, std::uint64_t salt) {
    std::uint64_t x = static_cast<std::uint64_t>(ms) * 0x9E3779B97F4A7C15ull + salt;
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<double>(x >> 11) * 0x1.0p-53;
}

// A standard normal number for a moment (Box-Muller).
double gaussian(std::int64_t ms, std::uint64_t salt) {
    const double u1 = std::max(uniform(ms, salt), 1e-12);
    const double u2 = uniform(ms, salt + 1);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

}  // namespace

FuelNeed fuelNeedOf(const model::ParameterImage& trueTune) {
    FuelNeed need;
    for (std::size_t k = 0; k < need.cells.size(); ++k) {
        need.cells[k] = trueTune.get(Field::JET_1A_Cell, k);
    }
    for (std::size_t c = 0; c < need.axis.size(); ++c) {
        need.axis[c] = static_cast<std::uint8_t>(trueTune.get(Field::RPM_JET_1A_Rpm, c));
    }
    return need;
}

double LambdaProbe::richness(const model::ParameterImage& programmed, double rpm,
                             double throttlePercent) const {
    std::array<double, 150> injected{};
    for (std::size_t k = 0; k < injected.size(); ++k) {
        injected[k] = programmed.get(Field::JET_1A_Cell, k);
    }
    std::array<std::uint8_t, 15> axis{};
    for (std::size_t c = 0; c < axis.size(); ++c) {
        axis[c] = static_cast<std::uint8_t>(programmed.get(Field::RPM_JET_1A_Rpm, c));
    }
    const double given = lookUpMap(injected, axis, rpm, throttlePercent);
    const double needed = lookUpMap(need_.cells, need_.axis, rpm, throttlePercent);
    if (needed <= 0.0) return given > 0.0 ? 2.0 : 1.0;
    return given / needed;
}

double LambdaProbe::curveMv(double mixture) {
    // A logistic step from the lean to the rich voltage through the switch
    // voltage at exactly stoichiometric; each side is scaled to its own end.
    const double x = std::clamp((mixture - 1.0) / kSwitchWidth, -50.0, 50.0);
    const double step = 2.0 / (1.0 + std::exp(-x)) - 1.0;  // -1 .. 1
    return kSwitchMv + step * (step < 0.0 ? kSwitchMv - kLeanMv : kRichMv - kSwitchMv);
}

std::uint16_t LambdaProbe::voltage(std::chrono::milliseconds now,
                                   const model::ParameterImage& programmed, double rpm,
                                   double throttlePercent) const {
    const double mixture = richness(programmed, rpm, throttlePercent) *
                           (1.0 + kMixtureSpread * gaussian(now.count(), 17));
    const double mv = curveMv(mixture) + kVoltageNoiseMv * gaussian(now.count(), 91);
    return static_cast<std::uint16_t>(std::lround(std::clamp(mv, 0.0, 1100.0)));
}

}  // namespace zelvor::sim
