// Cost of the link work that runs in every 55 ms tick.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "i18n/messages.h"
#include "link/link_frame.h"
#include "link/monitor_decoder.h"
#include "link/operating_point.h"
#include "link/transfer_engine.h"
#include "model/parameter_image.h"

namespace {

using namespace zelvor;

class DiscardingSink : public link::FrameSink {
  public:
    void send(const link::LinkFrame& frame) override {
        benchmark::DoNotOptimize(frame.bytes()[151]);
    }
};

link::LinkFrame busyMonitorFrame() {
    std::array<std::uint8_t, link::LinkFrame::kDataSize> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 29 + 7);
    data[23 - 1] = 180;  // coolant 80 C
    data[24 - 1] = 120;  // air 20 C
    data[150 - 1] = 63;  // same program version
    return link::LinkFrame::make(link::LinkFrame::kMonitorAnswer, data);
}

void BM_DecodeMonitorFrame(benchmark::State& state) {
    model::ParameterImage image;
    image.setByte(29, 120);
    const i18n::MessageTable messages;
    link::MonitorDecoder decoder(image, messages);
    decoder.setOptions({.extendedMonitor = state.range(0) != 0, .gasTicked = true});
    const link::LinkFrame frame = busyMonitorFrame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(decoder.decode(frame.bytes()));
    }
}
BENCHMARK(BM_DecodeMonitorFrame)->Arg(0)->Arg(1)->ArgName("extended");

// Idle ticks: the monitor poll every 6th tick, the saving display, the
// countdown and the watchdog.
void BM_EngineTickIdle(benchmark::State& state) {
    model::ParameterImage image;
    const i18n::MessageTable messages;
    DiscardingSink sink;
    link::TransferEngine engine(image, sink, messages);
    engine.setSavingCount(1000);
    for (auto _ : state) engine.tick();
}
BENCHMARK(BM_EngineTickIdle);

// Ticks of a Program that gets no answers: block frames resent every 6th
// tick; the transfer is restarted whenever it fails.
void BM_EngineTickProgramming(benchmark::State& state) {
    model::ParameterImage image;
    const i18n::MessageTable messages;
    DiscardingSink sink;
    link::TransferEngine engine(image, sink, messages);
    for (auto _ : state) {
        if (engine.state() == link::TransferState::Idle) {
            for (int n = 1; n <= 9; ++n) engine.setBlockFlag(n);
            engine.startProgramming();
        }
        engine.tick();
    }
}
BENCHMARK(BM_EngineTickProgramming);

void BM_HighlightMapPage(benchmark::State& state) {
    model::ParameterImage image;
    for (std::size_t i = 0; i < 15; ++i) image.set(model::Field::RPM_ADV_Rpm, i, 10 * (i + 1));
    link::LiveValues live;
    live.engineSpeed = 6300;
    live.throttlePercent = 23;
    for (auto _ : state) {
        benchmark::DoNotOptimize(link::highlightLivePoint(link::page::kAdvanceMap, live, image));
    }
}
BENCHMARK(BM_HighlightMapPage);

}  // namespace

BENCHMARK_MAIN();
