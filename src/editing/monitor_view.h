#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editing/colour.h"
#include "i18n/messages.h"

namespace zelvor::editing {

// The controls the monitor display writes, named exactly like the window's
// widgets so that the window can find them by name.
#define ZELVOR_MONITOR_LABELS(X)  \
    X(LabelMonTlStartIn)          \
    X(LabelMonClutchIn)           \
    X(LabelMonNeutral)            \
    X(LabelMonSideStand)          \
    X(LabelMonStartLimiterIn)     \
    X(LabelMonClutchMasterIn)     \
    X(LabelMonRpmLambdaIn)        \
    X(LabelMonPinEngine23In)      \
    X(LabelMonPinBody11In)        \
    X(LabelMonTlStartOut)         \
    X(LabelMonStartLimiterOut)    \
    X(LabelMonIgnLimiter)         \
    X(LabelMonJetLimiter)         \
    X(LabelMonRetardLimiter)      \
    X(LabelMonRpmLambdaOut)       \
    X(LabelN2oOn)                 \
    X(LabelMonClutchOut)          \
    X(LabelSnimacCmps)            \
    X(LabelEeDataErr)             \
    X(LabelOilOk)                 \
    X(LabelMonLambdaHeat)         \
    X(LabelMonFan1)               \
    X(LabelMonFan2)               \
    X(LabelMonBlokOut)            \
    X(LabelVersion)               \
    X(LabelMon_Ign1)              \
    X(LabelMon_Ign2)              \
    X(LabelMon_Ign)               \
    X(LabelMon_Jet_1A)            \
    X(LabelMon_Jet_2A)            \
    X(LabelMon_Jet_A)             \
    X(LabelMaxInjProcent)         \
    X(LabelGear)                  \
    X(LabelMonPilotLight)         \
    X(LabelMonFuelMv)             \
    X(LabelMonPinEngine14In)      \
    X(LabelRpm)                   \
    X(LabelTlak)                  \
    X(LabelTpsMon)                \
    X(LabelLambda)                \
    X(LabelVoda)                  \
    X(LabelVzduch)                \
    X(LabelNapeti)                \
    X(LabelPocetProgramovani)     \
    X(LabelTest1)                 \
    X(LabelTest2)                 \
    X(LabelTest3)                 \
    X(LabelTest4)                 \
    X(LabelTest5)                 \
    X(LabelTest6)                 \
    X(LabelTest7)                 \
    X(LabelTest8)                 \
    X(LabelMon_PolohaA)           \
    X(LabelKorVodaJet)            \
    X(LabelKorVzduch)             \
    X(LabelKorTlak)               \
    X(LabelKorSytic)              \
    X(LabelKorNapeti)             \
    X(LabelKorVodaIgn)            \
    X(LabelMonSpeed)              \
    X(LabelMonPomerRpmSpeed)      \
    X(LabelMonPomerRpmSpeedAuto1) \
    X(LabelMonPomerRpmSpeedAuto2) \
    X(LabelMonPomerRpmSpeedAuto3) \
    X(LabelMonPomerRpmSpeedAuto4) \
    X(LabelMonPomerRpmSpeedAuto5) \
    X(LabelMonPomerRpmSpeedAuto6) \
    X(LabelIdleKorAdv)

#define ZELVOR_MONITOR_GAUGES(X) \
    X(CGaugeDuty) X(CGaugeFuel) X(CGaugeRpm) X(CGaugeTps) X(CGaugeLambda) X(CGaugeVoda)

#define ZELVOR_MONITOR_EDITS(X) \
    X(EditStartLimiter) X(EditIgnLimiter) X(EditJetLimiter) X(EditRetardLimiterRpm)

#define ZELVOR_ENUMERATOR(name) name,
#define ZELVOR_COUNT_ONE(name) +1
enum class MonitorLabel : std::uint8_t { ZELVOR_MONITOR_LABELS(ZELVOR_ENUMERATOR) };
enum class MonitorGauge : std::uint8_t { ZELVOR_MONITOR_GAUGES(ZELVOR_ENUMERATOR) };
enum class MonitorEdit : std::uint8_t { ZELVOR_MONITOR_EDITS(ZELVOR_ENUMERATOR) };
inline constexpr std::size_t kMonitorLabelCount = 0 ZELVOR_MONITOR_LABELS(ZELVOR_COUNT_ONE);
inline constexpr std::size_t kMonitorGaugeCount = 0 ZELVOR_MONITOR_GAUGES(ZELVOR_COUNT_ONE);
inline constexpr std::size_t kMonitorEditCount = 0 ZELVOR_MONITOR_EDITS(ZELVOR_COUNT_ONE);
#undef ZELVOR_COUNT_ONE
#undef ZELVOR_ENUMERATOR

std::string_view controlName(MonitorLabel label);
std::string_view controlName(MonitorGauge gauge);
std::string_view controlName(MonitorEdit edit);
std::optional<MonitorLabel> findMonitorLabel(std::string_view name);

// What the display wants a label to look like. Visibility is given only for
// the labels whose visibility the monitor rules; the others keep theirs.
struct LabelView {
    std::string text;
    Colour background = Colour::ButtonFace;
    std::optional<bool> visible;

    friend bool operator==(const LabelView&, const LabelView&) = default;
};

// A bar gauge: progress as computed (it may fall outside 0..100; the widget
// limits it) and a fore colour where the monitor sets one.
struct GaugeView {
    int progress = 0;
    std::optional<Colour> fore;

    friend bool operator==(const GaugeView&, const GaugeView&) = default;
};

// The monitor's picture of every control it writes.
struct MonitorView {
    std::array<LabelView, kMonitorLabelCount> labels{};
    std::array<GaugeView, kMonitorGaugeCount> gauges{};
    std::array<Colour, kMonitorEditCount> edits{Colour::Window, Colour::Window, Colour::Window,
                                                Colour::Window};

    LabelView& operator[](MonitorLabel l) { return labels[static_cast<std::size_t>(l)]; }
    const LabelView& operator[](MonitorLabel l) const {
        return labels[static_cast<std::size_t>(l)];
    }
    GaugeView& operator[](MonitorGauge g) { return gauges[static_cast<std::size_t>(g)]; }
    const GaugeView& operator[](MonitorGauge g) const {
        return gauges[static_cast<std::size_t>(g)];
    }
    Colour& operator[](MonitorEdit e) { return edits[static_cast<std::size_t>(e)]; }
    Colour operator[](MonitorEdit e) const { return edits[static_cast<std::size_t>(e)]; }
};

// Writes the no-connection placeholders ("Advance= --- [°]", ...) of the
// current language into the labels they belong to. The window calls this
// while "No Connection" is shown, at start-up and after a language change.
void applyNoConnectionPlaceholders(MonitorView& view, const i18n::MessageTable& messages);

}  // namespace zelvor::editing
