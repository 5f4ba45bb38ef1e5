#include "sim/monitor_frame.h"

#include <algorithm>
#include <initializer_list>

namespace zelvor::sim {

namespace {

// Frame offsets of the monitor answer (byte 0 is the command byte).
enum Offset : std::size_t {
    kInputs = 1,
    kOutputs = 2,
    kStatusA = 3,
    kStatusB = 4,
    kThrottle = 9,
    kAdvance1 = 10,
    kAdvance2 = 11,
    kInjection1 = 14,
    kInjection2 = 15,
    kCoolant = 23,
    kAir = 24,
    kGear = 25,
    kShiftLight = 27,
    kThrottleTenths = 28,
    kFuelMv = 44,
    kPinEngine14Mv = 46,
    kRpm = 48,
    kPressureMv = 50,
    kPressure = 52,
    kThrottleMv = 56,
    kLambdaMv = 58,
    kCoolantMv = 60,
    kAirMv = 62,
    kSupplyMv = 64,
    kProgrammingCount = 76,
    kDiagnostics = 78,  // eight words
    kSinceStart = 94,
    kPosition = 96,
    kCoolantInjectionCorr = 100,
    kAirInjectionCorr = 102,
    kPressureInjectionCorr = 104,
    kStartInjectionCorr = 106,
    kVoltageInjectionCorr = 108,
    kCoolantAdvanceCorr = 110,
    kRoadSpeed = 116,
    kSpeedRatio = 120,
    kGearRatios = 122,  // six words
    kIdleAdvanceCorr = 134,
    kSavingCount = 148,
    kVersion = 150,
};

// A bit and whether it is set; inputs wired to ground read 0 when operated.
struct Bit {
    unsigned number;
    bool set;
};

std::uint8_t bitsOf(std::initializer_list<Bit> bits) {
    unsigned value = 0;
    for (const Bit& bit : bits) {
        if (bit.set) value |= 1u << bit.number;
    }
    return static_cast<std::uint8_t>(value);
}

std::uint8_t byteOf(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

link::LinkFrame encodeMonitorFrame(const EngineState& e, const UnitStatus& status) {
    link::LinkFrame frame;
    auto& b = frame.bytes();
    b[0] = link::LinkFrame::kMonitorAnswer;

    b[kInputs] = bitsOf({{0, !e.starterPressed},
                         {1, !e.clutchPulled},
                         {2, e.gear == 0},
                         {3, !e.sideStandDown},
                         {4, true},  // start limiter input not operated
                         {5, !e.quickShift},
                         {6, !e.tachoLambdaInput},
                         {7, !e.pinEngine23}});
    b[kOutputs] = bitsOf({{0, !e.pinBody11},
                          {1, e.starterPressed},
                          {2, false},  // start limiter output
                          {3, e.ignitionLimiter},
                          {4, e.injectionLimiter},
                          {5, e.retardLimiter},
                          {6, true},  // the shared pin works as tachometer output
                          {7, e.nitrous}});
    b[kStatusA] = bitsOf({{0, e.quickShift}, {5, e.running}});
    b[kStatusB] = bitsOf({{1, e.running}, {2, e.lambdaHeating}, {3, e.fan1}, {4, e.fan2}});

    b[kThrottle] = byteOf(e.throttlePermille / 10);
    b[kThrottleTenths] = byteOf(e.throttlePermille % 10);
    b[kAdvance1] = e.advance1;
    b[kAdvance2] = e.advance2;
    b[kInjection1] = byteOf((e.injection1Us + 50) / 100);
    b[kInjection2] = byteOf((e.injection2Us + 50) / 100);
    // A temperature of -100 degrees or less would read as a sensor fault.
    b[kCoolant] = byteOf(std::max(e.coolantC + 100, 1));
    b[kAir] = byteOf(std::max(e.airC + 100, 61));
    b[kGear] = e.gear;
    b[kShiftLight] = e.shiftLight;

    frame.setWord(kFuelMv, e.fuelMv);
    frame.setWord(kPinEngine14Mv, e.pinEngine14Mv);
    frame.setWord(kRpm, e.rpm);
    frame.setWord(kPressureMv, e.pressureMv);
    frame.setWord(kPressure, e.pressureTenthKpa);
    frame.setWord(kThrottleMv, e.throttleMv);
    frame.setWord(kLambdaMv, e.lambdaMv);
    frame.setWord(kCoolantMv, e.coolantMv);
    frame.setWord(kAirMv, e.airMv);
    frame.setWord(kSupplyMv, e.supplyMv);
    frame.setWord(kProgrammingCount, status.programmingCount);
    const std::array<std::uint16_t, 8> diagnostics = {static_cast<std::uint16_t>(e.rpm / 10),
                                                      e.throttlePermille,
                                                      e.roadSpeed,
                                                      e.coolantMv,
                                                      e.airMv,
                                                      e.pressureMv,
                                                      e.lambdaMv,
                                                      e.supplyMv};
    for (std::size_t i = 0; i < diagnostics.size(); ++i)
        frame.setWord(kDiagnostics + 2 * i, diagnostics[i]);
    frame.setWord(kSinceStart, e.sinceStartTenths);
    frame.setWord(kPosition, e.positionDegrees);
    frame.setWord(kCoolantInjectionCorr, e.coolantInjectionCorr);
    frame.setWord(kAirInjectionCorr, e.airInjectionCorr);
    frame.setWord(kPressureInjectionCorr, e.pressureInjectionCorr);
    frame.setWord(kStartInjectionCorr, e.startInjectionCorr);
    frame.setWord(kVoltageInjectionCorr, e.voltageInjectionCorr);
    frame.setWord(kCoolantAdvanceCorr, e.coolantAdvanceCorr);
    frame.setWord(kRoadSpeed, e.roadSpeed);
    frame.setWord(kSpeedRatio, e.speedRatio);
    for (std::size_t g = 0; g < e.gearRatios.size(); ++g)
        frame.setWord(kGearRatios + 2 * g, e.gearRatios[g]);
    frame.setWord(kIdleAdvanceCorr, e.idleAdvanceCorr);
    frame.setWord(kSavingCount, status.savingCount);
    b[kVersion] = status.version;
    frame.seal();
    return frame;
}

}  // namespace zelvor::sim
