#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "history/snapshot.h"
#include "i18n/tool_texts.h"

namespace zelvor::app {

// The snapshots of the history as rows of time, event, unit and file,
// newest first, narrowed to the units whose identification contains the
// filter text (any case).
class HistoryListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Time, Event, Unit, File, ColumnCount };

    explicit HistoryListModel(QObject* parent = nullptr);

    // The listing, newest first.
    void setSnapshots(std::vector<history::SnapshotInfo> snapshots);
    void setUnitFilter(const QString& text);
    // The language of the column titles.
    void setLanguage(i18n::Language language);

    // The snapshot shown in this row; nullptr outside the rows.
    const history::SnapshotInfo* snapshotAt(int row) const;
    // The row showing the snapshot of this number; -1 when it is not shown.
    int rowOf(std::uint64_t number) const;
    // Every unit named in the listing, once each, in the order found.
    QStringList units() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    void select();

    std::vector<history::SnapshotInfo> snapshots_;
    QString filter_;
    // Indices into snapshots_ of the rows shown.
    std::vector<std::size_t> shown_;
    i18n::Language language_ = i18n::Language::English;
};

}  // namespace zelvor::app
