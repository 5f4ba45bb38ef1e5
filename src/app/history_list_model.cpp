#include "app/history_list_model.h"

#include <QFileInfo>
#include <QSet>

#include "editing/widgets/tool_text.h"

namespace zelvor::app {

namespace {

constexpr i18n::ToolText kColumnTitles[] = {
    i18n::ToolText::HistoryColumnTime, i18n::ToolText::HistoryColumnEvent,
    i18n::ToolText::HistoryColumnUnit, i18n::ToolText::HistoryColumnFile};

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

HistoryListModel::HistoryListModel(QObject* parent) : QAbstractTableModel(parent) {}

void HistoryListModel::setSnapshots(std::vector<history::SnapshotInfo> snapshots) {
    beginResetModel();
    snapshots_ = std::move(snapshots);
    select();
    endResetModel();
}

void HistoryListModel::setUnitFilter(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == filter_) return;
    beginResetModel();
    filter_ = trimmed;
    select();
    endResetModel();
}

void HistoryListModel::select() {
    shown_.clear();
    shown_.reserve(snapshots_.size());
    for (std::size_t i = 0; i < snapshots_.size(); ++i) {
        if (filter_.isEmpty() || text(snapshots_[i].unit).contains(filter_, Qt::CaseInsensitive)) {
            shown_.push_back(i);
        }
    }
}

const history::SnapshotInfo* HistoryListModel::snapshotAt(int row) const {
    if (row < 0 || row >= static_cast<int>(shown_.size())) return nullptr;
    return &snapshots_[shown_[static_cast<std::size_t>(row)]];
}

int HistoryListModel::rowOf(std::uint64_t number) const {
    for (std::size_t row = 0; row < shown_.size(); ++row) {
        if (snapshots_[shown_[row]].number == number) return static_cast<int>(row);
    }
    return -1;
}

QStringList HistoryListModel::units() const {
    QStringList units;
    QSet<QString> seen;
    for (const history::SnapshotInfo& s : snapshots_) {
        const QString unit = text(s.unit);
        if (unit.isEmpty() || seen.contains(unit)) continue;
        seen.insert(unit);
        units << unit;
    }
    return units;
}

int HistoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int HistoryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const {
    const history::SnapshotInfo* s = snapshotAt(index.row());
    if (s == nullptr) return {};
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case Time:
                return text(history::timeText(s->time));
            case Event:
                return text(std::string(history::eventName(s->event)));
            case Unit:
                return text(s->unit);
            case File:
                // The name; the full path is the hint.
                return QFileInfo(text(s->file)).fileName();
            default:
                return {};
        }
    }
    // What a narrow column cuts off shows as the hint.
    if (role == Qt::ToolTipRole && index.column() == File && !s->file.empty()) {
        return text(s->file);
    }
    if (role == Qt::ToolTipRole && index.column() == Unit && !s->unit.empty()) {
        return text(s->unit);
    }
    return {};
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= ColumnCount) return {};
    return widgets::qToolText(kColumnTitles[section], language_);
}

void HistoryListModel::setLanguage(i18n::Language language) {
    if (language == language_) return;
    language_ = language;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

}  // namespace zelvor::app
