// Cost of the link work that runs in every 55 ms tick.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "editing/live_highlight.h"
#include "editing/monitor_presenter.h"
#include "editing/page_index.h"
#include "i18n/messages.h"
#include "link/link_frame.h"
#include "link/monitor_decoder.h"
#include "link/transfer_engine.h"
#include "link/unit_identification.h"
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
    using link::channelSpec;
    using link::MonitorChannel;
    std::array<std::uint8_t, link::LinkFrame::kDataSize> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 29 + 7);
    link::LinkFrame frame = link::LinkFrame::make(link::LinkFrame::kMonitorAnswer, data);
    frame.bytes()[channelSpec(MonitorChannel::Coolant).offset] = 180;  // 80 C
    frame.bytes()[channelSpec(MonitorChannel::Air).offset] = 120;      // 20 C
    frame.bytes()[channelSpec(MonitorChannel::UnitVersion).offset] = link::kProgramVersion;
    frame.seal();
    return frame;
}

// The link's part: check byte, every channel and flag, the live values.
void BM_DecodeMonitorFrame(benchmark::State& state) {
    link::MonitorDecoder decoder;
    const link::LinkFrame frame = busyMonitorFrame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(decoder.decode(frame.bytes()));
    }
}
BENCHMARK(BM_DecodeMonitorFrame);

// What a window tick does with a monitor answer: decode it and put every
// label, gauge and limiter edit of the monitor into words and colours.
void BM_DecodeAndPresentMonitorFrame(benchmark::State& state) {
    model::ParameterImage image;
    image.set(model::Field::LIMITER_IgnLimiter, 120);
    const i18n::MessageTable messages;
    link::MonitorDecoder decoder;
    editing::MonitorPresenter presenter(image, messages);
    presenter.setOptions({.extendedMonitor = state.range(0) != 0, .gasTicked = true});
    const link::LinkFrame frame = busyMonitorFrame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(decoder.decode(frame.bytes()));
        presenter.present(decoder);
        benchmark::DoNotOptimize(presenter.view());
    }
}
BENCHMARK(BM_DecodeAndPresentMonitorFrame)->Arg(0)->Arg(1)->ArgName("extended");

// Idle ticks: the monitor poll every 6th tick, the saving display, the
// countdown and the watchdog.
void BM_EngineTickIdle(benchmark::State& state) {
    model::ParameterImage image;
    DiscardingSink sink;
    link::TransferEngine engine(image, sink);
    engine.setSavingCount(1000);
    for (auto _ : state) engine.tick();
}
BENCHMARK(BM_EngineTickIdle);

// Ticks of a Program that gets no answers: block frames resent every 6th
// tick; the transfer is restarted whenever it fails.
void BM_EngineTickProgramming(benchmark::State& state) {
    model::ParameterImage image;
    DiscardingSink sink;
    link::TransferEngine engine(image, sink);
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
        benchmark::DoNotOptimize(editing::highlightLivePoint(editing::kPageAdvance, live, image));
    }
}
BENCHMARK(BM_HighlightMapPage);

}  // namespace

BENCHMARK_MAIN();
