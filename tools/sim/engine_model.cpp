#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace zelvor::sim {

namespace {

using model::Field;
using model::ParameterImage;

// The repeating ride, in seconds of its 48-second cycle.
constexpr double kCycleSeconds = 48.0;
constexpr double kAccelerateFrom = 4.0;
constexpr double kBrakeFrom = 26.0;
constexpr double kStopAt = 44.0;
constexpr double kRevFrom = 45.0;  // a rev in neutral that reaches the limiters
constexpr double kRevUntil = 46.6;
constexpr double kRevRamp = 0.5;
constexpr double kTopSpeed = 220.0;

constexpr double kCrankingSeconds = 1.0;
constexpr double kIdleRpm = 1200.0;
constexpr double kPullAwayRpm = 2500.0;
constexpr double kRevPeakRpm = 12500.0;
constexpr double kUpShiftRpm = 10600.0;
constexpr double kDownShiftRpm = 4000.0;

constexpr std::array<double, 10> kRowThrottle = {0, 2, 5, 10, 20, 30, 40, 60, 80, 100};
// Temperatures of the points of the sensor and correction curves.
constexpr std::array<double, 5> kCurveTemperatures = {-10, 20, 50, 80, 110};

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// 0 -> 1 -> 0 over one period.
double triangle(double t, double period) {
    const double phase = std::fmod(t, period) / period;
    return phase < 0.5 ? phase * 2.0 : (1.0 - phase) * 2.0;
}

// 0 -> 1 over the first ramp, 1 while held, 1 -> 0 over the last ramp.
double trapezoid(double t, double length, double ramp) {
    if (t <= 0.0 || t >= length) return 0.0;
    return std::min({1.0, t / ramp, (length - t) / ramp});
}

double wave(double t, double period) {
    return std::sin(kTwoPi * t / period);
}

// True during [from, until) of every period.
bool window(double t, double period, double from, double until) {
    const double phase = std::fmod(t, period);
    return phase >= from && phase < until;
}

template <typename T>
T clampTo(double value) {
    const double low = static_cast<double>(std::numeric_limits<T>::min());
    const double high = static_cast<double>(std::numeric_limits<T>::max());
    return static_cast<T>(std::lround(std::clamp(value, low, high)));
}

// Segment index and fraction of x on a rising list of points, held at the
// ends. Points that do not rise count as a step.
std::pair<std::size_t, double> locate(std::span<const double> points, double x) {
    if (x <= points.front()) return {0, 0.0};
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (x < points[i + 1]) {
            const double width = points[i + 1] - points[i];
            return {i, width > 0 ? (x - points[i]) / width : 0.0};
        }
    }
    return {points.size() - 2, 1.0};
}

double interpolate(std::span<const double> xs, std::span<const double> ys, double x) {
    const auto [i, f] = locate(xs, x);
    return ys[i] + (ys[i + 1] - ys[i]) * f;
}

std::vector<double> fieldValues(const ParameterImage& image, Field field, std::size_t count) {
    std::vector<double> values(count);
    for (std::size_t i = 0; i < count; ++i) values[i] = image.get(field, i);
    return values;
}

double curveAt(const ParameterImage& image, Field curve, double temperature) {
    const std::vector<double> values = fieldValues(image, curve, kCurveTemperatures.size());
    return interpolate(kCurveTemperatures, values, temperature);
}

double mapAt(const ParameterImage& image, Field cells, Field axis, double rpm, double throttle) {
    std::array<double, 150> values{};
    for (std::size_t k = 0; k < values.size(); ++k) values[k] = image.get(cells, k);
    std::array<std::uint8_t, 15> columns{};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        columns[c] = static_cast<std::uint8_t>(image.get(axis, c));
    }
    return lookUpMap(values, columns, rpm, throttle);
}

struct Ride {
    double speed = 0;
    bool accelerating = false;
    bool standing = true;
};

Ride rideAt(double t) {
    const double p = std::fmod(t, kCycleSeconds);
    if (p >= kAccelerateFrom && p < kBrakeFrom) {
        return {kTopSpeed * (p - kAccelerateFrom) / (kBrakeFrom - kAccelerateFrom), true, false};
    }
    if (p >= kBrakeFrom && p < kStopAt) {
        return {kTopSpeed * (kStopAt - p) / (kStopAt - kBrakeFrom), false, false};
    }
    return {};
}

struct Gearbox {
    std::array<std::uint16_t, 6> ratios{};  // rpm / speed x 10
    int gears = 6;

    double rpmIn(int gear, double speed) const { return speed * ratios[gear - 1] / 10.0; }

    // Up-shifts late while accelerating, down-shifts early while braking.
    int gearFor(const Ride& ride) const {
        if (ride.speed < 1.0) return 0;
        if (ride.accelerating) {
            for (int g = 1; g <= gears; ++g) {
                if (rpmIn(g, ride.speed) <= kUpShiftRpm) return g;
            }
            return gears;
        }
        for (int g = gears; g >= 1; --g) {
            if (rpmIn(g, ride.speed) >= kDownShiftRpm) return g;
        }
        return 1;
    }
    int gearAt(double t) const { return gearFor(rideAt(std::max(0.0, t))); }
};

Gearbox gearboxOf(const ParameterImage& image) {
    Gearbox box;
    for (std::size_t g = 0; g < box.ratios.size(); ++g) {
        box.ratios[g] = image.get(Field::GEAR_PomerRpmSpeed, g);
    }
    const int count = image.get(Field::GEAR_PocetGear);
    box.gears = count >= 1 && count <= 6 ? count : 6;
    return box;
}

double engineSpeed(double t, const Ride& ride, int gear, const Gearbox& box) {
    if (t < kCrankingSeconds) return 300.0 + 200.0 * t;
    const double idle = kIdleRpm + 40.0 * wave(t, 2.3);
    if (gear == 0) {
        const double p = std::fmod(t, kCycleSeconds);
        if (p >= kRevFrom && p < kRevUntil) {
            const double rise = trapezoid(p - kRevFrom, kRevUntil - kRevFrom, kRevRamp);
            return idle + (kRevPeakRpm - idle) * rise;
        }
        return idle;
    }
    const double rpm = box.rpmIn(gear, ride.speed);
    if (ride.accelerating) return std::max(rpm, kPullAwayRpm);  // clutch slips
    return std::max(rpm, idle);
}

double throttleOpening(double t, const Ride& ride) {
    if (ride.accelerating) return 100.0 * triangle(t, 7.0);
    if (!ride.standing) return 0.0;
    const double p = std::fmod(t, kCycleSeconds);
    if (p >= kRevFrom && p < kRevUntil) {
        return 60.0 * trapezoid(p - kRevFrom, kRevUntil - kRevFrom, kRevRamp);
    }
    return 2.0 * triangle(t, 3.0);
}

bool limiterActive(const ParameterImage& image, Field limit, double rpm) {
    const unsigned hundreds = image.get(limit);
    return hundreds != 0 && rpm >= hundreds * 100.0;
}

std::uint8_t shiftLightState(const ParameterImage& image, int gear, double rpm) {
    if (gear < 1) return 0;
    const unsigned first = image.get(Field::PILOT_LIGHT_PilotLight1, gear - 1) * 100u;
    const unsigned second = image.get(Field::PILOT_LIGHT_PilotLight2, gear - 1) * 100u;
    if (second != 0 && rpm >= second) return 2;
    if (first != 0 && rpm >= first) return 1;
    return 0;
}

double pressureMv(const ParameterImage& image, double kpa) {
    const double t1 = image.get(Field::APS_ApsTlak1);
    const double t2 = image.get(Field::APS_ApsTlak2);
    const double v1 = image.get(Field::APS_ApsNapeti1);
    const double v2 = image.get(Field::APS_ApsNapeti2);
    if (t2 == t1) return v1;
    return std::clamp(v1 + (kpa - t1) * (v2 - v1) / (t2 - t1), 0.0, 5000.0);
}

// After-start enrichment in percent: from the first point's correction at
// the start down to none after the last point's time.
double startCorrectionPercent(const ParameterImage& image, double sinceStart) {
    std::array<double, 5> times{};
    std::array<double, 5> percents{};
    percents[0] = image.get(Field::CHOKE_SyticKorekce, 0) + 100.0;
    for (std::size_t i = 0; i < 4; ++i) {
        times[i + 1] = image.get(Field::CHOKE_SyticCas, i);
        percents[i + 1] = image.get(Field::CHOKE_SyticKorekce, i) + 100.0;
    }
    if (sinceStart >= times[4]) return 100.0;
    return interpolate(times, percents, sinceStart);
}

void setInjection(EngineState& state, const ParameterImage& image, double rpm, double throttle) {
    const double jet1 = mapAt(image, Field::JET_1A_Cell, Field::RPM_JET_1A_Rpm, rpm, throttle);
    double jet2 = mapAt(image, Field::JET_2A_Cell, Field::RPM_JET_2A_Rpm, rpm, throttle);
    // Coupling mode 2: the second injector follows the first map.
    if (image.get(Field::JET1_MISC_Jet123Mode) == 2) jet2 = jet1;
    state.injection1Us = clampTo<std::uint16_t>(jet1);
    state.injection2Us = clampTo<std::uint16_t>(jet2);
}

void setAdvance(EngineState& state, const ParameterImage& image, double rpm, double throttle) {
    double advance = image.get(Field::ADVANCE_MISC_BaseAdv);
    if (state.running) {
        // Without throttle dependence only the full-throttle row counts.
        const double row = image.get(Field::ADVANCE_MISC_UseTps) != 0 ? throttle : 100.0;
        advance = mapAt(image, Field::ADVANCE_Cell, Field::RPM_ADV_Rpm, rpm, row);
    }
    const double cylinder1 = image.get(Field::ADVANCE_MISC_CylKor1) - 100.0;
    const double cylinder2 = image.get(Field::ADVANCE_MISC_CylKor2) - 100.0;
    state.advance1 =
        static_cast<std::uint8_t>(std::clamp(std::lround(advance + cylinder1), 0L, 99L));
    state.advance2 =
        static_cast<std::uint8_t>(std::clamp(std::lround(advance + cylinder2), 0L, 99L));
}

}  // namespace

double lookUpMap(std::span<const double, 150> cells, std::span<const std::uint8_t, 15> axis,
                 double rpm, double throttlePercent) {
    std::array<double, 15> columns{};
    for (std::size_t c = 0; c < columns.size(); ++c) columns[c] = axis[c] * 100.0;
    const auto [c, fc] = locate(columns, rpm);
    const auto [r, fr] = locate(kRowThrottle, throttlePercent);
    auto cell = [&](std::size_t row, std::size_t column) { return cells[row * 15 + column]; };
    const double low = cell(r, c) + (cell(r, c + 1) - cell(r, c)) * fc;
    const double high = cell(r + 1, c) + (cell(r + 1, c + 1) - cell(r + 1, c)) * fc;
    return low + (high - low) * fr;
}

namespace {

// Speed, throttle, gear and road speed at a moment, and how warm the engine is.
struct Motion {
    Ride ride;
    int gear = 0;
    double rpm = 0.0;
    double throttle = 0.0;
    double warmFor = 0.0;  // seconds the engine has been warming up
    bool held = false;     // held at one point: no gear changes
};

EngineState engineState(double t, const ParameterImage& image, const Gearbox& box,
                        const Motion& motion);

}  // namespace

EngineState simulateEngine(std::chrono::milliseconds sinceStart, const ParameterImage& image) {
    const double t = std::max<double>(0.0, static_cast<double>(sinceStart.count()) / 1000.0);
    const Gearbox box = gearboxOf(image);
    Motion motion;
    motion.ride = rideAt(t);
    motion.gear = box.gearFor(motion.ride);
    motion.rpm = engineSpeed(t, motion.ride, motion.gear, box);
    motion.throttle = throttleOpening(t, motion.ride);
    motion.warmFor = t;
    return engineState(t, image, box, motion);
}

EngineState simulateHeldEngine(std::chrono::milliseconds sinceStart, const ParameterImage& image,
                               const HeldPoint& held) {
    // Long enough for the coolant to settle and every after-start correction to end.
    constexpr double kWarmSeconds = 600.0;
    constexpr int kHeldGear = 4;
    const double t = std::max<double>(0.0, static_cast<double>(sinceStart.count()) / 1000.0);
    const Gearbox box = gearboxOf(image);
    Motion motion;
    motion.gear = std::min(kHeldGear, box.gears);
    motion.rpm = held.rpm;
    motion.throttle = std::clamp(held.throttlePercent, 0.0, 100.0);
    const double ratio = box.ratios[static_cast<std::size_t>(motion.gear - 1)];
    motion.ride.speed = ratio > 0 ? held.rpm * 10.0 / ratio : 0.0;
    motion.ride.standing = false;
    motion.warmFor = t + kWarmSeconds;
    motion.held = true;
    return engineState(motion.warmFor, image, box, motion);
}

namespace {

EngineState engineState(double t, const ParameterImage& image, const Gearbox& box,
                        const Motion& motion) {
    const Ride& ride = motion.ride;
    const int gear = motion.gear;
    const double rpm = motion.rpm;
    const double throttle = motion.throttle;
    const bool running = t >= kCrankingSeconds;
    const double sinceEngineStart = std::max(0.0, t - kCrankingSeconds);

    EngineState s;
    s.running = running;
    s.rpm = clampTo<std::uint16_t>(rpm);
    s.throttlePermille = clampTo<std::uint16_t>(throttle * 10.0);
    s.gear = static_cast<std::uint8_t>(gear);
    s.roadSpeed = clampTo<std::uint16_t>(ride.speed);
    s.speedRatio = s.roadSpeed > 0 ? clampTo<std::uint16_t>(s.rpm * 10.0 / s.roadSpeed) : 0;
    s.gearRatios = box.ratios;
    s.coolantC = static_cast<int>(std::lround(100.0 - 80.0 * std::exp(-motion.warmFor / 45.0)));
    s.airC = static_cast<int>(std::lround(35.0 - 15.0 * std::exp(-motion.warmFor / 150.0)));
    s.sinceStartTenths = clampTo<std::uint16_t>(sinceEngineStart * 10.0);

    const double kpa = 30.0 + 0.72 * throttle;
    s.pressureTenthKpa = clampTo<std::uint16_t>(kpa * 10.0);
    s.pressureMv = clampTo<std::uint16_t>(pressureMv(image, kpa));
    const double tps0 = image.get(Field::TPS_Tps0) * 10.0;
    const double tps100 = image.get(Field::TPS_Tps100) * 10.0 + 2500.0;
    s.throttleMv = clampTo<std::uint16_t>(tps0 + (tps100 - tps0) * throttle / 100.0);
    s.coolantMv =
        clampTo<std::uint16_t>(curveAt(image, Field::WATER_TEMP_SENSOR_CidloTVoda, s.coolantC));
    s.airMv = clampTo<std::uint16_t>(curveAt(image, Field::AIR_TEMP_SENSOR_CidloTVzduch, s.airC));
    s.lambdaMv = running ? clampTo<std::uint16_t>(450.0 + 380.0 * wave(t, 1.3)) : 0;
    s.supplyMv = clampTo<std::uint16_t>(running ? 13800.0 + 100.0 * wave(t, 5.3) : 11000.0);
    s.fuelMv = clampTo<std::uint16_t>(3000.0 + 50.0 * wave(t, 60.0));
    s.pinEngine14Mv = window(t, 17.0, 10.0, 12.0) ? 400 : 4800;

    setAdvance(s, image, rpm, throttle);
    setInjection(s, image, rpm, throttle);
    {
        std::vector<double> axis = fieldValues(image, Field::POSITION_A_Rpm, 15);
        for (double& x : axis) x *= 100.0;
        const std::vector<double> angles = fieldValues(image, Field::POSITION_A_Angle, 15);
        s.positionDegrees = clampTo<std::uint16_t>(interpolate(axis, angles, rpm) * 5.0);
    }
    s.shiftLight = shiftLightState(image, gear, rpm);

    s.coolantInjectionCorr =
        clampTo<std::uint16_t>(curveAt(image, Field::INJ_CORR_KorVoda, s.coolantC) * 10.0);
    s.airInjectionCorr =
        clampTo<std::uint16_t>(curveAt(image, Field::INJ_CORR_KorVzduch, s.airC) * 10.0);
    s.startInjectionCorr =
        clampTo<std::uint16_t>(startCorrectionPercent(image, sinceEngineStart) * 10.0);
    s.voltageInjectionCorr = clampTo<std::uint16_t>(1000.0 + (13800.0 - s.supplyMv) / 20.0);
    // The curve holds degrees + 100, which is what the unit reports, x 10.
    s.coolantAdvanceCorr =
        clampTo<std::uint16_t>(curveAt(image, Field::ADVANCE_CORR_IgnVoda, s.coolantC) * 10.0);
    if (running && gear == 0 && rpm < 1500.0) {
        s.idleAdvanceCorr = clampTo<std::uint16_t>(1000.0 + 20.0 * wave(t, 3.1));
    }

    s.starterPressed = !running;
    s.quickShift = ride.accelerating && box.gearAt(t + 0.1) > gear;
    s.clutchPulled = !motion.held && ((!ride.accelerating && box.gearAt(t - 0.3) != gear) ||
                                      (gear != 0 && ride.speed < 10.0));
    s.sideStandDown = ride.standing && window(t, 2 * kCycleSeconds, 0.0, kCycleSeconds);
    s.tachoLambdaInput = window(t, 31.0, 20.0, 24.0);
    s.pinEngine23 = window(t, 23.0, 5.0, 8.0);
    s.pinBody11 = window(t, 29.0, 12.0, 14.0);
    s.ignitionLimiter = limiterActive(image, Field::LIMITER_IgnLimiter, rpm);
    s.injectionLimiter = limiterActive(image, Field::LIMITER_JetLimiter, rpm);
    s.retardLimiter = limiterActive(image, Field::LIMITER_RetardLimiterRpm, rpm);
    s.nitrous = image.get(Field::N2O_Gas) != 0 && ride.accelerating && throttle >= 95.0;
    s.lambdaHeating = t >= 15.0;
    const unsigned fan1 = image.get(Field::FAN_Fan1);
    const unsigned fan2 = image.get(Field::FAN_Fan2);
    s.fan1 = fan1 != 0 && s.coolantC >= static_cast<int>(fan1);
    s.fan2 = fan2 != 0 && s.coolantC >= static_cast<int>(fan2);
    return s;
}

}  // namespace

}  // namespace zelvor::sim
