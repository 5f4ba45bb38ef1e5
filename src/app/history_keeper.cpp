#include "app/history_keeper.h"

#include <QTimer>

#include "history/snapshot_keeping.h"

namespace zelvor::app {

HistoryKeeper::HistoryKeeper(Report report, QObject* parent)
    : QObject(parent), report_(std::move(report)) {}

void HistoryKeeper::keep(history::Event event, const QString& file, const QString& unit,
                         const model::ParameterImage& image) {
    queue_.push_back({event, file.toStdString(), unit.toStdString(), image});
    if (queue_.size() == 1) QTimer::singleShot(0, this, &HistoryKeeper::writeNext);
}

void HistoryKeeper::writeNext() {
    if (queue_.empty()) return;
    const Pending pending = std::move(queue_.front());
    queue_.pop_front();
    write(pending);
    if (!queue_.empty()) QTimer::singleShot(0, this, &HistoryKeeper::writeNext);
}

void HistoryKeeper::flush() {
    while (!queue_.empty()) {
        const Pending pending = std::move(queue_.front());
        queue_.pop_front();
        write(pending);
    }
}

void HistoryKeeper::write(const Pending& pending) {
    const history::SnapshotStore::Added added =
        history::keepSnapshot(pending.event, pending.file, pending.unit, pending.image);
    if (added.snapshot) {
        failing_ = false;
        return;
    }
    // One note while the history stays unwritable, not one per event.
    if (failing_) return;
    failing_ = true;
    if (report_) report_(QString::fromStdString(added.error));
}

}  // namespace zelvor::app
