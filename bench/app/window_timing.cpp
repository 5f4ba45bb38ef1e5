// Timing of the window: start-up until the window is first shown, the cost
// of one 55 ms tick (median and worst), split into ticks that decode a
// monitor answer and ticks that do not, against the simulated unit; then the
// map pages: a refresh (150 cells filled), a page change between two map
// pages, and a tick on a map page while the live cell moves every tick.
//   zelvor-window-timing [TICKS]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "editing/widgets/pages.h"
#include "link/link_frame.h"
#include "link/monitor_channels.h"
#include "link/unit_identification.h"
#include "window_bench.h"

using namespace zelvor;

namespace {

// Boxes would wait for a click: the timing program prints them instead.
struct Stats {
    double median = 0;
    double worst = 0;
    std::size_t count = 0;
};

Stats statsOf(std::vector<double> values) {
    Stats s;
    s.count = values.size();
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    s.median = values[values.size() / 2];
    s.worst = values.back();
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("PATH", QByteArray(ZELVOR_SIM_FOLDER ":") + qgetenv("PATH"));
    QApplication application(argc, argv);
    widgets::applyApplicationLook();
    const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QTemporaryDir folder;

    std::vector<double> startups;
    std::vector<double> startupsCpu;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = bench::threadCpuMs();
        app::TFormHlav window(app::StartOptions{}, app::SettingsPaths{folder.path().toStdString()},
                              std::make_unique<bench::PrintedDialogs>());
        window.show();
        QApplication::processEvents();
        startups.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        startupsCpu.push_back(bench::threadCpuMs() - cpuBefore);
        window.tickTimer().stop();
    }
    const Stats start = statsOf(startups);
    const Stats startCpu = statsOf(startupsCpu);
    std::printf(
        "start-up to first shown window: median %.1f ms, worst %.1f ms (%zu runs); "
        "processor time median %.1f ms\n",
        start.median, start.worst, start.count, startCpu.median);

    app::StartOptions options;
    options.simulate = true;
    app::TFormHlav window(options, app::SettingsPaths{folder.path().toStdString()},
                          std::make_unique<bench::PrintedDialogs>());
    window.show();
    window.tickTimer().stop();
    window.pageControl()->setCurrentIndex(11);  // the monitor page: most labels change
    std::vector<double> withAnswer;
    std::vector<double> without;
    QElapsedTimer pacing;
    pacing.start();
    for (int i = 0; i < ticks; ++i) {
        const auto before = window.unitLink().monitor().framesDecoded();
        QElapsedTimer clock;
        clock.start();
        window.Timer1Timer();
        QApplication::processEvents();  // the repaint the tick caused
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        (window.unitLink().monitor().framesDecoded() != before ? withAnswer : without)
            .push_back(ms);
        const qint64 next = static_cast<qint64>(i + 1) * 55;
        const qint64 wait = next - pacing.elapsed();
        if (wait > 0) QThread::msleep(static_cast<unsigned long>(wait));
    }
    const Stats answer = statsOf(withAnswer);
    const Stats idle = statsOf(without);
    std::printf(
        "tick with a monitor answer (incl. repaint): median %.3f ms, worst %.3f ms (%zu ticks)\n",
        answer.median, answer.worst, answer.count);
    std::printf(
        "tick without an answer (incl. repaint):     median %.3f ms, worst %.3f ms (%zu ticks)\n",
        idle.median, idle.worst, idle.count);
    std::printf(
        "tick budget: 55 ms; a monitor poll send blocks about 26 ms of it on a real line\n");
    window.close();

    // The map pages, without a unit: the live values come from answers
    // handed to the decoder, one per tick.
    app::TFormHlav maps(app::StartOptions{}, app::SettingsPaths{folder.path().toStdString()},
                        std::make_unique<bench::PrintedDialogs>());
    maps.show();
    maps.tickTimer().stop();
    QApplication::processEvents();
    const char* pageNames[] = {"", "advance", "injection 1", "injection 2"};
    for (int page = 1; page <= 3; ++page) {
        maps.pageControl()->setCurrentIndex(page);
        QApplication::processEvents();
        std::vector<double> refreshes;
        std::vector<double> painted;
        for (int i = 0; i < 50; ++i) {
            // Every cell changes, so every cell is written and repainted.
            maps.image().set(model::Field::JET1_MISC_Jet123Mode, 0);
            for (std::size_t k = 0; k < 150; ++k) {
                maps.image().set(model::Field::ADVANCE_Cell, k, (k + i) % 60);
                maps.image().set(model::Field::JET_1A_Cell, k, 1000 + 10 * ((k + i) % 50));
                maps.image().set(model::Field::JET_2A_Cell, k, 1000 + 10 * ((k + i) % 50));
            }
            QElapsedTimer clock;
            clock.start();
            maps.pageView().refresh();
            refreshes.push_back(bench::elapsedMs(clock));
            QApplication::processEvents();
            painted.push_back(bench::elapsedMs(clock));
        }
        const Stats refresh = statsOf(refreshes);
        const Stats withPaint = statsOf(painted);
        std::printf(
            "map page refresh, %s (150 cells changed): median %.3f ms, worst %.3f ms; "
            "with repaint median %.3f ms, worst %.3f ms\n",
            pageNames[page], refresh.median, refresh.worst, withPaint.median, withPaint.worst);
    }

    std::vector<double> pageChanges;
    std::vector<double> pageSwitches;
    std::vector<double> pageChangesCpu;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = bench::threadCpuMs();
        maps.pageControl()->setCurrentIndex(i % 2 == 0 ? 1 : 2);
        pageSwitches.push_back(bench::elapsedMs(clock));
        QApplication::processEvents();
        pageChanges.push_back(bench::elapsedMs(clock));
        pageChangesCpu.push_back(bench::threadCpuMs() - cpuBefore);
    }
    const Stats change = statsOf(pageChanges);
    const Stats switched = statsOf(pageSwitches);
    const Stats changeCpu = statsOf(pageChangesCpu);
    std::printf(
        "page change between map pages (incl. repaint): median %.3f ms, worst %.3f ms "
        "(before the repaint: median %.3f ms); processor time median %.3f ms, worst %.3f ms\n",
        change.median, change.worst, switched.median, changeCpu.median, changeCpu.worst);

    for (int page = 1; page <= 2; ++page) {
        maps.pageControl()->setCurrentIndex(page);
        QApplication::processEvents();
        std::vector<double> moving;
        std::vector<double> movingCpu;
        for (int i = 0; i < ticks; ++i) {
            // The engine sweeps the axis and the throttle its rows: the lit
            // cell moves at every tick.
            const int rpm = 1000 + (i * 373) % 11000;
            const int throttle = (i * 7) % 101;
            maps.unitLink().monitor().decode(bench::monitorAnswer(rpm, throttle).bytes());
            QElapsedTimer clock;
            clock.start();
            const double cpuBefore = bench::threadCpuMs();
            maps.Timer1Timer();
            QApplication::processEvents();
            moving.push_back(bench::elapsedMs(clock));
            movingCpu.push_back(bench::threadCpuMs() - cpuBefore);
        }
        const Stats tick = statsOf(moving);
        const Stats tickCpu = statsOf(movingCpu);
        std::printf(
            "tick on the %s page with the live cell moving (incl. repaint): median %.3f ms, "
            "worst %.3f ms (%zu ticks); processor time median %.3f ms, worst %.3f ms\n",
            pageNames[page], tick.median, tick.worst, tick.count, tickCpu.median, tickCpu.worst);
    }
    maps.close();
    return 0;
}
