#include "link/unit_link.h"

#include <algorithm>
#include <span>
#include <utility>

namespace zelvor::link {

UnitLink::UnitLink(model::ParameterImage& image, SerialPort& port,
                   const i18n::MessageTable& messages, TransferHooks hooks)
    : port_(port),
      sink_(port),
      engine_(image, sink_, messages, std::move(hooks)),
      decoder_(image, messages),
      receiveBuffer_(kMaxBatch) {}

void UnitLink::tick() {
    pollReceive();
    engine_.tick();
}

void UnitLink::pollReceive() {
    const std::size_t queued = port_.queuedBytes();
    if (queued < LinkFrame::kSize) return;
    const std::size_t wanted = std::min(queued, kMaxBatch);
    const std::size_t got = port_.read(std::span<std::uint8_t>(receiveBuffer_.data(), wanted));
    if (got < LinkFrame::kSize) return;  // the port lost bytes it had counted

    const std::span<const std::uint8_t> batch(receiveBuffer_.data(), got);
    if (batch[0] == LinkFrame::kMonitorAnswer) {
        if (decoder_.decode(batch)) {
            engine_.noteAcceptedAnswer();
            engine_.setSavingCount(decoder_.live().savingCount);
        }
    } else {
        engine_.handleAnswer(batch);
    }
}

}  // namespace zelvor::link
