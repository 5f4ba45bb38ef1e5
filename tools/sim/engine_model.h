#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <span>

#include "model/parameter_image.h"

namespace zelvor::sim {

// Everything the simulated unit measures and decides about the engine at one
// moment. Temperatures in degrees Celsius, voltages in millivolts.
struct EngineState {
    std::uint16_t rpm = 0;
    std::uint16_t throttlePermille = 0;  // 0..1000, tenths of a percent
    std::uint8_t gear = 0;               // 0 = neutral
    std::uint16_t roadSpeed = 0;         // km/h
    std::uint16_t speedRatio = 0;        // rpm / road speed x 10, 0 when standing
    std::array<std::uint16_t, 6> gearRatios{};
    int coolantC = 0;
    int airC = 0;
    std::uint16_t pressureTenthKpa = 0;
    std::uint16_t sinceStartTenths = 0;  // time since engine start, 0.1 s

    std::uint16_t throttleMv = 0;
    std::uint16_t pressureMv = 0;
    std::uint16_t coolantMv = 0;
    std::uint16_t airMv = 0;
    std::uint16_t lambdaMv = 0;
    std::uint16_t supplyMv = 0;
    std::uint16_t fuelMv = 0;
    std::uint16_t pinEngine14Mv = 0;

    std::uint8_t advance1 = 0;  // degrees
    std::uint8_t advance2 = 0;
    std::uint16_t injection1Us = 0;
    std::uint16_t injection2Us = 0;
    std::uint16_t positionDegrees = 0;
    std::uint8_t shiftLight = 0;  // 0 off, 1 flashing, 2 on

    // Corrections as the unit reports them.
    std::uint16_t coolantInjectionCorr = 1000;   // 0.1 %
    std::uint16_t airInjectionCorr = 1000;       // 0.1 %
    std::uint16_t pressureInjectionCorr = 1000;  // 0.1 %
    std::uint16_t startInjectionCorr = 1000;     // 0.1 %
    std::uint16_t voltageInjectionCorr = 1000;   // microseconds + 1000
    std::uint16_t coolantAdvanceCorr = 1000;     // (degrees + 100) x 10
    std::uint16_t idleAdvanceCorr = 1000;        // degrees x 10 + 1000

    // Inputs as the rider works them (true = operated).
    bool starterPressed = false;
    bool clutchPulled = false;
    bool sideStandDown = false;
    bool quickShift = false;  // clutch master: ignition cut for an up-shift
    bool tachoLambdaInput = false;
    bool pinEngine23 = false;
    bool pinBody11 = false;
    // Outputs and states of the unit.
    bool ignitionLimiter = false;
    bool injectionLimiter = false;
    bool retardLimiter = false;
    bool nitrous = false;
    bool lambdaHeating = false;
    bool fan1 = false;
    bool fan2 = false;
    bool running = false;
};

// The engine of the simulated unit at a time since the unit started: a ride
// that repeats every 48 s (stand, accelerate through the gears to 220 km/h,
// brake to a stop), the engine warming up, and advance and injection taken
// from the image's maps at the operating point. A pure function of its
// inputs, so every moment can be reproduced.
EngineState simulateEngine(std::chrono::milliseconds sinceStart,
                           const model::ParameterImage& image);

// An operating point the engine is held at, as on a dyno: speed and throttle
// fixed, the engine warm and started long ago, in a middle gear.
struct HeldPoint {
    double rpm = 0.0;
    double throttlePercent = 0.0;
};

// The engine held at a point; everything else as in the ride above.
EngineState simulateHeldEngine(std::chrono::milliseconds sinceStart,
                               const model::ParameterImage& image, const HeldPoint& held);

// A map value at an operating point, interpolated between the four
// surrounding cells and held at the map's edges. cells holds 150 values row
// by row; axis holds the 15 column speeds in x 100 rpm.
double lookUpMap(std::span<const double, 150> cells, std::span<const std::uint8_t, 15> axis,
                 double rpm, double throttlePercent);

}  // namespace zelvor::sim
