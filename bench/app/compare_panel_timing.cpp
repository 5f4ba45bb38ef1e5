// Timing of the compare panel following an edit: the compare, the list
// built anew when the differences changed, the marks of the map cells and
// the count of changes not in the unit, as the window runs them after every
// change. Prints median and worst in microseconds.
//   zelvor-compare-panel-timing [ROUNDS]
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/compare_overlay.h"
#include "app/compare_panel.h"
#include "compare/image_compare.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/sanitizer.h"

using namespace zelvor;
using model::Field;

namespace {

struct Figures {
    double median;
    double worst;
};

Figures follow(app::ComparePanel& panel, app::CompareOverlay& overlay,
               const model::ParameterImage& unit, const model::ParameterImage& a,
               const model::ParameterImage& b, int rounds) {
    std::vector<double> times;
    std::size_t sink = 0;
    for (int i = 0; i < rounds; ++i) {
        const model::ParameterImage& edited = i % 2 == 0 ? a : b;
        QElapsedTimer timer;
        timer.start();
        panel.follow(edited);
        overlay.show(panel.differences());
        sink += compare::countDifferences(edited, unit);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    if (sink == 0) std::puts("(no drift)");
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void report(const char* what, const Figures& f) {
    std::printf("%-44s median %8.1f us  worst %8.1f us\n", what, f.median, f.worst);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 400;

    model::ParameterImage edited;
    model::loadDefaultSet(edited);
    model::sanitize(edited);
    // A reference that differs in three fields and five cells.
    model::ParameterImage reference = edited;
    reference.set(Field::FAN_Fan1, edited.get(Field::FAN_Fan1) + 5);
    reference.set(Field::IDLE_IdleMaxAdv, edited.get(Field::IDLE_IdleMaxAdv) + 2);
    reference.set(Field::CLUTCH_ClutchJet, edited.get(Field::CLUTCH_ClutchJet) + 1);
    for (const std::size_t k : {0u, 16u, 47u, 90u, 149u}) {
        reference.set(Field::JET_1A_Cell, k, edited.get(Field::JET_1A_Cell, k) + 250);
    }
    // An edit: one more field differs, then it is undone.
    model::ParameterImage editedAgain = edited;
    editedAgain.set(Field::GEAR_PocetGear, edited.get(Field::GEAR_PocetGear) == 6 ? 5 : 6);
    model::ParameterImage unit = edited;
    unit.set(Field::FAN_Fan2, edited.get(Field::FAN_Fan2) + 1);

    app::ComparePanel panel(nullptr, [](int page) { return QStringLiteral("Page %1").arg(page); });
    app::CompareOverlay overlay;
    panel.setReference(reference, QStringLiteral("reference.ign"));
    panel.show();
    panel.follow(edited);

    std::printf("the refresh after an edit, %d rounds (target: within 1000 us)\n", rounds);
    report("8 rows, every edit changes the list",
           follow(panel, overlay, unit, edited, editedAgain, rounds));
    report("8 rows, an edit elsewhere (list stays)",
           follow(panel, overlay, unit, edited, edited, rounds));

    // Against a tune of another bike: every map cell differs.
    model::ParameterImage far = reference;
    for (std::size_t k = 0; k < 150; ++k) {
        far.set(Field::ADVANCE_Cell, k, (edited.get(Field::ADVANCE_Cell, k) + 1) % 60);
        far.set(Field::JET_1A_Cell, k, edited.get(Field::JET_1A_Cell, k) + 7);
        far.set(Field::JET_2A_Cell, k, edited.get(Field::JET_2A_Cell, k) + 9);
    }
    panel.setReference(far, QStringLiteral("far.ign"));
    panel.follow(edited);
    report("458 rows, every edit changes the list",
           follow(panel, overlay, unit, edited, editedAgain, rounds / 4));
    report("458 rows, an edit elsewhere (list stays)",
           follow(panel, overlay, unit, edited, edited, rounds / 4));
    return 0;
}
