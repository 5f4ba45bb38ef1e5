#include "cli/monitor_report.h"

#include "datalog/log_format.h"
#include "datalog/log_row.h"

namespace zelvor::cli {

namespace {

using editing::MonitorLabel;

// The labels the one-line view is made of, in reading order.
constexpr std::array<MonitorLabel, 12> kLineLabels = {
    MonitorLabel::LabelRpm,       MonitorLabel::LabelTpsMon,   MonitorLabel::LabelMon_Ign,
    MonitorLabel::LabelMon_Jet_A, MonitorLabel::LabelVoda,     MonitorLabel::LabelVzduch,
    MonitorLabel::LabelTlak,      MonitorLabel::LabelLambda,   MonitorLabel::LabelNapeti,
    MonitorLabel::LabelGear,      MonitorLabel::LabelMonSpeed, MonitorLabel::LabelPocetProgramovani,
};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

}  // namespace

std::string csvHeader() {
    return datalog::logHeader();
}

std::string csvRow(const link::MonitorSample& sample, const link::LiveValues& live,
                   const model::ParameterImage& axes, std::chrono::milliseconds elapsed) {
    return datalog::logLine(datalog::makeLogRow(sample, live, axes, elapsed.count()));
}

std::string monitorLine(const editing::MonitorView& view, const link::LiveValues& live,
                        const i18n::MessageTable& messages) {
    std::string line;
    for (MonitorLabel label : kLineLabels) {
        const std::string_view text = trimmed(view[label].text);
        if (text.empty()) continue;
        if (!line.empty()) line += " | ";
        line += text;
    }
    if (live.savingCount > 0) {
        line += " | " + messages.text(i18n::MessageKey::MsgSaving) + " " +
                std::to_string(live.savingCount);
    }
    return line;
}

}  // namespace zelvor::cli
