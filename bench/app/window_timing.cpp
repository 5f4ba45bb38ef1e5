// Timing of the window: start-up until the window is first shown, and the cost
// of one 55 ms tick (median and worst), split into ticks that decode a
// monitor answer and ticks that do not. Runs against the simulated unit.
//   zelvor-window-timing [TICKS]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "editing/widgets/pages.h"

using namespace zelvor;

namespace {

// Boxes would wait for a click: the timing program prints them instead.
class PrintedDialogs final : public app::Dialogs {
  public:
    void message(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
    QString openParameterFile(const QString&, const QString&) override { return {}; }
    QString saveParameterFile(const QString&, const QString&) override { return {}; }
};

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
    QApplication application(argc, argv);
    widgets::applyApplicationLook();
    const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QTemporaryDir folder;

    std::vector<double> startups;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        app::TFormHlav window(app::StartOptions{}, app::SettingsPaths{folder.path().toStdString()},
                              std::make_unique<PrintedDialogs>());
        window.show();
        QApplication::processEvents();
        startups.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        window.tickTimer().stop();
    }
    const Stats start = statsOf(startups);
    std::printf("start-up to first shown window: median %.1f ms, worst %.1f ms (%zu runs)\n",
                start.median, start.worst, start.count);

    app::StartOptions options;
    options.simulate = true;
    app::TFormHlav window(options, app::SettingsPaths{folder.path().toStdString()},
                          std::make_unique<PrintedDialogs>());
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
    return 0;
}
