#include "editing/monitor_view.h"

#include <algorithm>

namespace zelvor::editing {
namespace {

#define ZELVOR_NAME(name) #name,
constexpr std::array<std::string_view, kMonitorLabelCount> kLabelNames{
    ZELVOR_MONITOR_LABELS(ZELVOR_NAME)};
constexpr std::array<std::string_view, kMonitorGaugeCount> kGaugeNames{
    ZELVOR_MONITOR_GAUGES(ZELVOR_NAME)};
constexpr std::array<std::string_view, kMonitorEditCount> kEditNames{
    ZELVOR_MONITOR_EDITS(ZELVOR_NAME)};
#undef ZELVOR_NAME

}  // namespace

std::string_view controlName(MonitorLabel label) {
    return kLabelNames[static_cast<std::size_t>(label)];
}

std::string_view controlName(MonitorGauge gauge) {
    return kGaugeNames[static_cast<std::size_t>(gauge)];
}

std::string_view controlName(MonitorEdit edit) {
    return kEditNames[static_cast<std::size_t>(edit)];
}

std::optional<MonitorLabel> findMonitorLabel(std::string_view name) {
    const auto it = std::find(kLabelNames.begin(), kLabelNames.end(), name);
    if (it == kLabelNames.end()) return std::nullopt;
    return static_cast<MonitorLabel>(it - kLabelNames.begin());
}

void applyNoConnectionPlaceholders(MonitorView& view, const i18n::MessageTable& messages) {
    for (auto& [name, text] : i18n::noConnectionTexts(messages)) {
        if (const auto label = findMonitorLabel(name)) view[*label].text = std::move(text);
    }
}

}  // namespace zelvor::editing
