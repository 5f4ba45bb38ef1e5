// Timing of File > History…: opening the dialog on a history of 1000
// snapshots (listing read through the index, rows shown and painted): the
// first of the process, a new one, the same again, and narrowing the list
// by a unit. Prints median and
// worst in milliseconds.
//   zelvor-history-dialog-timing [ROUNDS]
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/history_dialog.h"
#include "history/snapshot_store.h"
#include "model/atomic_file.h"

using namespace zelvor;
namespace fs = std::filesystem;

namespace {

// A history as 1000 adds over a day of tuning leave it, written directly:
// adding through the store costs tens of milliseconds each.
void fillHistory(const fs::path& folder) {
    fs::create_directories(folder / "images");
    fs::create_directories(folder / "entries");
    model::ParameterImage image;
    for (unsigned i = 1; i <= history::SnapshotStore::kKeep; ++i) {
        image.setByte(i % model::ParameterImage::kSize, static_cast<std::uint8_t>(i / 4));
        const std::string_view bytes(reinterpret_cast<const char*>(image.bytes().data()),
                                     image.bytes().size());
        const std::string key = history::imageKeyOf(bytes);
        (void)model::writeFileAtomically(folder / "images" / (key + ".img"), bytes);
        const history::SnapshotInfo info{
            .number = i,
            .time = 1765300000 + i,
            .event = static_cast<history::Event>(i % 5),
            .file = "/home/tuner/bikes/tune" + std::to_string(i % 7) + ".ign",
            .unit = i % 3 == 0 ? "" : "ZELVOR" + std::to_string(i % 4) + " 25. 2.2025 14:05",
            .imageKey = key};
        (void)model::writeFileAtomically(folder / "entries" / (std::to_string(i) + ".snap"),
                                         history::formatEntry(info));
    }
    // The index, as the first listing writes it.
    history::SnapshotStore(folder).list();
}

void report(const char* what, std::vector<double> millis) {
    std::sort(millis.begin(), millis.end());
    std::printf("%-52s median %7.1f ms, worst %7.1f ms (%zu rounds)\n", what,
                millis[millis.size() / 2], millis.back(), millis.size());
}

std::vector<double> timed(int rounds, const std::function<void()>& step) {
    std::vector<double> millis;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        step();
        millis.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return millis;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const fs::path data =
        fs::temp_directory_path() / ("zelvor-history-dialog-timing-" + std::to_string(::getpid()));
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    fillHistory(history::SnapshotStore::defaultFolder());

    std::size_t rows = 0;
    const auto open = [&](app::HistoryDialog& dialog) {
        dialog.reload();
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
        rows = static_cast<std::size_t>(dialog.model().rowCount());
    };
    // The first widget of a process also pays Qt's own start (fonts, style),
    // which the program has paid with its main window.
    report("opening, the first dialog of the process", timed(1, [&] {
               app::HistoryDialog dialog({});
               open(dialog);
           }));
    report("opening, a new dialog", timed(rounds, [&] {
               app::HistoryDialog dialog({});
               open(dialog);
           }));
    app::HistoryDialog dialog({});
    report("opening again", timed(rounds, [&] {
               dialog.hide();
               open(dialog);
           }));
    report("narrowing by a unit and back", timed(rounds, [&] {
               dialog.unitFilter()->setText(QStringLiteral("zelvor2"));
               dialog.list()->repaint();
               dialog.unitFilter()->clear();
               dialog.list()->repaint();
           }));
    std::printf("rows listed: %zu\n", rows);
    fs::remove_all(data);
    return rows == history::SnapshotStore::kKeep ? 0 : 1;
}
