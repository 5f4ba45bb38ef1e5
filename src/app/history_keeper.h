#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>

#include "history/snapshot.h"
#include "model/parameter_image.h"

namespace zelvor::app {

// Keeps the window's snapshots in the history. Writing one costs tens of
// milliseconds, so a snapshot asked for inside a handler or a tick is only
// queued and written once the event loop is back, one per pass; a close
// writes what is queued at once. A history that cannot be written never
// stops the tuner: the problem goes to the report function, once until a
// snapshot is kept again.
class HistoryKeeper : public QObject {
    Q_OBJECT
  public:
    using Report = std::function<void(const QString& problem)>;

    explicit HistoryKeeper(Report report, QObject* parent = nullptr);

    // file: the parameter file's path, empty when there is none; unit: the
    // unit's identification, empty when no unit was talked to.
    void keep(history::Event event, const QString& file, const QString& unit,
              const model::ParameterImage& image);
    // Writes every queued snapshot now.
    void flush();
    bool idle() const { return queue_.empty(); }

  private:
    struct Pending {
        history::Event event;
        std::string file;
        std::string unit;
        model::ParameterImage image;
    };
    void writeNext();
    void write(const Pending& pending);

    Report report_;
    std::deque<Pending> queue_;
    bool failing_ = false;
};

}  // namespace zelvor::app
