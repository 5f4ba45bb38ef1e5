#pragma once

#include <array>
#include <chrono>
#include <cstdint>

#include "model/parameter_image.h"

namespace zelvor::sim {

// What the engine really needs: injection map 1 of a tune (times in
// microseconds) on that tune's speed axis.
struct FuelNeed {
    std::array<double, 150> cells{};
    std::array<std::uint8_t, 15> axis{};
};

FuelNeed fuelNeedOf(const model::ParameterImage& trueTune);

// The probe of the simulated engine: a narrow-band lambda probe behind the
// exhaust. The gas it sees left the cylinder kTransportDelay earlier; its
// mixture is the fuel injected from the programmed map 1 over the fuel
// needed, varied from cycle to cycle; the voltage is about 100 mV lean,
// about 850 mV rich, switching at 450 mV, with a little noise.
class LambdaProbe {
  public:
    static constexpr std::chrono::milliseconds kTransportDelay{300};
    // Cycle-to-cycle spread of the mixture (standard deviation, share).
    static constexpr double kMixtureSpread = 0.04;

    explicit LambdaProbe(FuelNeed need) : need_(need) {}

    // Fuel injected over fuel needed at an operating point (1 is right,
    // above 1 rich).
    double richness(const model::ParameterImage& programmed, double rpm,
                    double throttlePercent) const;
    // The probe voltage at a moment, given the operating point the engine
    // ran at kTransportDelay earlier.
    std::uint16_t voltage(std::chrono::milliseconds now, const model::ParameterImage& programmed,
                          double rpm, double throttlePercent) const;

    // The narrow-band curve without noise, for a mixture (1 stoichiometric).
    static double curveMv(double mixture);

  private:
    FuelNeed need_;
};

}  // namespace zelvor::sim
