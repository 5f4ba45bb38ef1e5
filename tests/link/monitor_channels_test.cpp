// The monitor answer as numbers: the channel table, the sample it gives and
// the live values the decoder keeps.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "link/monitor_channels.h"
#include "link/monitor_decoder.h"
#include "link_test_support.h"

namespace zelvor::link {
namespace {

using C = MonitorChannel;
using F = MonitorFlag;
using testing::MonitorFrameBuilder;

TEST(MonitorChannels, EachNumberHasItsOwnBytesInsideTheData) {
    std::set<std::size_t> used;
    std::set<std::string_view> names;
    for (const ChannelSpec& spec : monitorChannels()) {
        EXPECT_TRUE(spec.width == 1 || spec.width == 2) << spec.name;
        EXPECT_GE(spec.offset, 5u) << spec.name << ": bytes 1..4 carry the flags";
        EXPECT_LE(spec.offset + spec.width - 1u, 150u) << spec.name;
        for (std::size_t b = spec.offset; b < spec.offset + spec.width; ++b) {
            EXPECT_TRUE(used.insert(b).second) << spec.name << " shares byte " << b;
        }
        if (spec.fineOffset != 0) {
            EXPECT_TRUE(used.insert(spec.fineOffset).second) << spec.name;
        }
        EXPECT_TRUE(names.insert(spec.name).second) << spec.name;
        EXPECT_EQ(findMonitorChannel(spec.name), spec.channel);
    }
    EXPECT_EQ(names.size(), kMonitorChannelCount);
    EXPECT_FALSE(findMonitorChannel("no_such_channel"));

    std::set<int> bits;
    for (const FlagSpec& spec : monitorFlags()) {
        EXPECT_TRUE(spec.offset >= 1 && spec.offset <= 4) << spec.name;
        EXPECT_LT(spec.bit, 8) << spec.name;
        EXPECT_TRUE(bits.insert(spec.offset * 8 + spec.bit).second) << spec.name;
    }
    EXPECT_EQ(bits.size(), kMonitorFlagCount);
}

TEST(MonitorSample, ValuesInUnitsOfTheLastDecimal) {
    const MonitorSample s(MonitorFrameBuilder()
                              .word(48, 6000)
                              .byte(9, 12)
                              .byte(28, 3)
                              .byte(15, 23)
                              .word(64, 13800)
                              .word(52, 987)
                              .word(110, 1050)
                              .word(108, 990)
                              .word(134, 985)
                              .byte(23, 199)
                              .frame());
    EXPECT_EQ(s.value(C::EngineSpeed), 6000);
    EXPECT_EQ(s.stored(C::Throttle), 12);
    EXPECT_EQ(s.value(C::Throttle), 123) << "the tenths digit counts in";
    EXPECT_EQ(s.value(C::Injection2), 2300);
    EXPECT_EQ(s.value(C::Supply), 13800);
    EXPECT_DOUBLE_EQ(s.real(C::Supply), 13.8);
    EXPECT_DOUBLE_EQ(s.real(C::Pressure), 98.7);
    EXPECT_EQ(s.value(C::CoolantAdvanceCorrection), 50);
    EXPECT_EQ(s.value(C::SupplyInjectionCorrection), -10);
    EXPECT_EQ(s.value(C::IdleAdvanceCorrection), -15);
    EXPECT_EQ(s.value(C::Coolant), 99);
    EXPECT_EQ(s.value(C::UnitVersion), 63);
    EXPECT_EQ(readingText(s, C::Supply), "13.800");
    EXPECT_EQ(readingText(s, C::Throttle), "12.3");
    EXPECT_EQ(readingText(s, C::IdleAdvanceCorrection), "-1.5");
    EXPECT_EQ(readingText(s, C::SupplyInjectionCorrection), "-10");
}

TEST(MonitorSample, SensorFaultsFollowTheirRules) {
    const MonitorSample faults(MonitorFrameBuilder()
                                   .byte(23, 0)
                                   .byte(24, 60)
                                   .bit(3, 7, true)
                                   .bit(4, 0, true)
                                   .word(52, 50)
                                   .frame());
    EXPECT_TRUE(faults.fault(C::Coolant));
    EXPECT_EQ(faults.stored(C::Coolant), 180) << "the unit works on with 80 C";
    EXPECT_EQ(faults.value(C::Coolant), 80);
    EXPECT_EQ(readingText(faults, C::Coolant), "error");
    EXPECT_TRUE(faults.fault(C::Air));
    EXPECT_EQ(faults.stored(C::Air), 60) << "the reading is kept";
    EXPECT_EQ(faults.shownValue(C::Air), 50);
    EXPECT_EQ(readingText(faults, C::Air), "50");
    EXPECT_TRUE(faults.fault(C::Throttle));
    EXPECT_EQ(readingText(faults, C::Throttle), "error");
    EXPECT_TRUE(faults.fault(C::Pressure));
    EXPECT_EQ(readingText(faults, C::Pressure), "5.0") << "a pressure fault keeps its number";

    const MonitorSample sound(MonitorFrameBuilder().byte(23, 1).byte(24, 61).frame());
    EXPECT_FALSE(sound.fault(C::Coolant));
    EXPECT_EQ(readingText(sound, C::Coolant), "-99");
    EXPECT_FALSE(sound.fault(C::Air));
    EXPECT_EQ(readingText(sound, C::Air), "-39");
    EXPECT_FALSE(sound.fault(C::Throttle));
    EXPECT_FALSE(sound.fault(C::Pressure));
}

TEST(MonitorSample, InputsAreActiveWhenTheirBitIsClear) {
    const MonitorSample clear(MonitorFrameBuilder().byte(1, 0).byte(2, 0).byte(4, 0).frame());
    EXPECT_TRUE(clear.active(F::StartSwitchIn));
    EXPECT_TRUE(clear.active(F::PinEngine23In));
    EXPECT_TRUE(clear.active(F::PinBody11In));
    EXPECT_FALSE(clear.active(F::NeutralIn)) << "neutral is active when set";
    EXPECT_FALSE(clear.active(F::IgnitionLimiter));
    EXPECT_FALSE(clear.active(F::OilOk));

    const MonitorSample set(
        MonitorFrameBuilder().byte(1, 0xFF).byte(2, 0xFF).byte(3, 0xFF).byte(4, 0xFF).frame());
    EXPECT_FALSE(set.active(F::StartSwitchIn));
    EXPECT_TRUE(set.active(F::NeutralIn));
    EXPECT_TRUE(set.active(F::IgnitionLimiter));
    EXPECT_TRUE(set.active(F::TachoOut));
    EXPECT_TRUE(set.active(F::DataError));
    EXPECT_TRUE(set.active(F::FuelWarning));
}

TEST(MonitorDecoder, KeepsTheLiveValuesAndTheDutyOfThePreviousSpeed) {
    MonitorDecoder decoder;
    const LinkFrame frame = MonitorFrameBuilder()
                                .word(48, 6000)
                                .byte(9, 40)
                                .byte(14, 20)
                                .byte(15, 23)
                                .byte(23, 0)
                                .byte(24, 55)
                                .byte(25, 4)
                                .word(94, 321)
                                .word(120, 456)
                                .word(148, 1378)
                                .bit(2, 4, true)
                                .bit(3, 3, true)
                                .frame();
    ASSERT_TRUE(decoder.decode(frame.bytes()));
    EXPECT_EQ(decoder.injectorDuty(), 0) << "no speed before the first answer";
    const LiveValues& live = decoder.live();
    EXPECT_EQ(live.engineSpeed, 6000);
    EXPECT_EQ(live.throttlePercent, 40);
    EXPECT_EQ(live.coolantRaw, 180);
    EXPECT_EQ(live.airRaw, 55);
    EXPECT_EQ(live.gear, 4);
    EXPECT_EQ(live.timeSinceStart, 321);
    EXPECT_EQ(live.speedRatio, 456);
    EXPECT_EQ(live.savingCount, 1378);
    EXPECT_TRUE(live.injectionLimiter);
    EXPECT_FALSE(live.ignitionLimiter);
    EXPECT_TRUE(live.baseAdvance);

    ASSERT_TRUE(decoder.decode(MonitorFrameBuilder().word(48, 1000).byte(15, 23).frame().bytes()));
    EXPECT_EQ(decoder.injectorDuty(), 11) << "6000 rpm x 23 / 12000";
    EXPECT_EQ(decoder.framesDecoded(), 2u);
}

TEST(MonitorDecoder, DamagedOrShortAnswersChangeNothing) {
    MonitorDecoder decoder;
    ASSERT_TRUE(decoder.decode(MonitorFrameBuilder().word(48, 3000).frame().bytes()));
    const MonitorSample sample = decoder.sample();
    const LiveValues live = decoder.live();

    LinkFrame damaged = MonitorFrameBuilder().word(48, 7000).frame();
    damaged.bytes()[48] ^= 0x01;
    EXPECT_FALSE(decoder.decode(damaged.bytes()));
    const LinkFrame intact = MonitorFrameBuilder().word(48, 7000).frame();
    EXPECT_FALSE(decoder.decode(std::span<const std::uint8_t>(intact.bytes()).first(151)));
    EXPECT_EQ(decoder.sample(), sample);
    EXPECT_EQ(decoder.live(), live);
    EXPECT_EQ(decoder.framesDecoded(), 1u);
}

}  // namespace
}  // namespace zelvor::link
