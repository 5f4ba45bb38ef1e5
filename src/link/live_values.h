#pragma once

#include <cstdint>

namespace zelvor::link {

// The values of the last accepted monitor answer that other parts of the
// program use between answers. All are 0 until the first answer arrives.
struct LiveValues {
    std::uint16_t engineSpeed = 0;       // rpm
    std::uint16_t throttlePercent = 0;   // integer part
    std::uint16_t throttleSensorMv = 0;  // for the throttle calibration buttons
    std::uint16_t coolantRaw = 0;        // degrees C + 100; a sensor fault is kept as 180
    std::uint16_t airRaw = 0;            // degrees C + 100
    std::uint16_t gear = 0;              // 0..6
    std::uint16_t timeSinceStart = 0;    // 0.1 s
    std::uint16_t speedRatio = 0;        // engine speed / road speed, 0.1
    std::uint16_t savingCount = 0;       // bytes the unit still has to save
    std::uint8_t unitVersion = 0;        // program version the unit reports
    bool ignitionLimiter = false;
    bool injectionLimiter = false;
    bool retardLimiter = false;
    bool baseAdvance = false;
    bool throttleFault = false;
    bool pressureFault = false;

    friend bool operator==(const LiveValues&, const LiveValues&) = default;
};

}  // namespace zelvor::link
