#include "editing/monitor_presenter.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>

#include "editing/transfer_presenter.h"
#include "link/unit_identification.h"

namespace zelvor::editing {

using i18n::MessageKey;
using link::MonitorChannel;
using link::MonitorFlag;
using link::MonitorSample;
using L = MonitorLabel;
using G = MonitorGauge;

namespace {

using Ch = MonitorChannel;

// One input or output shown as "<word><middle><state word>".
struct FlagRule {
    MonitorFlag flag;
    MonitorLabel label;
    std::optional<MessageKey> word;  // leading message word, if any
    const char* middle;              // " - ", " 1 - " or a whole literal prefix
    MessageKey activeState;
    MessageKey inactiveState;
    Colour activeColour;
    Colour inactiveColour;
    std::optional<MonitorEdit> edit;  // limiter edit painted fuchsia while active
};

using K = MessageKey;
using C = Colour;
using E = MonitorEdit;
using F = MonitorFlag;
constexpr auto kNoWord = std::nullopt;
constexpr auto kNoEdit = std::nullopt;

// In table order: inputs (byte 1 and bit 2.0), outputs and limiters (byte 2),
// then the status bits of bytes 3 and 4.
constexpr std::array<FlagRule, 23> kFlagRules{{
    {F::StartSwitchIn, L::LabelMonTlStartIn, K::MsgSwitchStart, " - ", K::MsgYes, K::MsgNo,
     C::White, C::ButtonFace, kNoEdit},
    {F::ClutchIn, L::LabelMonClutchIn, K::MsgClutch, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {F::NeutralIn, L::LabelMonNeutral, K::MsgIdle, " - ", K::MsgYes, K::MsgNo, C::Aqua,
     C::ButtonFace, kNoEdit},
    {F::SideStandIn, L::LabelMonSideStand, K::MsgSideStand, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {F::StartLimiterIn, L::LabelMonStartLimiterIn, K::MsgStartLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, kNoEdit},
    {F::ClutchMasterIn, L::LabelMonClutchMasterIn, K::MsgClutchMaster, " - ", K::MsgYes, K::MsgNo,
     C::Lime, C::ButtonFace, kNoEdit},
    {F::TachoLambdaIn, L::LabelMonRpmLambdaIn, K::MsgTachoLambda, " - ", K::MsgYes, K::MsgNo,
     C::Aqua, C::ButtonFace, kNoEdit},
    {F::PinEngine23In, L::LabelMonPinEngine23In, kNoWord, "Pin engine 23 - ", K::MsgYes, K::MsgNo,
     C::Aqua, C::ButtonFace, kNoEdit},
    {F::PinBody11In, L::LabelMonPinBody11In, kNoWord, "Pin body 11 - ", K::MsgYes, K::MsgNo,
     C::Aqua, C::ButtonFace, kNoEdit},
    {F::StartSwitchOut, L::LabelMonTlStartOut, K::MsgSwitchStart, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, kNoEdit},
    {F::StartLimiterOut, L::LabelMonStartLimiterOut, K::MsgStartLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, E::EditStartLimiter},
    {F::IgnitionLimiter, L::LabelMonIgnLimiter, K::MsgIgnLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, E::EditIgnLimiter},
    {F::InjectionLimiter, L::LabelMonJetLimiter, K::MsgJetLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, E::EditJetLimiter},
    {F::RetardLimiter, L::LabelMonRetardLimiter, K::MsgRetardLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, E::EditRetardLimiterRpm},
    {F::TachoOut, L::LabelMonRpmLambdaOut, K::MsgTachoLambda, " - ", K::MsgTacho, K::MsgLambda,
     C::ButtonFace, C::Aqua, kNoEdit},
    {F::NitrousOut, L::LabelN2oOn, kNoWord, "N2O  - ", K::MsgYes, K::MsgNo, C::Lime, C::ButtonFace,
     kNoEdit},
    {F::ClutchMasterOut, L::LabelMonClutchOut, K::MsgClutchMaster, " - ", K::MsgYes, K::MsgNo,
     C::Red, C::ButtonFace, kNoEdit},
    {F::PickupRunning, L::LabelSnimacCmps, K::MsgPickup, " - ", K::MsgRunning, K::MsgNoSignal,
     C::Lime, C::ButtonFace, kNoEdit},
    {F::OilOk, L::LabelOilOk, K::MsgOilOk, " - ", K::MsgYes, K::MsgNo, C::ButtonFace, C::Red,
     kNoEdit},
    {F::LambdaHeat, L::LabelMonLambdaHeat, K::MsgLambdaHeat, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {F::Fan1, L::LabelMonFan1, K::MsgFan, " 1 - ", K::MsgYes, K::MsgNo, C::Fuchsia, C::ButtonFace,
     kNoEdit},
    {F::Fan2, L::LabelMonFan2, K::MsgFan, " 2 - ", K::MsgYes, K::MsgNo, C::Fuchsia, C::ButtonFace,
     kNoEdit},
    {F::Blocking, L::LabelMonBlokOut, K::MsgBlocking, " - ", K::MsgYes, K::MsgNo, C::Red,
     C::ButtonFace, kNoEdit},
}};

// printf into a string; the formats are the label layouts the tuners know.
__attribute__((format(printf, 1, 2))) std::string formatText(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list sizing;
    va_copy(sizing, args);
    const int length = std::vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

// The labels show their figures in single precision.
float single(const MonitorSample& s, MonitorChannel channel) {
    return static_cast<float>(s.real(channel));
}

Colour supplyColour(int millivolts) {
    if (millivolts >= 17999 || millivolts <= 7000) return Colour::Red;
    if (millivolts >= 14999 || millivolts <= 11000) return Colour::Yellow;
    return Colour::ButtonFace;
}

int lambdaProgress(int millivolts) {
    if (millivolts < 400) return 0;
    if (millivolts > 1000) return 100;
    return (millivolts - 400) / 6;
}

}  // namespace

void MonitorPresenter::present(const link::MonitorDecoder& decoder) {
    const MonitorSample& s = decoder.sample();
    presentFlags(s);
    presentVersion(s);
    presentAdvanceAndInjection(s, decoder.injectorDuty());
    presentGearAndFuel(s);
    presentSpeedAndSensors(s);
    presentTemperaturesAndSupply(s);
    presentCountersAndCorrections(s);
}

void MonitorPresenter::presentFlags(const MonitorSample& s) {
    for (const FlagRule& rule : kFlagRules) {
        const bool active = s.active(rule.flag);
        LabelView& label = view_[rule.label];
        label.text = rule.word ? word(*rule.word) : std::string();
        label.text += rule.middle;
        label.text += word(active ? rule.activeState : rule.inactiveState);
        label.background = active ? rule.activeColour : rule.inactiveColour;
        if (rule.edit) view_[*rule.edit] = active ? Colour::Fuchsia : Colour::Window;
    }
    view_[L::LabelN2oOn].visible = options_.gasTicked;
    view_[L::LabelEeDataErr].visible = s.active(F::DataError);
    view_[L::LabelMonFuelMv].background =
        s.active(F::FuelWarning) ? Colour::Fuchsia : Colour::ButtonFace;
    view_[L::LabelTlak].background = s.fault(Ch::Pressure) ? Colour::Red : Colour::ButtonFace;
}

void MonitorPresenter::presentVersion(const MonitorSample& s) {
    LabelView& label = view_[L::LabelVersion];
    const int version = s.value(Ch::UnitVersion);
    if (version == link::kProgramVersion) {
        label.background = Colour::White;
        label.text.clear();
    } else {
        label.background = Colour::Red;
        label.text = versionMismatchText(messages_, version);
    }
}

void MonitorPresenter::presentAdvanceAndInjection(const MonitorSample& s, int injectorDuty) {
    const char* advance = word(K::MsgAdvance).c_str();
    if (s.active(F::BaseAdvance)) {
        view_[L::LabelMon_Ign1].text = formatText("%s 1= BASE", advance);
        view_[L::LabelMon_Ign2].text = formatText("%s 2= BASE", advance);
        view_[L::LabelMon_Ign].text = formatText("%s = BASE", advance);
    } else {
        const int advance1 = s.value(Ch::Advance1);
        const int advance2 = s.value(Ch::Advance2);
        view_[L::LabelMon_Ign1].text = formatText("%s 1= %2d °", advance, advance1);
        view_[L::LabelMon_Ign2].text = formatText("%s 2= %2d °", advance, advance2);
        view_[L::LabelMon_Ign].text = formatText("%s = %2d °", advance, (advance1 + advance2) / 2);
    }
    view_[L::LabelMon_Ign2].visible = true;

    const char* injection = word(K::MsgInjTime).c_str();
    const int jet1 = s.value(Ch::Injection1);
    const int jet2 = s.value(Ch::Injection2);
    view_[L::LabelMon_Jet_1A].text = formatText("%s 1 = %d us", injection, jet1);
    view_[L::LabelMon_Jet_2A].text = formatText("%s 2 = %d us", injection, jet2);
    view_[L::LabelMon_Jet_2A].visible = true;
    view_[L::LabelMon_Jet_A].text = formatText("%s = %d us", injection, (jet1 + jet2) / 2);

    view_[L::LabelMaxInjProcent].text =
        formatText("%s = %d [%%]", word(K::MsgMaxInj).c_str(), injectorDuty);
    view_[G::CGaugeDuty].fore = injectorDuty <= 100 ? Colour::Blue : Colour::Yellow;
    view_[G::CGaugeDuty].progress = injectorDuty;
}

void MonitorPresenter::presentGearAndFuel(const MonitorSample& s) {
    view_[L::LabelGear].text = formatText("%s = %d ", word(K::MsgGear).c_str(), s.value(Ch::Gear));

    const int light = s.value(Ch::ShiftLight);
    const MessageKey state = light == 0 ? K::MsgNo : light == 2 ? K::MsgYes : K::MsgTwinkle;
    view_[L::LabelMonPilotLight].text = word(K::MsgGearShiftLight) + " - " + word(state);
    view_[L::LabelMonPilotLight].background = light != 0 ? Colour::Fuchsia : Colour::ButtonFace;

    const int fuelMv = s.value(Ch::Fuel);
    view_[L::LabelMonFuelMv].text = formatText("%s = %d mV", word(K::MsgFuel).c_str(), fuelMv);
    view_[G::CGaugeFuel].progress = (fuelMv - 1600) * 100 / 2400;

    const int pin14Mv = s.value(Ch::PinEngine14);
    view_[L::LabelMonPinEngine14In].text = formatText("Pin engine 14 = %d mV", pin14Mv);
    view_[L::LabelMonPinEngine14In].background =
        pin14Mv <= 2000 ? Colour::Aqua : Colour::ButtonFace;
}

void MonitorPresenter::presentSpeedAndSensors(const MonitorSample& s) {
    const bool extended = options_.extendedMonitor;

    // The gauge spans up to the ignition limiter's speed; without one it
    // keeps what it showed.
    const int speed = s.value(Ch::EngineSpeed);
    view_[L::LabelRpm].text = formatText("RPM = %d ", speed);
    if (const int scale = image_.get(model::Field::LIMITER_IgnLimiter); scale != 0) {
        view_[G::CGaugeRpm].progress = speed / scale;
    }
    const int limiters =
        s.active(F::IgnitionLimiter) + s.active(F::InjectionLimiter) + s.active(F::RetardLimiter);
    view_[L::LabelRpm].background = limiters == 0   ? Colour::ButtonFace
                                    : limiters == 3 ? Colour::Red
                                                    : Colour::Fuchsia;

    const float pressure = single(s, Ch::Pressure);
    view_[L::LabelTlak].text =
        extended ? formatText("AP = %4.1f kPa= %d mV", pressure, s.value(Ch::PressureSensor))
                 : formatText("AP = %4.1f kPa", pressure);

    const int throttleMv = s.value(Ch::ThrottleSensor);
    const int throttlePercent = s.stored(Ch::Throttle);
    LabelView& tps = view_[L::LabelTpsMon];
    if (s.fault(Ch::Throttle)) {
        tps.text = formatText("TP = error = %d mV", throttleMv);
        tps.background = Colour::Red;
        view_[G::CGaugeTps].progress = 0;
    } else {
        tps.text = extended ? formatText("TP = %4.1f %%=%d mV", single(s, Ch::Throttle), throttleMv)
                            : formatText("TP = %d %%", throttlePercent);
        tps.background = Colour::ButtonFace;
        view_[G::CGaugeTps].progress = throttlePercent;
    }

    const int lambdaMv = s.value(Ch::Lambda);
    view_[L::LabelLambda].text = formatText("Lambda = %d mV", lambdaMv);
    view_[G::CGaugeLambda].progress = lambdaProgress(lambdaMv);
}

void MonitorPresenter::presentTemperaturesAndSupply(const MonitorSample& s) {
    const bool extended = options_.extendedMonitor;

    const char* coolant = word(K::MsgCoolant).c_str();
    const int coolantMv = s.value(Ch::CoolantSensor);
    const int celsius = s.value(Ch::Coolant);  // a fault shows the unit's replacement
    LabelView& water = view_[L::LabelVoda];
    GaugeView& waterGauge = view_[G::CGaugeVoda];
    if (s.fault(Ch::Coolant)) {
        water.background = Colour::Red;
        waterGauge.fore = Colour::Red;
        water.text = extended ? formatText("%s = error = %d mV", coolant, coolantMv)
                              : formatText("%s = error", coolant);
    } else {
        const bool hot = celsius >= 100;
        water.background = hot ? Colour::Yellow : Colour::ButtonFace;
        waterGauge.fore = hot ? Colour::Yellow : Colour::Aqua;
        water.text = extended ? formatText("%s = %d °C= %d mV", coolant, celsius, coolantMv)
                              : formatText("%s= %d °C", coolant, celsius);
    }
    waterGauge.progress = celsius;

    const int airCelsius = s.shownValue(Ch::Air);
    view_[L::LabelVzduch].background = s.fault(Ch::Air) ? Colour::Red : Colour::ButtonFace;
    view_[L::LabelVzduch].text =
        extended ? formatText("AT = %d °C= %d mV", airCelsius, s.value(Ch::AirSensor))
                 : formatText("AT = %d °C", airCelsius);

    const int supplyMv = s.value(Ch::Supply);  // volts with three decimals
    view_[L::LabelNapeti].text = formatText("U = %4.1f V", single(s, Ch::Supply));
    view_[L::LabelNapeti].background = supplyColour(supplyMv);
}

void MonitorPresenter::presentCountersAndCorrections(const MonitorSample& s) {
    view_[L::LabelPocetProgramovani].text =
        word(K::MsgProgramCount) + std::to_string(s.value(Ch::ProgramCount));

    static constexpr std::array<const char*, 8> kTestFormats{"Test1= %d", "Test2= %d", "Test3= %d ",
                                                             "Test4=%d",  "Test5= %d", "Test6= %d",
                                                             "Test7= %d", "Test8= %d"};
    for (std::size_t i = 0; i < kTestFormats.size(); ++i) {
        const auto label = static_cast<MonitorLabel>(static_cast<std::size_t>(L::LabelTest1) + i);
        const auto channel = static_cast<Ch>(static_cast<std::size_t>(Ch::Test1) + i);
        view_[label].text = formatText(kTestFormats[i], s.value(channel));
    }

    view_[L::LabelMon_PolohaA].text =
        formatText("%s = %d °", word(K::MsgPosition).c_str(), s.value(Ch::Position));

    view_[L::LabelKorVodaJet].text =
        formatText("TW correction = %4.1f %%", single(s, Ch::CoolantInjectionCorrection));
    view_[L::LabelKorVzduch].text =
        formatText("AT correction = %4.1f %%", single(s, Ch::AirInjectionCorrection));
    view_[L::LabelKorTlak].text =
        formatText("AP correction = %4.1f %%", single(s, Ch::PressureInjectionCorrection));
    view_[L::LabelKorSytic].text =
        formatText("Starting corr. = %4.1f %%", single(s, Ch::StartInjectionCorrection));
    view_[L::LabelKorNapeti].text =
        formatText("U correction = %d us", s.value(Ch::SupplyInjectionCorrection));

    view_[L::LabelKorVodaIgn].text =
        formatText("TW correction = %4.1f °", s.real(Ch::CoolantAdvanceCorrection));
    view_[L::LabelMonSpeed].text =
        formatText("%s = %d [km/h]", word(K::MsgSpeed).c_str(), s.value(Ch::RoadSpeed));

    view_[L::LabelMonPomerRpmSpeed].text = formatText("Rpm/Speed = %4.1f ", s.real(Ch::SpeedRatio));
    for (std::size_t i = 0; i < 6; ++i) {
        const auto label =
            static_cast<MonitorLabel>(static_cast<std::size_t>(L::LabelMonPomerRpmSpeedAuto1) + i);
        const auto channel = static_cast<Ch>(static_cast<std::size_t>(Ch::GearRatio1) + i);
        view_[label].text = formatText("%4.1f ", s.real(channel));
    }
    view_[L::LabelIdleKorAdv].text =
        formatText("Idle correction = %4.1f °", s.real(Ch::IdleAdvanceCorrection));
}

}  // namespace zelvor::editing
