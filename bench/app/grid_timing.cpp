// Timing of the map cell grid: painting the whole grid (plain and shaded)
// and a live-cell move, which repaints only the old and the new cell. Prints
// median and worst in microseconds and the area a live-cell move repaints.
//   zelvor-grid-timing [ROUNDS]
#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "editing/widgets/map_cell_grid.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

using namespace zelvor;

namespace {

// Records what each paint event covers.
class PaintWatch : public QObject {
  public:
    int paints = 0;
    int rects = 0;
    long long area = 0;

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRegion& region = static_cast<QPaintEvent*>(event)->region();
            ++paints;
            for (const QRect& r : region) {
                ++rects;
                area += static_cast<long long>(r.width()) * r.height();
            }
        }
        return false;
    }
};

void report(const char* what, std::vector<double> micros) {
    std::sort(micros.begin(), micros.end());
    std::printf("%-44s median %8.1f us, worst %8.1f us (%zu rounds)\n", what,
                micros[micros.size() / 2], micros.back(), micros.size());
}

std::vector<double> timed(int rounds, const std::function<void(int)>& step) {
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(rounds));
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        step(i);
        micros.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e3);
    }
    return micros;
}

}  // namespace

int main(int argc, char** argv) {
    // Without a display the figures come from the virtual one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;

    model::ParameterImage image;
    model::InjectionScaling scaling;
    model::loadDefaultSet(image, scaling);
    model::sanitize(image);

    widgets::MapCellGrid grid;
    grid.showMap(editing::MapId::Jet1A, image);
    grid.show();
    QApplication::processEvents();

    report("whole grid repaint", timed(rounds, [&](int) { grid.repaint(); }));
    grid.setShading(true);
    QApplication::processEvents();
    report("whole grid repaint, shaded", timed(rounds, [&](int) { grid.repaint(); }));
    grid.setMsDisplay(true);
    QApplication::processEvents();
    report("whole grid repaint, shaded, ms", timed(rounds, [&](int) { grid.repaint(); }));
    grid.setShading(false);
    grid.setMsDisplay(false);
    QApplication::processEvents();

    PaintWatch watch;
    grid.installEventFilter(&watch);
    const auto moves = timed(rounds, [&](int i) {
        // The engine wanders over the map: a new cell every round.
        grid.setLiveCell(editing::GridCell{(i / 15) % 10, i % 15});
        QApplication::processEvents();
    });
    report("live-cell move (set + repaint)", moves);
    std::printf(
        "live-cell move repainted %d times, %.1f rectangles and %.0f px per move "
        "(one cell is %d px)\n",
        watch.paints, static_cast<double>(watch.rects) / rounds,
        static_cast<double>(watch.area) / rounds,
        grid.cellRect({0, 0}).width() * grid.cellRect({0, 0}).height());
    return 0;
}
