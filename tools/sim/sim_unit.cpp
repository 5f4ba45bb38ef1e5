#include "sim/sim_unit.h"

#include "sim/engine_model.h"

namespace zelvor::sim {

namespace {

using link::LinkFrame;
using std::chrono::milliseconds;

constexpr std::uint8_t kCommandGroup = 0xC0;
constexpr std::uint8_t kBlockBits = 0x3F;
constexpr int kInfoBlock = 0;

}  // namespace

SimUnit::SimUnit(BlockStore store, UnitIdentity identity, FaultPlan faults)
    : store_(std::move(store)), identity_(std::move(identity)), faults_(std::move(faults)) {}

std::uint16_t SimUnit::savingCount(milliseconds now) const {
    if (!lastProgrammed_ || now < *lastProgrammed_) return lastProgrammed_ ? kFullSave : 0;
    const auto elapsed = now - *lastProgrammed_;
    if (elapsed >= kSaveDuration) return 0;
    const auto left = kFullSave - kFullSave * elapsed.count() / kSaveDuration.count();
    return static_cast<std::uint16_t>(left);
}

UnitStatus SimUnit::status(milliseconds now) const {
    return UnitStatus{programmingCount_, savingCount(now), identity_.version};
}

EngineState SimUnit::engineAt(milliseconds now) const {
    const model::ParameterImage& image = store_.image();
    const auto at = [&](milliseconds moment) {
        return engine_.sweep ? engine_.sweep->engineAt(moment, image)
                             : simulateEngine(moment, image);
    };
    EngineState engine = at(now);
    if (engine_.probe && engine.running) {
        // The gas at the probe left the cylinder a moment ago.
        const EngineState burnt = at(now - LambdaProbe::kTransportDelay);
        engine.lambdaMv = burnt.running ? engine_.probe->voltage(now, image, burnt.rpm,
                                                                 burnt.throttlePermille / 10.0)
                                        : 0;
    }
    return engine;
}

UnitReply SimUnit::handle(const LinkFrame& request, milliseconds now) {
    UnitReply reply;
    if (!request.checkOk()) return reply;
    const std::optional<Answer> answer = answerTo(request, now);
    if (!answer) return reply;
    reply.imageChanged = answer->programmedBlock != 0;
    reply.bytes = faults_.shape(answer->frame, ++answers_, answer->programmedBlock);
    return reply;
}

std::optional<SimUnit::Answer> SimUnit::answerTo(const LinkFrame& request, milliseconds now) {
    const std::uint8_t command = request.command();
    const int block = command & kBlockBits;
    const std::uint8_t answerCommand = command ^ LinkFrame::kAnswerBit;

    if (command == LinkFrame::kMonitorPoll) {
        inProgrammingSession_ = false;
        const EngineState engine = engineAt(now);
        return Answer{encodeMonitorFrame(engine, status(now))};
    }
    const std::uint8_t group = command & kCommandGroup;
    if ((group != LinkFrame::kProgramBlock && group != LinkFrame::kReadBlock) ||
        block > BlockStore::kLastBlock) {
        return std::nullopt;  // not a command of this unit
    }
    if (block == kInfoBlock) {
        // The program step for block 0 only asks who the unit is.
        if (group == LinkFrame::kReadBlock) inProgrammingSession_ = false;
        return Answer{LinkFrame::make(answerCommand, makeInfoBlock(identity_))};
    }
    if (group == LinkFrame::kProgramBlock) return program(block, request, now);
    inProgrammingSession_ = false;
    return Answer{LinkFrame::make(answerCommand, store_.block(block))};
}

SimUnit::Answer SimUnit::program(int block, const LinkFrame& request, milliseconds now) {
    store_.store(block, request.data());
    // Blocks programmed one after another are one session, however many.
    if (!inProgrammingSession_) ++programmingCount_;
    inProgrammingSession_ = true;
    lastProgrammed_ = now;
    const auto answerCommand = static_cast<std::uint8_t>(block | LinkFrame::kAnswerBit);
    return Answer{LinkFrame::make(answerCommand, store_.block(block)), block};
}

}  // namespace zelvor::sim
