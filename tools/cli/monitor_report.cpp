#include "cli/monitor_report.h"

#include <cstdlib>

namespace zelvor::cli {

namespace {

using link::MonitorLabel;

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

// value / 10^decimals with exactly that many decimals.
std::string decimalText(long long value, int decimals) {
    if (decimals <= 0) return std::to_string(value);
    long long scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const long long magnitude = std::llabs(value);
    std::string fraction = std::to_string(magnitude % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return (value < 0 ? "-" : "") + std::to_string(magnitude / scale) + "." + fraction;
}

}  // namespace

std::string cellText(const MonitorColumn& column, const link::LinkFrame& frame) {
    const auto& bytes = frame.bytes();
    const int stored = column.word ? frame.word(column.offset) : bytes[column.offset];
    const SensorFault& fault = column.fault;
    if (stored <= fault.atOrBelow ||
        (fault.flagMask != 0 && (bytes[fault.flagOffset] & fault.flagMask) != 0)) {
        return std::string(fault.shown);
    }
    long long value = static_cast<long long>(stored) * column.factor + column.bias;
    if (column.digitOffset != 0) value += bytes[column.digitOffset];
    return decimalText(value, column.decimals);
}

std::string csvHeader() {
    std::string header = "elapsed_s";
    for (const MonitorColumn& column : kMonitorColumns) {
        header += ',';
        header += column.name;
    }
    return header;
}

std::string csvRow(const link::LinkFrame& frame, std::chrono::milliseconds elapsed) {
    std::string row = decimalText(elapsed.count(), 3);
    for (const MonitorColumn& column : kMonitorColumns) {
        row += ',';
        row += cellText(column, frame);
    }
    return row;
}

std::string monitorLine(const link::MonitorView& view, const link::LiveValues& live,
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
