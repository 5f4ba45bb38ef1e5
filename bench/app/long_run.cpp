// A long run of the window against the simulated unit: live values for
// minutes with a ride being recorded and the map page on show, so the lit
// cell moves. Prints the memory the process holds after the first minute and
// at the end, and the slowest ticks. Not a test: it takes as long as it says.
//   zelvor-long-run [SECONDS] [plain]   (default 600; plain: no recording)
#include <malloc.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/open_ride_log.h"
#include "editing/page_index.h"
#include "editing/widgets/pages.h"
#include "window_bench.h"

using namespace zelvor;

namespace {

// A figure of /proc/self/status in kB ("VmRSS", "RssAnon", "RssFile").
long statusKb(const char* name) {
    std::ifstream status("/proc/self/status");
    const std::string key = std::string(name) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + key.size());
    }
    return -1;
}

// The memory the process holds: the heap in use (what it allocated and did
// not free), in kB. The resident set also counts pages of libraries and
// fonts the first paints touch and pages the allocator keeps for reuse.
long heapKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

long residentKb() {
    return statusKb("VmRSS");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("PATH", QByteArray(ZELVOR_SIM_FOLDER ":") + qgetenv("PATH"));
    QApplication application(argc, argv);
    widgets::applyApplicationLook();
    const int seconds = argc > 1 ? std::max(70, std::atoi(argv[1])) : 600;
    QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toUtf8());

    app::StartOptions options;
    options.simulate = true;
    app::TFormHlav window(options, app::SettingsPaths{folder.path().toStdString()},
                          std::make_unique<bench::PrintedDialogs>());
    window.show();
    window.pageControl()->setCurrentIndex(editing::kPageAdvance + 1);
    // The window's own timer gives way to one that times each tick.
    window.tickTimer().stop();
    QTimer ticks;
    ticks.setInterval(window.tickTimer().interval());
    ticks.setTimerType(Qt::PreciseTimer);
    std::vector<double> costs;
    std::vector<double> cpuCosts;  // the thread's own processor time
    costs.reserve(static_cast<std::size_t>(seconds) * 20);
    cpuCosts.reserve(static_cast<std::size_t>(seconds) * 20);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = bench::threadCpuMs();
        window.Timer1Timer();
        costs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        cpuCosts.push_back(bench::threadCpuMs() - cpuBefore);
    });
    ticks.start();
    const bool record = !(argc > 2 && std::string(argv[2]) == "plain");
    if (record) QTimer::singleShot(2000, [&] { window.LogRecordClick(); });

    // A run without live values would measure an idle window: it stops
    // with an error when the simulated unit has not answered after 5 s.
    QTimer::singleShot(5000, [&] {
        if (window.unitLink().monitor().framesDecoded() > 0) return;
        std::fprintf(stderr, "long run: the simulated unit gives no live values\n");
        QApplication::exit(1);
    });

    long afterMinuteKb = 0;
    long afterMinuteRssKb = 0;
    std::size_t ticksInFirstMinute = 0;
    QTimer::singleShot(60'000, [&] {
        afterMinuteKb = heapKb();
        afterMinuteRssKb = residentKb();
        ticksInFirstMinute = costs.size();
    });
    // The memory every minute, to tell a steady climb from a settling.
    QTimer minutes;
    minutes.setInterval(60'000);
    int minute = 0;
    QObject::connect(&minutes, &QTimer::timeout, [&] {
        std::printf(
            "minute %d: heap %ld kB, resident %ld kB (anonymous %ld, files %ld), %zu rows\n",
            ++minute, heapKb(), residentKb(), statusKb("RssAnon"), statusKb("RssFile"),
            window.rideLog().rowCount());
        std::fflush(stdout);
    });
    minutes.start();
    QTimer::singleShot(seconds * 1000, [&] { QApplication::quit(); });
    if (QApplication::exec() != 0) return 1;

    const long endKb = heapKb();
    const long endRssKb = residentKb();
    const std::size_t rows = window.rideLog().rowCount();
    if (record) window.LogRecordClick();
    std::vector<double> sorted = costs;
    std::sort(sorted.begin(), sorted.end());
    const auto at = [&](double share) {
        return sorted.empty() ? 0.0
                              : sorted[std::min(sorted.size() - 1,
                                                static_cast<std::size_t>(share * sorted.size()))];
    };
    const long over10 =
        std::count_if(costs.begin(), costs.end(), [](double c) { return c > 10.0; });
    std::printf("long run: %d s, %zu ticks, %zu rows recorded (%.1f a second)\n", seconds,
                costs.size(), rows, static_cast<double>(rows) / (seconds - 2));
    std::printf(
        "heap in use: %ld kB after the first minute, %ld kB at the end: %+ld kB   "
        "(target within 2048 kB)\n",
        afterMinuteKb, endKb, endKb - afterMinuteKb);
    std::printf("resident set: %ld kB after the first minute, %ld kB at the end: %+ld kB\n",
                afterMinuteRssKb, endRssKb, endRssKb - afterMinuteRssKb);
    std::printf(
        "ticks: median %.3f ms, 99.9 %% %.3f ms, slowest %.3f ms, %ld over 10 ms   "
        "(target none over 10 ms)\n",
        at(0.5), at(0.999), sorted.empty() ? 0.0 : sorted.back(), over10);
    std::printf("ticks after the first minute: %zu\n", costs.size() - ticksInFirstMinute);
    // A tick slow by the clock but not by the processor waited for the
    // machine (another program, the disk), not for the window's own work.
    const double slowestCpu =
        cpuCosts.empty() ? 0.0 : *std::max_element(cpuCosts.begin(), cpuCosts.end());
    const long cpuOver10 =
        std::count_if(cpuCosts.begin(), cpuCosts.end(), [](double c) { return c > 10.0; });
    std::printf("ticks by processor time: slowest %.3f ms, %ld over 10 ms\n", slowestCpu,
                cpuOver10);
    return 0;
}
