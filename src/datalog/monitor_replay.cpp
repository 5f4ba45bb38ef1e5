#include "datalog/monitor_replay.h"

#include <algorithm>

#include "link/monitor_channels.h"

namespace zelvor::datalog {

namespace {

void putStored(link::LinkFrame& frame, const link::ChannelSpec& spec, std::int32_t stored) {
    const std::int32_t most = spec.width == 2 ? 0xFFFF : 0xFF;
    stored = std::clamp<std::int32_t>(stored, 0, most);
    if (spec.width == 2) {
        frame.setWord(spec.offset, static_cast<std::uint16_t>(stored));
    } else {
        frame.bytes()[spec.offset] = static_cast<std::uint8_t>(stored);
    }
}

// The stored number for a value logged without a fault: the inverse of
// stored * factor + bias (+ fine digit).
void putValue(link::LinkFrame& frame, const link::ChannelSpec& spec, std::int32_t value) {
    std::int32_t rest = value - spec.bias;
    if (spec.fineOffset != 0) {
        const std::int32_t fine = std::clamp(rest % spec.factor, 0, 0xFF);
        frame.bytes()[spec.fineOffset] = static_cast<std::uint8_t>(fine);
        rest -= fine;
    }
    putStored(frame, spec, rest / spec.factor);
}

}  // namespace

link::LinkFrame monitorAnswerOf(const LogRow& row) {
    link::LinkFrame frame;
    frame.bytes()[0] = link::LinkFrame::kMonitorAnswer;
    for (const link::FlagSpec& spec : link::monitorFlags()) {
        const bool active = row.flags[static_cast<std::size_t>(spec.flag)];
        if (active == spec.activeWhenSet) {
            frame.bytes()[spec.offset] |= static_cast<std::uint8_t>(1U << spec.bit);
        }
    }
    for (const link::ChannelSpec& spec : link::monitorChannels()) {
        const auto i = static_cast<std::size_t>(spec.channel);
        if (!row.error[i]) {
            putValue(frame, spec, row.values[i]);
            continue;
        }
        // A reading shown as "error": the fault the unit reports for it.
        const link::FaultRule& rule = spec.fault;
        if (rule.flag) {
            const link::FlagSpec& flag = link::flagSpec(*rule.flag);
            if (flag.activeWhenSet) {
                frame.bytes()[flag.offset] |= static_cast<std::uint8_t>(1U << flag.bit);
            } else {
                frame.bytes()[flag.offset] &= static_cast<std::uint8_t>(~(1U << flag.bit));
            }
        }
        if (rule.atOrBelow) putStored(frame, spec, *rule.atOrBelow);
    }
    frame.seal();
    return frame;
}

}  // namespace zelvor::datalog
