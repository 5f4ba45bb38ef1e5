#include "app/history_dialog.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "editing/widgets/tool_text.h"
#include "history/snapshot_export.h"

namespace zelvor::app {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

HistoryDialog::HistoryDialog(Actions actions, QWidget* parent)
    : QDialog(parent),
      actions_(std::move(actions)),
      store_(history::SnapshotStore::defaultFolder()),
      model_(this) {
    setObjectName(QStringLiteral("HistoryDialog"));
    resize(760, 440);

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("HistoryUnitFilter"));
    filter_->setClearButtonEnabled(true);
    filterLabel_ = new QLabel(this);
    filterLabel_->setBuddy(filter_);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel_);
    filterRow->addWidget(filter_, 1);

    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("HistoryList"));
    list_->setModel(&model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(HistoryListModel::Time, 150);
    list_->setColumnWidth(HistoryListModel::Event, 70);
    list_->setColumnWidth(HistoryListModel::Unit, 220);

    problems_ = new QListWidget(this);
    problems_->setObjectName(QStringLiteral("HistoryProblems"));
    problems_->setMaximumHeight(70);
    problems_->setFocusPolicy(Qt::NoFocus);
    problems_->hide();
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("HistoryNote"));
    note_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    restore_->setObjectName(QStringLiteral("HistoryRestore"));
    compare_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    compare_->setObjectName(QStringLiteral("HistoryCompare"));
    compare_->hide();
    export_ = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    export_->setObjectName(QStringLiteral("HistoryExport"));
    close_ = buttons->addButton(QDialogButtonBox::Close);
    close_->setObjectName(QStringLiteral("HistoryClose"));
    // Enter restores wherever the focus is; no other button takes it.
    for (QPushButton* b : {restore_, compare_, export_, close_}) b->setAutoDefault(false);
    restore_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(list_, 1);
    layout->addWidget(problems_);
    layout->addWidget(note_);
    layout->addWidget(buttons);

    // Buttons act through clicked: the button box's accept would close the
    // dialog before the restore was known to have worked.
    connect(restore_, &QPushButton::clicked, this, &HistoryDialog::restoreSelected);
    connect(compare_, &QPushButton::clicked, this, &HistoryDialog::compareSelected);
    connect(export_, &QPushButton::clicked, this, &HistoryDialog::exportSelected);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTableView::doubleClicked, this, &HistoryDialog::restoreSelected);
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& unit) {
        const history::SnapshotInfo* kept = selected();
        const std::uint64_t number = kept != nullptr ? kept->number : 0;
        model_.setUnitFilter(unit);
        const int row = std::max(model_.rowOf(number), 0);
        if (model_.rowCount() > 0) list_->selectRow(row);
        enableButtons();
    });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryDialog::enableButtons);
    setFocusProxy(list_);
    showTexts();
}

void HistoryDialog::setLanguage(i18n::Language language) {
    if (!said_.change(language)) return;
    showTexts();
}

void HistoryDialog::showTexts() {
    using T = i18n::ToolText;
    setWindowTitle(said_(T::HistoryTitle));
    filter_->setPlaceholderText(said_(T::HistoryAllUnits));
    filterLabel_->setText(said_(T::HistoryUnit));
    restore_->setText(said_(T::HistoryRestore));
    compare_->setText(said_(T::HistoryCompare));
    export_->setText(said_(T::HistoryExport));
    close_->setText(said_(T::HistoryClose));
    model_.setLanguage(said_.language());
}

void HistoryDialog::reload() {
    const history::SnapshotInfo* kept = selected();
    const std::uint64_t number = kept != nullptr ? kept->number : 0;
    store_ = history::SnapshotStore(history::SnapshotStore::defaultFolder());
    history::Listing listing = store_.list();
    model_.setSnapshots(std::move(listing.snapshots));
    showProblems(listing.problems);
    auto* completer = new QCompleter(model_.units(), filter_);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    if (QCompleter* old = filter_->completer()) old->deleteLater();
    filter_->setCompleter(completer);
    if (model_.rowCount() > 0) list_->selectRow(std::max(model_.rowOf(number), 0));
    enableButtons();
}

void HistoryDialog::setCompare(Compare compare) {
    compareWith_ = std::move(compare);
    compare_->setVisible(static_cast<bool>(compareWith_));
}

QString HistoryDialog::note() const {
    return note_->text();
}

const history::SnapshotInfo* HistoryDialog::selected() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : model_.snapshotAt(rows.front().row());
}

void HistoryDialog::enableButtons() {
    const bool any = selected() != nullptr;
    for (QPushButton* b : {restore_, compare_, export_}) b->setEnabled(any);
}

void HistoryDialog::showProblems(const std::vector<std::string>& problems) {
    problems_->clear();
    for (const std::string& problem : problems) problems_->addItem(text(problem));
    problems_->setVisible(!problems.empty());
}

void HistoryDialog::addProblem(const QString& problem) {
    problems_->addItem(problem);
    problems_->show();
}

std::optional<model::ParameterImage> HistoryDialog::selectedImage() {
    const history::SnapshotInfo* snapshot = selected();
    if (snapshot == nullptr) return std::nullopt;
    std::string problem;
    std::optional<model::ParameterImage> image = store_.image(*snapshot, &problem);
    if (!image) addProblem(text(problem));
    return image;
}

QString HistoryDialog::nameOf(const history::SnapshotInfo& snapshot) {
    QString name =
        QStringLiteral("%1 %2").arg(text(std::string(history::eventName(snapshot.event))),
                                    text(history::timeText(snapshot.time)));
    if (!snapshot.file.empty())
        name += QStringLiteral(" ") + QFileInfo(text(snapshot.file)).fileName();
    return name;
}

void HistoryDialog::restoreSelected() {
    const std::optional<model::ParameterImage> image = selectedImage();
    if (!image) return;
    accept();
    if (actions_.restore) actions_.restore(*image);
}

void HistoryDialog::compareSelected() {
    if (!compareWith_) return;
    const history::SnapshotInfo* snapshot = selected();
    const std::optional<model::ParameterImage> image = selectedImage();
    if (!image || snapshot == nullptr) return;
    const QString name = nameOf(*snapshot);
    accept();
    compareWith_(*image, name);
}

void HistoryDialog::exportSelected() {
    const history::SnapshotInfo* selection = selected();
    if (selection == nullptr || !actions_.exportPath) return;
    // The listing may be read anew while the file dialog is open.
    const history::SnapshotInfo snapshot = *selection;
    QString proposed = QFileInfo(text(snapshot.file)).fileName();
    if (proposed.isEmpty()) proposed = QStringLiteral("snapshot-%1.ign").arg(snapshot.number);
    const QString path = actions_.exportPath(proposed);
    if (path.isEmpty()) return;
    const history::Exported exported =
        history::exportSnapshot(store_, snapshot, path.toStdString());
    if (exported.failure == history::Exported::Failure::Image) {
        addProblem(text(exported.problem));
        return;
    }
    if (!exported.written()) {
        if (actions_.writeFailed) actions_.writeFailed(path, text(exported.problem));
        return;
    }
    QString note = said_(i18n::ToolText::HistoryWritten).arg(path);
    if (exported.corrected) note += said_(i18n::ToolText::HistoryCorrected);
    note_->setText(note);
    if (actions_.exported) actions_.exported(path, exported.image);
}

}  // namespace zelvor::app
