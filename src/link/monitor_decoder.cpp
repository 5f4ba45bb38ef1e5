#include "link/monitor_decoder.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>

#include "link/unit_identification.h"

namespace zelvor::link {

using i18n::MessageKey;
using L = MonitorLabel;
using G = MonitorGauge;

namespace {

// Offsets in the monitor answer (byte 0 is the command byte).
namespace at {
constexpr std::size_t kThrottle = 9;
constexpr std::size_t kAdvance1 = 10;
constexpr std::size_t kAdvance2 = 11;
constexpr std::size_t kInjection1 = 14;
constexpr std::size_t kInjection2 = 15;
constexpr std::size_t kCoolant = 23;
constexpr std::size_t kAir = 24;
constexpr std::size_t kGear = 25;
constexpr std::size_t kShiftLight = 27;
constexpr std::size_t kThrottleTenths = 28;
constexpr std::size_t kFuelMv = 44;
constexpr std::size_t kPinEngine14Mv = 46;
constexpr std::size_t kEngineSpeed = 48;
constexpr std::size_t kPressureMv = 50;
constexpr std::size_t kPressure = 52;
constexpr std::size_t kThrottleMv = 56;
constexpr std::size_t kLambdaMv = 58;
constexpr std::size_t kCoolantMv = 60;
constexpr std::size_t kAirMv = 62;
constexpr std::size_t kSupplyMv = 64;
constexpr std::size_t kProgramCount = 76;
constexpr std::size_t kTest1 = 78;
constexpr std::size_t kTimeSinceStart = 94;
constexpr std::size_t kPosition = 96;
constexpr std::size_t kCoolantCorr = 100;
constexpr std::size_t kAirCorr = 102;
constexpr std::size_t kPressureCorr = 104;
constexpr std::size_t kStartCorr = 106;
constexpr std::size_t kSupplyCorr = 108;
constexpr std::size_t kCoolantAdvanceCorr = 110;
constexpr std::size_t kRoadSpeed = 116;
constexpr std::size_t kSpeedRatio = 120;
constexpr std::size_t kGearRatio1 = 122;
constexpr std::size_t kIdleAdvanceCorr = 134;
constexpr std::size_t kSavingCount = 148;
constexpr std::size_t kVersion = 150;
}  // namespace at

// Image byte with the ignition limiter speed (x100 rpm): the full scale of the
// engine speed gauge.
constexpr std::size_t kRpmGaugeScaleOffset = 29;
constexpr std::uint16_t kCoolantFaultReplacement = 180;  // shown as 80 degrees C
constexpr int kAirFaultLimit = 60;                       // raw 60 or less is a fault
constexpr int kAirFaultShown = 50;

// One input or output shown as "<word><middle><state word>".
struct BitRule {
    std::uint8_t byte;
    std::uint8_t bit;
    bool activeWhenSet;
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
constexpr auto kNoWord = std::nullopt;
constexpr auto kNoEdit = std::nullopt;

// In table order: inputs (byte 1 and bit 2.0), outputs and limiters (byte 2),
// then the status bits of bytes 3 and 4.
constexpr std::array<BitRule, 23> kBitRules{{
    {1, 0, false, L::LabelMonTlStartIn, K::MsgSwitchStart, " - ", K::MsgYes, K::MsgNo, C::White,
     C::ButtonFace, kNoEdit},
    {1, 1, false, L::LabelMonClutchIn, K::MsgClutch, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {1, 2, true, L::LabelMonNeutral, K::MsgIdle, " - ", K::MsgYes, K::MsgNo, C::Aqua, C::ButtonFace,
     kNoEdit},
    {1, 3, false, L::LabelMonSideStand, K::MsgSideStand, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {1, 4, false, L::LabelMonStartLimiterIn, K::MsgStartLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, kNoEdit},
    {1, 5, false, L::LabelMonClutchMasterIn, K::MsgClutchMaster, " - ", K::MsgYes, K::MsgNo,
     C::Lime, C::ButtonFace, kNoEdit},
    {1, 6, false, L::LabelMonRpmLambdaIn, K::MsgTachoLambda, " - ", K::MsgYes, K::MsgNo, C::Aqua,
     C::ButtonFace, kNoEdit},
    {1, 7, false, L::LabelMonPinEngine23In, kNoWord, "Pin engine 23 - ", K::MsgYes, K::MsgNo,
     C::Aqua, C::ButtonFace, kNoEdit},
    {2, 0, false, L::LabelMonPinBody11In, kNoWord, "Pin body 11 - ", K::MsgYes, K::MsgNo, C::Aqua,
     C::ButtonFace, kNoEdit},
    {2, 1, true, L::LabelMonTlStartOut, K::MsgSwitchStart, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {2, 2, true, L::LabelMonStartLimiterOut, K::MsgStartLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, E::EditStartLimiter},
    {2, 3, true, L::LabelMonIgnLimiter, K::MsgIgnLimiter, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, E::EditIgnLimiter},
    {2, 4, true, L::LabelMonJetLimiter, K::MsgJetLimiter, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, E::EditJetLimiter},
    {2, 5, true, L::LabelMonRetardLimiter, K::MsgRetardLimiter, " - ", K::MsgYes, K::MsgNo,
     C::Fuchsia, C::ButtonFace, E::EditRetardLimiterRpm},
    {2, 6, true, L::LabelMonRpmLambdaOut, K::MsgTachoLambda, " - ", K::MsgTacho, K::MsgLambda,
     C::ButtonFace, C::Aqua, kNoEdit},
    {2, 7, true, L::LabelN2oOn, kNoWord, "N2O  - ", K::MsgYes, K::MsgNo, C::Lime, C::ButtonFace,
     kNoEdit},
    {3, 0, true, L::LabelMonClutchOut, K::MsgClutchMaster, " - ", K::MsgYes, K::MsgNo, C::Red,
     C::ButtonFace, kNoEdit},
    {3, 5, true, L::LabelSnimacCmps, K::MsgPickup, " - ", K::MsgRunning, K::MsgNoSignal, C::Lime,
     C::ButtonFace, kNoEdit},
    {4, 1, true, L::LabelOilOk, K::MsgOilOk, " - ", K::MsgYes, K::MsgNo, C::ButtonFace, C::Red,
     kNoEdit},
    {4, 2, true, L::LabelMonLambdaHeat, K::MsgLambdaHeat, " - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {4, 3, true, L::LabelMonFan1, K::MsgFan, " 1 - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {4, 4, true, L::LabelMonFan2, K::MsgFan, " 2 - ", K::MsgYes, K::MsgNo, C::Fuchsia,
     C::ButtonFace, kNoEdit},
    {4, 5, true, L::LabelMonBlokOut, K::MsgBlocking, " - ", K::MsgYes, K::MsgNo, C::Red,
     C::ButtonFace, kNoEdit},
}};

bool bitSet(const LinkFrame& f, std::size_t byte, int bit) {
    return (f.bytes()[byte] >> bit) & 1;
}

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

bool MonitorDecoder::decode(std::span<const std::uint8_t> batch) {
    if (batch.size() < LinkFrame::kSize) return false;
    const LinkFrame frame = LinkFrame::fromBytes(
        std::span<const std::uint8_t, LinkFrame::kSize>(batch.first(LinkFrame::kSize)));
    if (!frame.checkOk()) return false;

    // The steps run in this order: the duty figure still needs the engine
    // speed of the previous answer, the temperature texts need the fault flags.
    decodeBits(frame);
    decodeVersion(frame);
    decodeAdvanceAndInjection(frame);
    decodeGearAndFuel(frame);
    decodeSpeedAndSensors(frame);
    decodeTemperaturesAndSupply(frame);
    decodeCountersAndCorrections(frame);
    ++framesDecoded_;
    return true;
}

void MonitorDecoder::decodeBits(const LinkFrame& f) {
    for (const BitRule& rule : kBitRules) {
        const bool active = bitSet(f, rule.byte, rule.bit) == rule.activeWhenSet;
        LabelView& label = view_[rule.label];
        label.text = rule.word ? word(*rule.word) : std::string();
        label.text += rule.middle;
        label.text += word(active ? rule.activeState : rule.inactiveState);
        label.background = active ? rule.activeColour : rule.inactiveColour;
        if (rule.edit) view_[*rule.edit] = active ? Colour::Fuchsia : Colour::Window;
    }
    view_[L::LabelN2oOn].visible = options_.gasTicked;
    view_[L::LabelEeDataErr].visible = bitSet(f, 3, 6);

    live_.ignitionLimiter = bitSet(f, 2, 3);
    live_.injectionLimiter = bitSet(f, 2, 4);
    live_.retardLimiter = bitSet(f, 2, 5);
    live_.baseAdvance = bitSet(f, 3, 3);
    live_.throttleFault = bitSet(f, 3, 7);
    live_.pressureFault = bitSet(f, 4, 0);
    view_[L::LabelMonFuelMv].background = bitSet(f, 4, 6) ? Colour::Fuchsia : Colour::ButtonFace;
    view_[L::LabelTlak].background = live_.pressureFault ? Colour::Red : Colour::ButtonFace;
}

void MonitorDecoder::decodeVersion(const LinkFrame& f) {
    LabelView& label = view_[L::LabelVersion];
    const int version = f.bytes()[at::kVersion];
    live_.unitVersion = f.bytes()[at::kVersion];
    if (version == kProgramVersion) {
        label.background = Colour::White;
        label.text.clear();
    } else {
        label.background = Colour::Red;
        label.text = versionMismatchText(messages_, version);
    }
}

void MonitorDecoder::decodeAdvanceAndInjection(const LinkFrame& f) {
    const auto& b = f.bytes();
    live_.throttlePercent = b[at::kThrottle];

    const char* advance = word(K::MsgAdvance).c_str();
    if (live_.baseAdvance) {
        view_[L::LabelMon_Ign1].text = formatText("%s 1= BASE", advance);
        view_[L::LabelMon_Ign2].text = formatText("%s 2= BASE", advance);
        view_[L::LabelMon_Ign].text = formatText("%s = BASE", advance);
    } else {
        view_[L::LabelMon_Ign1].text = formatText("%s 1= %2d °", advance, b[at::kAdvance1]);
        view_[L::LabelMon_Ign2].text = formatText("%s 2= %2d °", advance, b[at::kAdvance2]);
        view_[L::LabelMon_Ign].text =
            formatText("%s = %2d °", advance, (b[at::kAdvance1] + b[at::kAdvance2]) / 2);
    }
    view_[L::LabelMon_Ign2].visible = true;

    const char* injection = word(K::MsgInjTime).c_str();
    const int jet1 = b[at::kInjection1];
    const int jet2 = b[at::kInjection2];
    view_[L::LabelMon_Jet_1A].text = formatText("%s 1 = %d us", injection, jet1 * 100);
    view_[L::LabelMon_Jet_2A].text = formatText("%s 2 = %d us", injection, jet2 * 100);
    view_[L::LabelMon_Jet_2A].visible = true;
    view_[L::LabelMon_Jet_A].text = formatText("%s = %d us", injection, (jet1 + jet2) * 100 / 2);

    // Duty from the engine speed of the previous answer: this answer's speed
    // is taken further down.
    const int duty = live_.engineSpeed * std::max(jet1, jet2) / 12000;
    view_[L::LabelMaxInjProcent].text =
        formatText("%s = %d [%%]", word(K::MsgMaxInj).c_str(), duty);
    view_[G::CGaugeDuty].fore = duty <= 100 ? Colour::Blue : Colour::Yellow;
    view_[G::CGaugeDuty].progress = duty;
}

void MonitorDecoder::decodeGearAndFuel(const LinkFrame& f) {
    const auto& b = f.bytes();
    live_.coolantRaw = b[at::kCoolant];
    live_.airRaw = b[at::kAir];
    live_.gear = b[at::kGear];
    view_[L::LabelGear].text = formatText("%s = %d ", word(K::MsgGear).c_str(), live_.gear);

    const int light = b[at::kShiftLight];
    const MessageKey state = light == 0 ? K::MsgNo : light == 2 ? K::MsgYes : K::MsgTwinkle;
    view_[L::LabelMonPilotLight].text = word(K::MsgGearShiftLight) + " - " + word(state);
    view_[L::LabelMonPilotLight].background = light != 0 ? Colour::Fuchsia : Colour::ButtonFace;

    const int fuelMv = f.word(at::kFuelMv);
    view_[L::LabelMonFuelMv].text = formatText("%s = %d mV", word(K::MsgFuel).c_str(), fuelMv);
    view_[G::CGaugeFuel].progress = (fuelMv - 1600) * 100 / 2400;

    const int pin14Mv = f.word(at::kPinEngine14Mv);
    view_[L::LabelMonPinEngine14In].text = formatText("Pin engine 14 = %d mV", pin14Mv);
    view_[L::LabelMonPinEngine14In].background =
        pin14Mv <= 2000 ? Colour::Aqua : Colour::ButtonFace;
}

void MonitorDecoder::decodeSpeedAndSensors(const LinkFrame& f) {
    const bool extended = options_.extendedMonitor;

    live_.engineSpeed = f.word(at::kEngineSpeed);
    view_[L::LabelRpm].text = formatText("RPM = %d ", live_.engineSpeed);
    if (const int scale = image_.byte(kRpmGaugeScaleOffset); scale != 0) {
        view_[G::CGaugeRpm].progress = live_.engineSpeed / scale;
    }
    const int limiters = live_.ignitionLimiter + live_.injectionLimiter + live_.retardLimiter;
    view_[L::LabelRpm].background = limiters == 0   ? Colour::ButtonFace
                                    : limiters == 3 ? Colour::Red
                                                    : Colour::Fuchsia;

    const float pressure = static_cast<float>(f.word(at::kPressure) * 0.1);
    view_[L::LabelTlak].text =
        extended ? formatText("AP = %4.1f kPa= %d mV", pressure, f.word(at::kPressureMv))
                 : formatText("AP = %4.1f kPa", pressure);

    live_.throttleSensorMv = f.word(at::kThrottleMv);
    LabelView& tps = view_[L::LabelTpsMon];
    if (live_.throttleFault) {
        tps.text = formatText("TP = error = %d mV", live_.throttleSensorMv);
        tps.background = Colour::Red;
        view_[G::CGaugeTps].progress = 0;
    } else {
        const float throttle = static_cast<float>(live_.throttlePercent +
                                                  (f.bytes()[at::kThrottleTenths] + 0.005) * 0.1);
        tps.text = extended ? formatText("TP = %4.1f %%=%d mV", throttle, live_.throttleSensorMv)
                            : formatText("TP = %d %%", live_.throttlePercent);
        tps.background = Colour::ButtonFace;
        view_[G::CGaugeTps].progress = live_.throttlePercent;
    }

    const int lambdaMv = f.word(at::kLambdaMv);
    view_[L::LabelLambda].text = formatText("Lambda = %d mV", lambdaMv);
    view_[G::CGaugeLambda].progress = lambdaProgress(lambdaMv);
}

void MonitorDecoder::decodeTemperaturesAndSupply(const LinkFrame& f) {
    const bool extended = options_.extendedMonitor;

    const char* coolant = word(K::MsgCoolant).c_str();
    const int coolantMv = f.word(at::kCoolantMv);
    LabelView& water = view_[L::LabelVoda];
    GaugeView& waterGauge = view_[G::CGaugeVoda];
    if (live_.coolantRaw == 0) {
        water.background = Colour::Red;
        waterGauge.fore = Colour::Red;
        live_.coolantRaw = kCoolantFaultReplacement;
        water.text = extended ? formatText("%s = error = %d mV", coolant, coolantMv)
                              : formatText("%s = error", coolant);
    } else {
        const bool hot = live_.coolantRaw >= 200;
        water.background = hot ? Colour::Yellow : Colour::ButtonFace;
        waterGauge.fore = hot ? Colour::Yellow : Colour::Aqua;
        const int celsius = live_.coolantRaw - 100;
        water.text = extended ? formatText("%s = %d °C= %d mV", coolant, celsius, coolantMv)
                              : formatText("%s= %d °C", coolant, celsius);
    }
    waterGauge.progress = live_.coolantRaw - 100;

    const bool airFault = live_.airRaw <= kAirFaultLimit;
    const int airCelsius = airFault ? kAirFaultShown : live_.airRaw - 100;
    view_[L::LabelVzduch].background = airFault ? Colour::Red : Colour::ButtonFace;
    view_[L::LabelVzduch].text =
        extended ? formatText("AT = %d °C= %d mV", airCelsius, f.word(at::kAirMv))
                 : formatText("AT = %d °C", airCelsius);

    const int supplyMv = f.word(at::kSupplyMv);
    view_[L::LabelNapeti].text = formatText("U = %4.1f V", static_cast<float>(supplyMv * 0.001));
    view_[L::LabelNapeti].background = supplyColour(supplyMv);
}

void MonitorDecoder::decodeCountersAndCorrections(const LinkFrame& f) {
    view_[L::LabelPocetProgramovani].text =
        word(K::MsgProgramCount) + std::to_string(f.word(at::kProgramCount));

    static constexpr std::array<const char*, 8> kTestFormats{"Test1= %d", "Test2= %d", "Test3= %d ",
                                                             "Test4=%d",  "Test5= %d", "Test6= %d",
                                                             "Test7= %d", "Test8= %d"};
    for (std::size_t i = 0; i < kTestFormats.size(); ++i) {
        const auto label = static_cast<MonitorLabel>(static_cast<std::size_t>(L::LabelTest1) + i);
        view_[label].text = formatText(kTestFormats[i], f.word(at::kTest1 + 2 * i));
    }

    live_.timeSinceStart = f.word(at::kTimeSinceStart);
    view_[L::LabelMon_PolohaA].text =
        formatText("%s = %d °", word(K::MsgPosition).c_str(), f.word(at::kPosition));

    auto tenths = [&f](std::size_t offset) { return static_cast<float>(f.word(offset) * 0.1); };
    view_[L::LabelKorVodaJet].text =
        formatText("TW correction = %4.1f %%", tenths(at::kCoolantCorr));
    view_[L::LabelKorVzduch].text = formatText("AT correction = %4.1f %%", tenths(at::kAirCorr));
    view_[L::LabelKorTlak].text = formatText("AP correction = %4.1f %%", tenths(at::kPressureCorr));
    view_[L::LabelKorSytic].text = formatText("Starting corr. = %4.1f %%", tenths(at::kStartCorr));
    view_[L::LabelKorNapeti].text =
        formatText("U correction = %d us", f.word(at::kSupplyCorr) - 1000);

    live_.savingCount = f.word(at::kSavingCount);
    view_[L::LabelKorVodaIgn].text =
        formatText("TW correction = %4.1f °", f.word(at::kCoolantAdvanceCorr) * 0.1 - 100);
    view_[L::LabelMonSpeed].text =
        formatText("%s = %d [km/h]", word(K::MsgSpeed).c_str(), f.word(at::kRoadSpeed));

    live_.speedRatio = f.word(at::kSpeedRatio);
    view_[L::LabelMonPomerRpmSpeed].text = formatText("Rpm/Speed = %4.1f ", live_.speedRatio * 0.1);
    for (std::size_t i = 0; i < 6; ++i) {
        const auto label =
            static_cast<MonitorLabel>(static_cast<std::size_t>(L::LabelMonPomerRpmSpeedAuto1) + i);
        view_[label].text = formatText("%4.1f ", f.word(at::kGearRatio1 + 2 * i) * 0.1);
    }
    view_[L::LabelIdleKorAdv].text =
        formatText("Idle correction = %4.1f °", (f.word(at::kIdleAdvanceCorr) - 1000) * 0.1);
}

}  // namespace zelvor::link
