#include "app/compare_panel.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "editing/map_grid_model.h"
#include "editing/page_index.h"
#include "editing/widgets/tool_text.h"
#include "model/field_table.h"
#include "model/injection.h"
#include "model/sanitizer.h"

namespace zelvor::app {

namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kNoRow = -1;
// The page slot of the elements no page shows.
constexpr int kOtherPage = 1000;

int keyOf(const compare::Difference& d) {
    return static_cast<int>(d.field) * 1000 + d.index;
}

// Sets the text only when it differs, so an unchanged row repaints nothing.
bool setTextOnce(QTreeWidgetItem* item, int column, const QString& text) {
    if (item->text(column) == text) return false;
    item->setText(column, text);
    return true;
}

QString withUnit(const std::string& value, const compare::Difference& d) {
    const std::string_view unit = model::descriptor(d.field).unit;
    QString text = QString::fromStdString(value);
    if (!unit.empty() && model::descriptor(d.field).kind != model::Kind::Text) {
        text +=
            QLatin1Char(' ') + QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
    }
    return text;
}

// Where a map cell sits in its grid, as the tuner finds it there.
QString placeOf(const compare::Difference& d, i18n::Language language) {
    for (const int page : {editing::kPageAdvance, editing::kPageJet1A, editing::kPageJet2A}) {
        const std::optional<editing::MapDescriptor> map = editing::mapDescriptor(page);
        if (!map || map->cells != d.field || d.index >= model::kMapCells) continue;
        const int row = d.index / model::kMapColumns;
        return widgets::qToolText(i18n::ToolText::CompareCellPlace, language)
            .arg(model::kMapThrottleRows[static_cast<std::size_t>(row)])
            .arg(d.index % model::kMapColumns + 1);
    }
    return {};
}

// Every item of the list in the order shown: a page, then its rows.
QList<QTreeWidgetItem*> itemsInOrder(QTreeWidget* list) {
    QList<QTreeWidgetItem*> items;
    for (int g = 0; g < list->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = list->topLevelItem(g);
        items << group;
        for (int r = 0; r < group->childCount(); ++r) items << group->child(r);
    }
    return items;
}

}  // namespace

ComparePanel::ComparePanel(QWidget* parent, std::function<QString(int page)> pageCaption)
    : QDockWidget(parent), pageCaption_(std::move(pageCaption)) {
    setObjectName(QStringLiteral("DockCompare"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    title_ = new QLabel(body);
    title_->setObjectName(QStringLiteral("LabelCompareTitle"));
    title_->setWordWrap(true);
    layout->addWidget(title_);

    list_ = new QTreeWidget(body);
    list_->setObjectName(QStringLiteral("TreeCompare"));
    list_->setColumnCount(3);
    list_->setRootIsDecorated(true);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    list_->setMinimumWidth(300);
    list_->installEventFilter(this);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { takeCurrent(); });
    layout->addWidget(list_);

    auto* buttons = new QHBoxLayout;
    take_ = new QPushButton(body);
    take_->setObjectName(QStringLiteral("ButtonCompareTake"));
    takeAll_ = new QPushButton(body);
    takeAll_->setObjectName(QStringLiteral("ButtonCompareTakeAll"));
    close_ = new QPushButton(body);
    close_->setObjectName(QStringLiteral("ButtonCompareClose"));
    buttons->addWidget(take_);
    buttons->addWidget(takeAll_);
    buttons->addStretch();
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    setWidget(body);

    connect(take_, &QPushButton::clicked, this, [this] { takeCurrent(); });
    connect(takeAll_, &QPushButton::clicked, this, [this] {
        if (!differences_.empty()) emit takeRequested(differences_);
    });
    connect(close_, &QPushButton::clicked, this, &QDockWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &QDockWidget::close);
    showTexts();
}

void ComparePanel::showTexts() {
    using T = i18n::ToolText;
    setWindowTitle(said_(T::CompareTitle));
    list_->setHeaderLabels({said_(T::CompareColumnField), said_(T::CompareColumnThis),
                            said_(T::CompareColumnReference)});
    take_->setText(said_(T::CompareTake));
    take_->setToolTip(said_(T::CompareTakeHint));
    takeAll_->setText(said_(T::CompareTakeAll));
    takeAll_->setToolTip(said_(T::CompareTakeAllHint));
    close_->setText(said_(T::CompareClose));
    close_->setToolTip(said_(T::CompareCloseHint));
}

void ComparePanel::setLanguage(i18n::Language language) {
    if (!said_.change(language)) return;
    showTexts();
    if (!reference_) return;
    // Page captions follow in the list's update; a row's place is said
    // when its row is made, so the rows kept get theirs here.
    updateList();
    for (QTreeWidgetItem* item : std::as_const(rowItems_)) {
        const int row = item->data(0, kRowRole).toInt();
        if (row >= 0 && static_cast<std::size_t>(row) < differences_.size()) {
            item->setToolTip(
                0, placeOf(differences_[static_cast<std::size_t>(row)], said_.language()));
        }
    }
}

void ComparePanel::renameReference(const QString& name) {
    name_ = name;
    if (reference_) showCount();
}

void ComparePanel::setReference(const model::ParameterImage& reference, const QString& name) {
    reference_ = reference;
    model::sanitize(*reference_);
    name_ = name;
    differences_.clear();
    list_->clear();
    rowItems_.clear();
    pageItems_.clear();
}

void ComparePanel::follow(const model::ParameterImage& edited) {
    if (!reference_) return;
    std::vector<compare::Difference> now = compare::compareImages(edited, *reference_);
    if (now == differences_ && (list_->topLevelItemCount() > 0 || now.empty())) {
        showCount();
        return;
    }
    differences_ = std::move(now);
    updateList();
}

void ComparePanel::showCount() {
    const std::size_t n = differences_.size();
    using T = i18n::ToolText;
    title_->setText(n == 0   ? said_(T::CompareSame).arg(name_)
                    : n == 1 ? said_(T::CompareOneDifference).arg(name_)
                             : said_(T::CompareDifferences).arg(n).arg(name_));
    take_->setEnabled(n > 0);
    takeAll_->setEnabled(n > 0);
}

void ComparePanel::updateList() {
    // The chosen row stays chosen; when it goes (taken), the one then at its
    // place is chosen, so taking row after row goes on with the keyboard.
    QTreeWidgetItem* chosen = list_->currentItem();
    const int chosenPlace =
        chosen != nullptr ? static_cast<int>(itemsInOrder(list_).indexOf(chosen)) : -1;

    list_->setUpdatesEnabled(false);
    QHash<int, QTreeWidgetItem*> keptRows;
    QHash<int, QTreeWidgetItem*> keptPages;
    int pagePlace = 0;
    for (const compare::PageGroup& group : compare::groupByPage(differences_)) {
        const int slot = group.page.value_or(kOtherPage);
        QTreeWidgetItem* page = pageItems_.take(slot);
        if (page == nullptr) {
            page = new QTreeWidgetItem;
            page->setData(0, kRowRole, kNoRow);
            QFont bold = page->font(0);
            bold.setBold(true);
            page->setFont(0, bold);
        }
        if (list_->topLevelItem(pagePlace) != page) {
            const int at = list_->indexOfTopLevelItem(page);
            if (at >= 0) list_->takeTopLevelItem(at);
            list_->insertTopLevelItem(pagePlace, page);
            page->setFirstColumnSpanned(true);
            page->setExpanded(true);
        }
        ++pagePlace;
        const QString caption =
            group.page ? pageCaption_(*group.page) : said_(i18n::ToolText::CompareOtherPage);
        setTextOnce(page, 0, QStringLiteral("%1 (%2)").arg(caption).arg(group.rows.size()));

        int place = 0;
        for (const std::size_t row : group.rows) {
            const compare::Difference& d = differences_[row];
            const int key = keyOf(d);
            QTreeWidgetItem* item = rowItems_.take(key);
            if (item == nullptr) item = new QTreeWidgetItem;
            if (page->child(place) != item) {
                if (QTreeWidgetItem* before = item->parent()) before->removeChild(item);
                page->insertChild(place, item);
            }
            ++place;
            if (setTextOnce(item, 0, QString::fromStdString(d.name))) {
                item->setToolTip(0, placeOf(d, said_.language()));
            }
            if (setTextOnce(item, 1, withUnit(d.edited, d))) widenColumn(1, item->text(1));
            if (setTextOnce(item, 2, withUnit(d.reference, d))) widenColumn(2, item->text(2));
            if (item->data(0, kRowRole).toInt() != static_cast<int>(row)) {
                item->setData(0, kRowRole, static_cast<int>(row));
            }
            keptRows.insert(key, item);
        }
        keptPages.insert(slot, page);
    }
    // What is left belongs to rows and pages that are gone: the rows first,
    // so a page goes without children.
    const auto gone = [chosen](const QHash<int, QTreeWidgetItem*>& items) {
        return std::find(items.cbegin(), items.cend(), chosen) != items.cend();
    };
    const bool chosenGoes = chosen == nullptr || gone(rowItems_) || gone(pageItems_);
    for (QTreeWidgetItem* item : std::as_const(rowItems_)) delete item;
    for (QTreeWidgetItem* page : std::as_const(pageItems_)) delete page;
    rowItems_ = std::move(keptRows);
    pageItems_ = std::move(keptPages);

    if (chosenGoes) {
        const QList<QTreeWidgetItem*> items = itemsInOrder(list_);
        if (!items.isEmpty()) {
            const int place = chosenPlace >= 0
                                  ? std::min(chosenPlace, static_cast<int>(items.size()) - 1)
                                  : std::min(1, static_cast<int>(items.size()) - 1);
            list_->setCurrentItem(items[place]);
        }
    }
    list_->setUpdatesEnabled(true);
    showCount();
}

void ComparePanel::widenColumn(int column, const QString& text) {
    const int wanted = list_->fontMetrics().horizontalAdvance(text) + 16;
    if (wanted > list_->columnWidth(column)) list_->setColumnWidth(column, wanted);
}

std::vector<compare::Difference> ComparePanel::rowsOf(const QTreeWidgetItem* item) const {
    std::vector<compare::Difference> rows;
    if (item == nullptr) return rows;
    const auto add = [&](const QTreeWidgetItem* i) {
        const int row = i->data(0, kRowRole).toInt();
        if (row >= 0 && static_cast<std::size_t>(row) < differences_.size()) {
            rows.push_back(differences_[static_cast<std::size_t>(row)]);
        }
    };
    if (item->childCount() == 0) add(item);
    for (int r = 0; r < item->childCount(); ++r) add(item->child(r));
    return rows;
}

void ComparePanel::takeCurrent() {
    const std::vector<compare::Difference> rows = rowsOf(list_->currentItem());
    if (!rows.empty()) emit takeRequested(rows);
}

bool ComparePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            takeCurrent();
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void ComparePanel::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit ended();
}

}  // namespace zelvor::app
