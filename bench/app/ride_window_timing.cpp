// Timing of ride logs in the window: what a recording adds to a 55 ms tick
// (ticks with a monitor answer, with and without recording), then opening a
// log of 130 000 rows (two hours at 18 rows a second) in the log view, and
// redrawing its charts while panning over the whole log and a short range.
//   zelvor-ride-window-timing [ROWS]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "editing/widgets/pages.h"
#include "link/link_frame.h"
#include "link/monitor_channels.h"
#include "link/unit_identification.h"
#include "logview/log_view.h"
#include "window_bench.h"

using namespace zelvor;

namespace {

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Ticks of the window, each with a new monitor answer; the median cost.
double tickCost(app::TFormHlav& window, int ticks) {
    std::vector<double> costs;
    for (int i = 0; i < ticks; ++i) {
        window.unitLink().monitor().decode(
            bench::monitorAnswer(1000 + (i * 373) % 11000, (i * 7) % 101, 100 + (i * 37) % 800, 190)
                .bytes());
        QElapsedTimer clock;
        clock.start();
        window.Timer1Timer();
        costs.push_back(bench::elapsedMs(clock));
    }
    return median(costs);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    widgets::applyApplicationLook();
    const long rows = argc > 1 ? std::max(10L, std::atol(argv[1])) : 130'000L;
    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toUtf8());

    app::TFormHlav window(app::StartOptions{}, app::SettingsPaths{folder.path().toStdString()},
                          std::make_unique<bench::PrintedDialogs>());
    window.show();
    window.tickTimer().stop();
    window.pageControl()->setCurrentIndex(2);  // a map page: the lit cell moves
    QApplication::processEvents();
    constexpr int kTicks = 2000;
    tickCost(window, 200);  // warm up
    const double plain = tickCost(window, kTicks);
    window.LogRecordClick();
    const double recording = tickCost(window, kTicks);
    const long long recorded = static_cast<long long>(window.rideLog().rowCount());
    window.LogRecordClick();
    std::printf("tick with a monitor answer, not recording: median %.4f ms\n", plain);
    std::printf("tick with a monitor answer, recording:     median %.4f ms (%lld rows)\n",
                recording, recorded);
    std::printf("recording adds to a tick:                  %.4f ms   (target <= 0.1 ms)\n",
                recording - plain);

    // A long log: the engine sweeps its range, the probe switches.
    const QString path = folder.filePath(QStringLiteral("long.csv"));
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << datalog::logHeader() << "\n";
        datalog::LogRow row;
        for (long i = 0; i < rows; ++i) {
            row.timeMs = i * 55;
            const double phase = static_cast<double>(i);
            row.values[static_cast<std::size_t>(link::MonitorChannel::EngineSpeed)] =
                static_cast<std::int32_t>(6000 + 5000 * std::sin(phase / 700.0));
            row.values[static_cast<std::size_t>(link::MonitorChannel::Throttle)] =
                static_cast<std::int32_t>(500 + 490 * std::sin(phase / 300.0));
            row.values[static_cast<std::size_t>(link::MonitorChannel::Lambda)] =
                (i / 7) % 2 == 0 ? 120 + static_cast<int>(i % 13) : 820 - static_cast<int>(i % 11);
            row.values[static_cast<std::size_t>(link::MonitorChannel::Coolant)] =
                static_cast<std::int32_t>(std::min(90L, 20 + i / 100));
            row.values[static_cast<std::size_t>(link::MonitorChannel::Injection1)] =
                static_cast<std::int32_t>(2500 + 1500 * std::sin(phase / 300.0));
            row.marker = i % 20'000 == 0 ? "lap" : "";
            out << datalog::logLine(row) << "\n";
        }
    }

    QElapsedTimer clock;
    clock.start();
    const datalog::LogReadResult alone = datalog::readRideLog(path.toStdString());
    std::printf("reading the log file alone: %.1f ms%s\n", bench::elapsedMs(clock),
                alone.log ? "" : " (refused)");
    clock.start();
    const std::clock_t cpu = std::clock();
    const bool opened = window.openRideLogFile(path);
    QApplication::processEvents();  // laid out and painted
    const double openMs = bench::elapsedMs(clock);
    const double openCpuMs = static_cast<double>(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
    if (!opened || window.logView() == nullptr) return 1;
    logview::LogView& view = *window.logView();
    std::printf(
        "opening a log of %ld rows in the log view: %.1f ms wall, %.1f ms cpu   (target <= 1000 "
        "ms)\n",
        rows, openMs, openCpuMs);

    const auto redraws = [&](double span, const char* what) {
        std::vector<double> costs;
        const double first = view.visibleFrom();
        for (int i = 0; i < 40; ++i) {
            const double from = first + i * span / 20.0;
            QElapsedTimer c;
            c.start();
            view.setVisibleRange(from, from + span);
            QApplication::processEvents();  // the repaint
            costs.push_back(bench::elapsedMs(c));
        }
        std::printf("redraw while panning, %s (5 charts, incl. repaint): median %.2f ms\n", what,
                    median(costs));
    };
    view.setVisibleRange(0, static_cast<double>(rows) * 0.055);
    redraws(static_cast<double>(rows) * 0.055, "whole log");
    view.setVisibleRange(0, 120);
    redraws(120.0, "two minutes");
    return 0;
}
