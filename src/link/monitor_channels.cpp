#include "link/monitor_channels.h"

#include <algorithm>
#include <cstdlib>

namespace zelvor::link {

namespace {

using C = MonitorChannel;
using F = MonitorFlag;

// In the order of MonitorFlag.
constexpr std::array<FlagSpec, kMonitorFlagCount> kFlags{{
    {F::StartSwitchIn, "start_switch_in", 1, 0, false},
    {F::ClutchIn, "clutch_in", 1, 1, false},
    {F::NeutralIn, "neutral_in", 1, 2, true},
    {F::SideStandIn, "side_stand_in", 1, 3, false},
    {F::StartLimiterIn, "start_limiter_in", 1, 4, false},
    {F::ClutchMasterIn, "clutch_master_in", 1, 5, false},
    {F::TachoLambdaIn, "tacho_lambda_in", 1, 6, false},
    {F::PinEngine23In, "pin_engine23_in", 1, 7, false},
    {F::PinBody11In, "pin_body11_in", 2, 0, false},
    {F::StartSwitchOut, "start_switch_out", 2, 1, true},
    {F::StartLimiterOut, "start_limiter_out", 2, 2, true},
    {F::IgnitionLimiter, "ignition_limiter", 2, 3, true},
    {F::InjectionLimiter, "injection_limiter", 2, 4, true},
    {F::RetardLimiter, "retard_limiter", 2, 5, true},
    {F::TachoOut, "tacho_out", 2, 6, true},
    {F::NitrousOut, "nitrous_out", 2, 7, true},
    {F::ClutchMasterOut, "clutch_master_out", 3, 0, true},
    {F::BaseAdvance, "base_advance", 3, 3, true},
    {F::PickupRunning, "pickup_running", 3, 5, true},
    {F::DataError, "data_error", 3, 6, true},
    {F::ThrottleFault, "throttle_fault", 3, 7, true},
    {F::PressureFault, "pressure_fault", 4, 0, true},
    {F::OilOk, "oil_ok", 4, 1, true},
    {F::LambdaHeat, "lambda_heat", 4, 2, true},
    {F::Fan1, "fan1", 4, 3, true},
    {F::Fan2, "fan2", 4, 4, true},
    {F::Blocking, "blocking", 4, 5, true},
    {F::FuelWarning, "fuel_warning", 4, 6, true},
}};

// The coolant sensor reads 0 when it is missing; the unit then works with
// 80 C, which is what is shown on the gauge and used for the corrections.
constexpr FaultRule kCoolantFault{.atOrBelow = 0, .shown = FaultShown::Error, .keptStored = 180};
// An air reading of -40 C or less is a broken sensor; 50 C is shown.
constexpr FaultRule kAirFault{.atOrBelow = 60, .shown = FaultShown::Fixed, .fixed = 50};
constexpr FaultRule kThrottleFault{.flag = F::ThrottleFault, .shown = FaultShown::Error};
constexpr FaultRule kPressureFault{.flag = F::PressureFault};

// In the order of MonitorChannel: name, unit, offset, width, factor, bias,
// decimals, fine digit, fault rule.
constexpr std::array<ChannelSpec, kMonitorChannelCount> kChannels{{
    {C::EngineSpeed, "engine_speed_rpm", "rpm", 48, 2, 1, 0, 0},
    {C::Throttle, "throttle_percent", "%", 9, 1, 10, 0, 1, 28, kThrottleFault},
    {C::ThrottleSensor, "throttle_sensor_mv", "mV", 56, 2, 1, 0, 0},
    {C::Advance1, "advance1_deg", "°", 10, 1, 1, 0, 0},
    {C::Advance2, "advance2_deg", "°", 11, 1, 1, 0, 0},
    {C::Injection1, "injection1_us", "us", 14, 1, 100, 0, 0},
    {C::Injection2, "injection2_us", "us", 15, 1, 100, 0, 0},
    {C::Coolant, "coolant_c", "°C", 23, 1, 1, -100, 0, 0, kCoolantFault},
    {C::Air, "air_c", "°C", 24, 1, 1, -100, 0, 0, kAirFault},
    {C::Pressure, "pressure_kpa", "kPa", 52, 2, 1, 0, 1, 0, kPressureFault},
    {C::Lambda, "lambda_mv", "mV", 58, 2, 1, 0, 0},
    {C::Supply, "supply_v", "V", 64, 2, 1, 0, 3},
    {C::Fuel, "fuel_mv", "mV", 44, 2, 1, 0, 0},
    {C::Gear, "gear", "", 25, 1, 1, 0, 0},
    {C::RoadSpeed, "speed_kmh", "km/h", 116, 2, 1, 0, 0},
    {C::SpeedRatio, "rpm_speed_ratio", "", 120, 2, 1, 0, 1},
    {C::TimeSinceStart, "time_since_start_s", "s", 94, 2, 1, 0, 1},
    {C::SavingCount, "saving_count", "bytes", 148, 2, 1, 0, 0},
    {C::ProgramCount, "programming_count", "", 76, 2, 1, 0, 0},
    {C::UnitVersion, "unit_version", "", 150, 1, 1, 0, 0},
    {C::PressureSensor, "pressure_sensor_mv", "mV", 50, 2, 1, 0, 0},
    {C::CoolantSensor, "coolant_sensor_mv", "mV", 60, 2, 1, 0, 0},
    {C::AirSensor, "air_sensor_mv", "mV", 62, 2, 1, 0, 0},
    {C::PinEngine14, "pin_engine14_mv", "mV", 46, 2, 1, 0, 0},
    // 0 off, 2 on, anything else flashing.
    {C::ShiftLight, "shift_light", "", 27, 1, 1, 0, 0},
    {C::Position, "position_deg", "°", 96, 2, 1, 0, 0},
    {C::CoolantInjectionCorrection, "coolant_injection_correction_percent", "%", 100, 2, 1, 0, 1},
    {C::AirInjectionCorrection, "air_injection_correction_percent", "%", 102, 2, 1, 0, 1},
    {C::PressureInjectionCorrection, "pressure_injection_correction_percent", "%", 104, 2, 1, 0, 1},
    {C::StartInjectionCorrection, "start_injection_correction_percent", "%", 106, 2, 1, 0, 1},
    {C::SupplyInjectionCorrection, "supply_injection_correction_us", "us", 108, 2, 1, -1000, 0},
    {C::CoolantAdvanceCorrection, "coolant_advance_correction_deg", "°", 110, 2, 1, -1000, 1},
    {C::IdleAdvanceCorrection, "idle_advance_correction_deg", "°", 134, 2, 1, -1000, 1},
    {C::GearRatio1, "gear1_rpm_speed_ratio", "", 122, 2, 1, 0, 1},
    {C::GearRatio2, "gear2_rpm_speed_ratio", "", 124, 2, 1, 0, 1},
    {C::GearRatio3, "gear3_rpm_speed_ratio", "", 126, 2, 1, 0, 1},
    {C::GearRatio4, "gear4_rpm_speed_ratio", "", 128, 2, 1, 0, 1},
    {C::GearRatio5, "gear5_rpm_speed_ratio", "", 130, 2, 1, 0, 1},
    {C::GearRatio6, "gear6_rpm_speed_ratio", "", 132, 2, 1, 0, 1},
    {C::Test1, "test1", "", 78, 2, 1, 0, 0},
    {C::Test2, "test2", "", 80, 2, 1, 0, 0},
    {C::Test3, "test3", "", 82, 2, 1, 0, 0},
    {C::Test4, "test4", "", 84, 2, 1, 0, 0},
    {C::Test5, "test5", "", 86, 2, 1, 0, 0},
    {C::Test6, "test6", "", 88, 2, 1, 0, 0},
    {C::Test7, "test7", "", 90, 2, 1, 0, 0},
    {C::Test8, "test8", "", 92, 2, 1, 0, 0},
}};

constexpr bool tablesInEnumOrder() {
    for (std::size_t i = 0; i < kChannels.size(); ++i) {
        if (static_cast<std::size_t>(kChannels[i].channel) != i) return false;
    }
    for (std::size_t i = 0; i < kFlags.size(); ++i) {
        if (static_cast<std::size_t>(kFlags[i].flag) != i) return false;
    }
    return true;
}
static_assert(tablesInEnumOrder(), "one row per channel and flag, in enum order");

// Multiplying by the scale of the last decimal, as the live labels have
// always computed their figures, gives the same double as they do.
constexpr double kDecimalScale[] = {1.0, 0.1, 0.01, 0.001};

std::int32_t storedNumber(const LinkFrame& frame, const ChannelSpec& spec) {
    return spec.width == 2 ? frame.word(spec.offset) : frame.bytes()[spec.offset];
}

}  // namespace

std::span<const ChannelSpec> monitorChannels() {
    return kChannels;
}

std::span<const FlagSpec> monitorFlags() {
    return kFlags;
}

const ChannelSpec& channelSpec(MonitorChannel channel) {
    return kChannels[static_cast<std::size_t>(channel)];
}

const FlagSpec& flagSpec(MonitorFlag flag) {
    return kFlags[static_cast<std::size_t>(flag)];
}

std::optional<MonitorChannel> findMonitorChannel(std::string_view name) {
    const auto it = std::find_if(kChannels.begin(), kChannels.end(),
                                 [name](const ChannelSpec& spec) { return spec.name == name; });
    if (it == kChannels.end()) return std::nullopt;
    return it->channel;
}

MonitorSample::MonitorSample(const LinkFrame& frame) {
    const auto& bytes = frame.bytes();
    for (const FlagSpec& spec : kFlags) {
        const bool set = (bytes[spec.offset] >> spec.bit) & 1;
        flags_[static_cast<std::size_t>(spec.flag)] = set == spec.activeWhenSet;
    }
    for (const ChannelSpec& spec : kChannels) {
        ChannelReading& reading = readings_[static_cast<std::size_t>(spec.channel)];
        reading.stored = storedNumber(frame, spec);
        const FaultRule& rule = spec.fault;
        reading.fault = (rule.flag && active(*rule.flag)) ||
                        (rule.atOrBelow && reading.stored <= *rule.atOrBelow);
        if (reading.fault && rule.keptStored) reading.stored = *rule.keptStored;
        reading.value = reading.stored * spec.factor + spec.bias;
        if (spec.fineOffset != 0) reading.value += bytes[spec.fineOffset];
    }
}

double MonitorSample::real(MonitorChannel channel) const {
    return value(channel) * kDecimalScale[channelSpec(channel).decimals];
}

std::int32_t MonitorSample::shownValue(MonitorChannel channel) const {
    const FaultRule& rule = channelSpec(channel).fault;
    return fault(channel) && rule.shown == FaultShown::Fixed ? rule.fixed : value(channel);
}

std::string readingText(const MonitorSample& sample, MonitorChannel channel) {
    const ChannelSpec& spec = channelSpec(channel);
    if (sample.fault(channel) && spec.fault.shown == FaultShown::Error) return "error";
    return decimalText(sample.shownValue(channel), spec.decimals);
}

std::string decimalText(long long value, int decimals) {
    if (decimals <= 0) return std::to_string(value);
    long long scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const long long magnitude = std::llabs(value);
    std::string fraction = std::to_string(magnitude % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return (value < 0 ? "-" : "") + std::to_string(magnitude / scale) + "." + fraction;
}

}  // namespace zelvor::link
