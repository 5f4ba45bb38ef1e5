// The monitor labels, gauges and limiter edits as the decoded answers paint
// them.
#include "editing/monitor_presenter.h"

#include <gtest/gtest.h>

#include "../link/link_test_support.h"

namespace zelvor::editing {
namespace {

using L = MonitorLabel;
using G = MonitorGauge;
using link::LinkFrame;
using link::LiveValues;
using link::testing::MonitorFrameBuilder;

class MonitorPresenterTest : public ::testing::Test {
  protected:
    // Decodes an answer and, as the window does, paints it once accepted.
    bool offer(std::span<const std::uint8_t> batch) {
        const bool accepted = decoder.decode(batch);
        if (accepted) presenter.present(decoder);
        return accepted;
    }
    const MonitorView& decode(const MonitorFrameBuilder& builder) {
        EXPECT_TRUE(offer(builder.frame().bytes()));
        return presenter.view();
    }
    void extended() { presenter.setOptions({.extendedMonitor = true, .gasTicked = false}); }

    model::ParameterImage image;
    i18n::MessageTable messages;
    link::MonitorDecoder decoder;
    MonitorPresenter presenter{image, messages};
    // A plausible running engine: coolant 80 C, air 20 C, normal supply.
    MonitorFrameBuilder frame = MonitorFrameBuilder().byte(23, 180).byte(24, 120).word(64, 13000);
};

TEST_F(MonitorPresenterTest, ThrottleWithTenthsInExtendedModeAndWholePercentOtherwise) {
    frame.byte(9, 12).byte(28, 3).word(56, 1234);
    EXPECT_EQ(decode(frame)[L::LabelTpsMon].text, "TP = 12 %");
    extended();
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelTpsMon].text, "TP = 12.3 %=1234 mV");
    EXPECT_EQ(view[L::LabelTpsMon].background, Colour::ButtonFace);
    EXPECT_EQ(view[G::CGaugeTps].progress, 12);
    EXPECT_EQ(decoder.live().throttlePercent, 12);
    EXPECT_EQ(decoder.live().throttleSensorMv, 1234);
}

TEST_F(MonitorPresenterTest, ThrottleFaultShowsTheSensorVoltageInRed) {
    frame.byte(9, 40).bit(3, 7, true).word(56, 4900);
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelTpsMon].text, "TP = error = 4900 mV");
    EXPECT_EQ(view[L::LabelTpsMon].background, Colour::Red);
    EXPECT_EQ(view[G::CGaugeTps].progress, 0);
    EXPECT_TRUE(decoder.live().throttleFault);
}

TEST_F(MonitorPresenterTest, LambdaGaugeScale) {
    const std::pair<int, int> cases[] = {{399, 0}, {400, 0}, {700, 50}, {1000, 100}, {1001, 100}};
    for (const auto& [mv, progress] : cases) {
        const MonitorView& view = decode(frame.word(58, static_cast<std::uint16_t>(mv)));
        EXPECT_EQ(view[G::CGaugeLambda].progress, progress) << mv;
        EXPECT_EQ(view[L::LabelLambda].text, "Lambda = " + std::to_string(mv) + " mV");
    }
}

TEST_F(MonitorPresenterTest, SupplyVoltageColours) {
    const std::pair<int, Colour> cases[] = {
        {11000, Colour::Yellow}, {11001, Colour::ButtonFace}, {14998, Colour::ButtonFace},
        {14999, Colour::Yellow}, {7000, Colour::Red},         {7001, Colour::Yellow},
        {17999, Colour::Red},    {17998, Colour::Yellow}};
    for (const auto& [mv, colour] : cases) {
        const MonitorView& view = decode(frame.word(64, static_cast<std::uint16_t>(mv)));
        EXPECT_EQ(view[L::LabelNapeti].background, colour) << mv;
    }
    // Single precision: 12.65 is stored as 12.6499996 and printed as 12.6.
    EXPECT_EQ(decode(frame.word(64, 12650))[L::LabelNapeti].text, "U = 12.6 V");
}

TEST_F(MonitorPresenterTest, CoolantSensorFaultIsShownAndKeptAsEightyDegrees) {
    frame.byte(23, 0).word(60, 4990);
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelVoda].text, "Coolant = error");
    EXPECT_EQ(view[L::LabelVoda].background, Colour::Red);
    EXPECT_EQ(view[G::CGaugeVoda].fore, Colour::Red);
    EXPECT_EQ(view[G::CGaugeVoda].progress, 80);
    EXPECT_EQ(decoder.live().coolantRaw, 180);
    extended();
    EXPECT_EQ(decode(frame)[L::LabelVoda].text, "Coolant = error = 4990 mV");
}

TEST_F(MonitorPresenterTest, CoolantTurnsYellowFromOneHundredDegrees) {
    const MonitorView& normal = decode(frame.byte(23, 199));
    EXPECT_EQ(normal[L::LabelVoda].text, "Coolant= 99 °C");
    EXPECT_EQ(normal[L::LabelVoda].background, Colour::ButtonFace);
    EXPECT_EQ(normal[G::CGaugeVoda].fore, Colour::Aqua);
    EXPECT_EQ(normal[G::CGaugeVoda].progress, 99);

    const MonitorView& hot = decode(frame.byte(23, 200));
    EXPECT_EQ(hot[L::LabelVoda].text, "Coolant= 100 °C");
    EXPECT_EQ(hot[L::LabelVoda].background, Colour::Yellow);
    EXPECT_EQ(hot[G::CGaugeVoda].fore, Colour::Yellow);

    extended();
    EXPECT_EQ(decode(frame.word(60, 700))[L::LabelVoda].text, "Coolant = 100 °C= 700 mV");
}

TEST_F(MonitorPresenterTest, AirSensorFaultShowsFiftyDegreesInRed) {
    const MonitorView& fault = decode(frame.byte(24, 60));
    EXPECT_EQ(fault[L::LabelVzduch].text, "AT = 50 °C");
    EXPECT_EQ(fault[L::LabelVzduch].background, Colour::Red);
    EXPECT_EQ(decoder.live().airRaw, 60) << "the kept air value is not replaced";

    const MonitorView& cold = decode(frame.byte(24, 61));
    EXPECT_EQ(cold[L::LabelVzduch].text, "AT = -39 °C");
    EXPECT_EQ(cold[L::LabelVzduch].background, Colour::ButtonFace);
    extended();
    EXPECT_EQ(decode(frame.word(62, 3100))[L::LabelVzduch].text, "AT = -39 °C= 3100 mV");
}

TEST_F(MonitorPresenterTest, AdvanceAverageAndBaseMode) {
    frame.byte(10, 15).byte(11, 16);
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelMon_Ign1].text, "Advance 1= 15 °");
    EXPECT_EQ(view[L::LabelMon_Ign2].text, "Advance 2= 16 °");
    EXPECT_EQ(view[L::LabelMon_Ign].text, "Advance = 15 °");
    EXPECT_EQ(view[L::LabelMon_Ign2].visible, true);
    EXPECT_EQ(decode(frame.byte(10, 5).byte(11, 5))[L::LabelMon_Ign].text, "Advance =  5 °");

    frame.bit(3, 3, true);
    const MonitorView& base = decode(frame);
    EXPECT_EQ(base[L::LabelMon_Ign1].text, "Advance 1= BASE");
    EXPECT_EQ(base[L::LabelMon_Ign2].text, "Advance 2= BASE");
    EXPECT_EQ(base[L::LabelMon_Ign].text, "Advance = BASE");
    EXPECT_TRUE(decoder.live().baseAdvance);
}

TEST_F(MonitorPresenterTest, InjectorDutyUsesTheEngineSpeedOfThePreviousAnswer) {
    frame.byte(14, 20).byte(15, 23).word(48, 6000);
    const MonitorView& first = decode(frame);
    EXPECT_EQ(first[L::LabelMaxInjProcent].text, "Max injection = 0 [%]");
    EXPECT_EQ(first[L::LabelMon_Jet_1A].text, "Injection time 1 = 2000 us");
    EXPECT_EQ(first[L::LabelMon_Jet_2A].text, "Injection time 2 = 2300 us");
    EXPECT_EQ(first[L::LabelMon_Jet_A].text, "Injection time = 2150 us");

    const MonitorView& second = decode(frame);
    EXPECT_EQ(second[L::LabelMaxInjProcent].text, "Max injection = 11 [%]");
    EXPECT_EQ(second[G::CGaugeDuty].progress, 11);
    EXPECT_EQ(second[G::CGaugeDuty].fore, Colour::Blue);

    decode(frame.word(48, 12000).byte(15, 101));
    EXPECT_EQ(decode(frame)[G::CGaugeDuty].fore, Colour::Yellow);
    EXPECT_EQ(presenter.view()[G::CGaugeDuty].progress, 101);
}

TEST_F(MonitorPresenterTest, GearShiftLightStates) {
    const MonitorView& twinkle = decode(frame.byte(27, 1));
    EXPECT_EQ(twinkle[L::LabelMonPilotLight].text, "Gear Shift Light - Twinkle");
    EXPECT_EQ(twinkle[L::LabelMonPilotLight].background, Colour::Fuchsia);
    EXPECT_EQ(decode(frame.byte(27, 2))[L::LabelMonPilotLight].text, "Gear Shift Light - YES");
    const MonitorView& off = decode(frame.byte(27, 0));
    EXPECT_EQ(off[L::LabelMonPilotLight].text, "Gear Shift Light - NO");
    EXPECT_EQ(off[L::LabelMonPilotLight].background, Colour::ButtonFace);
}

TEST_F(MonitorPresenterTest, FuelGaugeIsPassedOnAsComputed) {
    const MonitorView& view = decode(frame.word(44, 1000).bit(4, 6, true));
    EXPECT_EQ(view[G::CGaugeFuel].progress, -25);
    EXPECT_EQ(view[L::LabelMonFuelMv].text, "Fuel = 1000 mV");
    EXPECT_EQ(view[L::LabelMonFuelMv].background, Colour::Fuchsia);
    EXPECT_EQ(decode(frame.word(44, 4000).bit(4, 6, false))[G::CGaugeFuel].progress, 100);
    EXPECT_EQ(presenter.view()[L::LabelMonFuelMv].background, Colour::ButtonFace);
}

TEST_F(MonitorPresenterTest, InputLabelsAreActiveWhenTheirBitIsClear) {
    const MonitorView& allClear = decode(frame.byte(1, 0x00));
    EXPECT_EQ(allClear[L::LabelMonTlStartIn].text, "Switch start - YES");
    EXPECT_EQ(allClear[L::LabelMonTlStartIn].background, Colour::White);
    EXPECT_EQ(allClear[L::LabelMonClutchMasterIn].background, Colour::Lime);
    EXPECT_EQ(allClear[L::LabelMonRpmLambdaIn].text, "Tacho/Lambda - YES");
    EXPECT_EQ(allClear[L::LabelMonPinEngine23In].text, "Pin engine 23 - YES");
    EXPECT_EQ(allClear[L::LabelMonNeutral].text, "Idle - NO") << "neutral is active when set";
    EXPECT_EQ(allClear[L::LabelMonNeutral].background, Colour::ButtonFace);

    const MonitorView& allSet = decode(frame.byte(1, 0xFF));
    EXPECT_EQ(allSet[L::LabelMonTlStartIn].text, "Switch start - NO");
    EXPECT_EQ(allSet[L::LabelMonTlStartIn].background, Colour::ButtonFace);
    EXPECT_EQ(allSet[L::LabelMonNeutral].text, "Idle - YES");
    EXPECT_EQ(allSet[L::LabelMonNeutral].background, Colour::Aqua);
}

TEST_F(MonitorPresenterTest, OutputsLimitersAndStatusBits) {
    frame.byte(2, 0b0101'1101).byte(3, 0b0110'0001).byte(4, 0b0011'1100);
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelMonStartLimiterOut].text, "Start limiter - YES");
    EXPECT_EQ(view[MonitorEdit::EditStartLimiter], Colour::Fuchsia);
    EXPECT_EQ(view[MonitorEdit::EditIgnLimiter], Colour::Fuchsia);
    EXPECT_EQ(view[MonitorEdit::EditJetLimiter], Colour::Fuchsia);
    EXPECT_EQ(view[MonitorEdit::EditRetardLimiterRpm], Colour::Window);
    EXPECT_EQ(view[L::LabelMonRetardLimiter].text, "Limiter by retard - NO");
    EXPECT_EQ(view[L::LabelMonRpmLambdaOut].text, "Tacho/Lambda - Tacho");
    EXPECT_EQ(view[L::LabelMonRpmLambdaOut].background, Colour::ButtonFace);
    EXPECT_EQ(view[L::LabelMonClutchOut].background, Colour::Red);
    EXPECT_EQ(view[L::LabelSnimacCmps].text, "Pick-up (CMPS) -  is running");
    EXPECT_EQ(view[L::LabelSnimacCmps].background, Colour::Lime);
    EXPECT_EQ(view[L::LabelEeDataErr].visible, true);
    EXPECT_EQ(view[L::LabelOilOk].text, "Oil OK - NO");
    EXPECT_EQ(view[L::LabelOilOk].background, Colour::Red);
    EXPECT_EQ(view[L::LabelMonFan1].text, "Fan 1 - YES");
    EXPECT_EQ(view[L::LabelMonFan2].text, "Fan 2 - YES");
    EXPECT_EQ(view[L::LabelMonBlokOut].text, "Blocking  - YES");
    EXPECT_EQ(view[L::LabelMonBlokOut].background, Colour::Red);
    EXPECT_EQ(view[L::LabelRpm].background, Colour::Fuchsia) << "two of three limiters";

    const MonitorView& quiet = decode(frame.byte(2, 0).byte(3, 0).byte(4, 0b0000'0010));
    EXPECT_EQ(quiet[L::LabelMonRpmLambdaOut].text, "Tacho/Lambda - Lambda");
    EXPECT_EQ(quiet[L::LabelMonRpmLambdaOut].background, Colour::Aqua);
    EXPECT_EQ(quiet[L::LabelSnimacCmps].text, "Pick-up (CMPS) -  no signal");
    EXPECT_EQ(quiet[L::LabelEeDataErr].visible, false);
    EXPECT_EQ(quiet[L::LabelOilOk].background, Colour::ButtonFace);
    EXPECT_EQ(quiet[MonitorEdit::EditIgnLimiter], Colour::Window);
    EXPECT_EQ(quiet[L::LabelRpm].background, Colour::ButtonFace);

    EXPECT_EQ(decode(frame.byte(2, 0b0011'1000))[L::LabelRpm].background, Colour::Red);
}

TEST_F(MonitorPresenterTest, NitrousLabelFollowsTheGasCheckBox) {
    EXPECT_EQ(decode(frame.bit(2, 7, true))[L::LabelN2oOn].visible, false);
    presenter.setOptions({.extendedMonitor = false, .gasTicked = true});
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelN2oOn].visible, true);
    EXPECT_EQ(view[L::LabelN2oOn].text, "N2O  - YES");
    EXPECT_EQ(view[L::LabelN2oOn].background, Colour::Lime);
}

TEST_F(MonitorPresenterTest, EngineSpeedGaugeUsesTheIgnitionLimiterByte) {
    image.setByte(29, 120);
    const MonitorView& view = decode(frame.word(48, 6000));
    EXPECT_EQ(view[L::LabelRpm].text, "RPM = 6000 ");
    EXPECT_EQ(view[G::CGaugeRpm].progress, 50);
    image.setByte(29, 0);
    EXPECT_EQ(decode(frame.word(48, 9000))[G::CGaugeRpm].progress, 50) << "left as it was";
}

TEST_F(MonitorPresenterTest, PressureTextAndFault) {
    frame.word(52, 1013).word(50, 4000);
    EXPECT_EQ(decode(frame)[L::LabelTlak].text, "AP = 101.3 kPa");
    extended();
    EXPECT_EQ(decode(frame)[L::LabelTlak].text, "AP = 101.3 kPa= 4000 mV");
    EXPECT_EQ(presenter.view()[L::LabelTlak].background, Colour::ButtonFace);
    EXPECT_EQ(decode(frame.bit(4, 0, true))[L::LabelTlak].background, Colour::Red);
}

TEST_F(MonitorPresenterTest, CountersCorrectionsAndDiagnostics) {
    frame.word(76, 412).word(100, 1234).word(102, 5).word(104, 1000).word(106, 0);
    frame.word(108, 990).word(110, 1050).word(116, 87).word(120, 456).word(122, 91);
    frame.word(134, 985).word(96, 270).byte(25, 3).word(46, 2500);
    for (std::uint16_t i = 0; i < 8; ++i) frame.word(78 + 2 * i, static_cast<std::uint16_t>(i + 1));
    const MonitorView& view = decode(frame);
    EXPECT_EQ(view[L::LabelPocetProgramovani].text, "Number of Programing = 412");
    EXPECT_EQ(view[L::LabelKorVodaJet].text, "TW correction = 123.4 %");
    EXPECT_EQ(view[L::LabelKorVzduch].text, "AT correction =  0.5 %");
    EXPECT_EQ(view[L::LabelKorTlak].text, "AP correction = 100.0 %");
    EXPECT_EQ(view[L::LabelKorSytic].text, "Starting corr. =  0.0 %");
    EXPECT_EQ(view[L::LabelKorNapeti].text, "U correction = -10 us");
    EXPECT_EQ(view[L::LabelKorVodaIgn].text, "TW correction =  5.0 °");
    EXPECT_EQ(view[L::LabelMonSpeed].text, "Speed = 87 [km/h]");
    EXPECT_EQ(view[L::LabelMonPomerRpmSpeed].text, "Rpm/Speed = 45.6 ");
    EXPECT_EQ(view[L::LabelMonPomerRpmSpeedAuto1].text, " 9.1 ");
    EXPECT_EQ(view[L::LabelIdleKorAdv].text, "Idle correction = -1.5 °");
    EXPECT_EQ(view[L::LabelMon_PolohaA].text, "Position = 270 °");
    EXPECT_EQ(view[L::LabelGear].text, "Gear = 3 ");
    EXPECT_EQ(view[L::LabelMonPinEngine14In].text, "Pin engine 14 = 2500 mV");
    EXPECT_EQ(view[L::LabelMonPinEngine14In].background, Colour::ButtonFace);
    EXPECT_EQ(view[L::LabelTest1].text, "Test1= 1");
    EXPECT_EQ(view[L::LabelTest3].text, "Test3= 3 ");
    EXPECT_EQ(view[L::LabelTest4].text, "Test4=4");
    EXPECT_EQ(view[L::LabelTest8].text, "Test8= 8");
    EXPECT_EQ(decoder.live().speedRatio, 456);
    EXPECT_EQ(decoder.live().gear, 3);
}

TEST_F(MonitorPresenterTest, VersionLabel) {
    const MonitorView& same = decode(frame);
    EXPECT_EQ(same[L::LabelVersion].text, "");
    EXPECT_EQ(same[L::LabelVersion].background, Colour::White);
    EXPECT_EQ(decoder.live().unitVersion, 63);
    const MonitorView& other = decode(frame.byte(150, 61));
    EXPECT_EQ(decoder.live().unitVersion, 61);
    EXPECT_EQ(other[L::LabelVersion].text,
              "Unmatched version of PC and Ignition programs!  PC-63, IGN-61");
    EXPECT_EQ(other[L::LabelVersion].background, Colour::Red);
}

TEST_F(MonitorPresenterTest, WordsFollowTheCurrentLanguage) {
    messages.apply(i18n::Language::German);
    const MonitorView& view = decode(frame.byte(10, 15).byte(11, 15).byte(27, 1));
    EXPECT_EQ(view[L::LabelMon_Ign].text, "Vorzündung = 15 °");
    EXPECT_EQ(view[L::LabelMonPilotLight].text, "Schaltblitz - Blinken");
    EXPECT_EQ(view[L::LabelVoda].text, "Kühlflüssigkeit= 80 °C");
}

TEST_F(MonitorPresenterTest, DamagedOrShortAnswersChangeNothing) {
    decode(frame.word(48, 3000));
    const LiveValues live = decoder.live();
    const std::string rpmText = presenter.view()[L::LabelRpm].text;

    LinkFrame damaged = frame.word(48, 7000).frame();
    damaged.bytes()[48] ^= 0x01;
    EXPECT_FALSE(offer(damaged.bytes()));
    const LinkFrame intact = frame.frame();
    EXPECT_FALSE(offer(std::span<const std::uint8_t>(intact.bytes()).first(100)));
    EXPECT_EQ(decoder.live(), live);
    EXPECT_EQ(presenter.view()[L::LabelRpm].text, rpmText);
    EXPECT_EQ(decoder.framesDecoded(), 1u);
}

TEST_F(MonitorPresenterTest, NoConnectionPlaceholdersFillTheirLabels) {
    MonitorView& view = presenter.view();
    applyNoConnectionPlaceholders(view, messages);
    EXPECT_EQ(view[L::LabelMon_Ign].text, "Advance= --- [°]");
    EXPECT_EQ(view[L::LabelMonBlokOut].text, "Blocking  - ---");
    EXPECT_EQ(view[L::LabelMonTlStartOut].text, "Switch start - ---");
    messages.apply(i18n::Language::Czech);
    applyNoConnectionPlaceholders(view, messages);
    EXPECT_EQ(view[L::LabelMonFan2].text, "Větrák 2 - ---");
    EXPECT_TRUE(view[L::LabelRpm].text.empty()) << "labels without a placeholder are left alone";
}

TEST(MonitorView, ControlNamesRoundTrip) {
    for (std::size_t i = 0; i < kMonitorLabelCount; ++i) {
        const auto label = static_cast<MonitorLabel>(i);
        EXPECT_EQ(findMonitorLabel(controlName(label)), label);
    }
    EXPECT_EQ(controlName(MonitorGauge::CGaugeDuty), "CGaugeDuty");
    EXPECT_EQ(controlName(MonitorEdit::EditRetardLimiterRpm), "EditRetardLimiterRpm");
    EXPECT_FALSE(findMonitorLabel("LabelNothing"));
}

}  // namespace
}  // namespace zelvor::editing
