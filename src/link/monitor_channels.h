#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/link_frame.h"

namespace zelvor::link {

// The on/off states a monitor answer carries in its bytes 1..4.
enum class MonitorFlag : std::uint8_t {
    StartSwitchIn,
    ClutchIn,
    NeutralIn,
    SideStandIn,
    StartLimiterIn,
    ClutchMasterIn,
    TachoLambdaIn,
    PinEngine23In,
    PinBody11In,
    StartSwitchOut,
    StartLimiterOut,
    IgnitionLimiter,
    InjectionLimiter,
    RetardLimiter,
    TachoOut,  // the shared output drives the tacho (else the lambda heater)
    NitrousOut,
    ClutchMasterOut,
    BaseAdvance,
    PickupRunning,
    DataError,  // the unit found its programmed data damaged
    ThrottleFault,
    PressureFault,
    OilOk,
    LambdaHeat,
    Fan1,
    Fan2,
    Blocking,
    FuelWarning,
};
inline constexpr std::size_t kMonitorFlagCount = 28;

// The numbers a monitor answer carries.
enum class MonitorChannel : std::uint8_t {
    EngineSpeed,
    Throttle,
    ThrottleSensor,
    Advance1,
    Advance2,
    Injection1,
    Injection2,
    Coolant,
    Air,
    Pressure,
    Lambda,
    Supply,
    Fuel,
    Gear,
    RoadSpeed,
    SpeedRatio,
    TimeSinceStart,
    SavingCount,
    ProgramCount,
    UnitVersion,
    PressureSensor,
    CoolantSensor,
    AirSensor,
    PinEngine14,
    ShiftLight,
    Position,
    CoolantInjectionCorrection,
    AirInjectionCorrection,
    PressureInjectionCorrection,
    StartInjectionCorrection,
    SupplyInjectionCorrection,
    CoolantAdvanceCorrection,
    IdleAdvanceCorrection,
    GearRatio1,
    GearRatio2,
    GearRatio3,
    GearRatio4,
    GearRatio5,
    GearRatio6,
    Test1,
    Test2,
    Test3,
    Test4,
    Test5,
    Test6,
    Test7,
    Test8,
};
inline constexpr std::size_t kMonitorChannelCount = 47;

// Where a flag sits in the frame and which bit state means "on".
struct FlagSpec {
    MonitorFlag flag;
    std::string_view name;
    std::uint8_t offset;  // frame byte (byte 0 is the command byte)
    std::uint8_t bit;
    bool activeWhenSet;  // the unit's switch inputs are active when their bit is clear
};

// How a faulty sensor shows in the value of its channel.
enum class FaultShown : std::uint8_t {
    Value,  // the value as read; only the fault flag tells
    Error,  // the text "error" instead of a number
    Fixed,  // a fixed value instead of the reading
};

// What marks a channel's sensor as faulty: a status flag of the unit or a
// stored value at or below a limit.
struct FaultRule {
    std::optional<MonitorFlag> flag = std::nullopt;
    std::optional<std::int32_t> atOrBelow = std::nullopt;
    FaultShown shown = FaultShown::Value;
    std::int32_t fixed = 0;  // the value for FaultShown::Fixed
    // The stored value kept in place of a faulty reading, for those who
    // go on working with the number.
    std::optional<std::int32_t> keptStored = std::nullopt;
};

// One number of the monitor answer: the stored byte or word at a frame
// offset; its value is stored * factor + bias in units of the last decimal
// (supply 13800 with 3 decimals is 13.800 V).
struct ChannelSpec {
    MonitorChannel channel;
    std::string_view name;  // a machine name: CSV header, log column
    std::string_view unit;
    std::uint8_t offset;  // frame offset (byte 0 is the command byte)
    std::uint8_t width;   // 1: a byte, 2: a little-endian word
    std::int32_t factor;
    std::int32_t bias;
    std::uint8_t decimals;
    // Frame offset of a byte added in units of the last decimal (the
    // throttle's tenths digit); 0: none.
    std::uint8_t fineOffset = 0;
    FaultRule fault = {};
};

std::span<const ChannelSpec> monitorChannels();
std::span<const FlagSpec> monitorFlags();
const ChannelSpec& channelSpec(MonitorChannel channel);
const FlagSpec& flagSpec(MonitorFlag flag);
std::optional<MonitorChannel> findMonitorChannel(std::string_view name);

// One channel of a sample.
struct ChannelReading {
    // The stored number; a fault whose rule keeps another number has that one.
    std::int32_t stored = 0;
    std::int32_t value = 0;  // engineering value in units of the last decimal
    bool fault = false;

    friend bool operator==(const ChannelReading&, const ChannelReading&) = default;
};

// Every live value of one monitor answer, typed by the channel table.
class MonitorSample {
  public:
    MonitorSample() = default;
    // Reads every channel and flag of a monitor answer (its check byte is
    // the decoder's business).
    explicit MonitorSample(const LinkFrame& frame);

    const ChannelReading& operator[](MonitorChannel channel) const {
        return readings_[static_cast<std::size_t>(channel)];
    }
    std::int32_t stored(MonitorChannel channel) const { return (*this)[channel].stored; }
    std::int32_t value(MonitorChannel channel) const { return (*this)[channel].value; }
    bool fault(MonitorChannel channel) const { return (*this)[channel].fault; }
    // The value in engineering units as a floating-point number.
    double real(MonitorChannel channel) const;
    // The value a sensor fault shows: the fixed one of its rule, else the value.
    std::int32_t shownValue(MonitorChannel channel) const;
    bool active(MonitorFlag flag) const { return flags_[static_cast<std::size_t>(flag)]; }

    friend bool operator==(const MonitorSample&, const MonitorSample&) = default;

  private:
    std::array<ChannelReading, kMonitorChannelCount> readings_{};
    std::array<bool, kMonitorFlagCount> flags_{};
};

// The value of a channel as a decimal number with exactly its decimals
// ("13.800", "-39"), or "error" for a fault shown so.
std::string readingText(const MonitorSample& sample, MonitorChannel channel);

// value / 10^decimals with exactly that many decimals.
std::string decimalText(long long value, int decimals);

}  // namespace zelvor::link
