#include "link/unit_link.h"

#include <algorithm>
#include <span>

namespace zelvor::link {

UnitLink::UnitLink(model::ParameterImage& image, SerialPort& port)
    : port_(port), sink_(port), engine_(image, sink_), receiveBuffer_(kMaxBatch) {}

TransferOutcome UnitLink::tick() {
    TransferOutcome outcome = pollReceive();
    outcome |= engine_.tick();
    return outcome;
}

TransferOutcome UnitLink::pollReceive() {
    const std::size_t queued = port_.queuedBytes();
    if (queued < LinkFrame::kSize) return {};
    const std::size_t wanted = std::min(queued, kMaxBatch);
    const std::size_t got = port_.read(std::span<std::uint8_t>(receiveBuffer_.data(), wanted));
    if (got < LinkFrame::kSize) return {};  // the port lost bytes it had counted

    const std::span<const std::uint8_t> batch(receiveBuffer_.data(), got);
    if (batch[0] == LinkFrame::kMonitorAnswer) {
        if (decoder_.decode(batch)) {
            engine_.noteAcceptedAnswer();
            engine_.setSavingCount(decoder_.live().savingCount);
        }
        return {};
    }
    return engine_.handleAnswer(batch);
}

}  // namespace zelvor::link
