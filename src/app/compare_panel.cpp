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

#include "model/field_table.h"
#include "model/sanitizer.h"

namespace zelvor::app {

namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kNoRow = -1;

QString withUnit(const std::string& value, const compare::Difference& d) {
    const std::string_view unit = model::descriptor(d.field).unit;
    QString text = QString::fromStdString(value);
    if (!unit.empty() && model::descriptor(d.field).kind != model::Kind::Text) {
        text +=
            QLatin1Char(' ') + QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
    }
    return text;
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
    : QDockWidget(QStringLiteral("Compare"), parent), pageCaption_(std::move(pageCaption)) {
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
    list_->setHeaderLabels(
        {QStringLiteral("Field"), QStringLiteral("This tune"), QStringLiteral("Reference")});
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
    take_ = new QPushButton(QStringLiteral("&Take"), body);
    take_->setObjectName(QStringLiteral("ButtonCompareTake"));
    take_->setToolTip(QStringLiteral("Take the reference value of the chosen row or page (Enter)"));
    takeAll_ = new QPushButton(QStringLiteral("Take &all"), body);
    takeAll_->setObjectName(QStringLiteral("ButtonCompareTakeAll"));
    takeAll_->setToolTip(QStringLiteral("Take every reference value"));
    close_ = new QPushButton(QStringLiteral("Cl&ose"), body);
    close_->setObjectName(QStringLiteral("ButtonCompareClose"));
    close_->setToolTip(QStringLiteral("End the comparison (Escape)"));
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
}

void ComparePanel::setReference(const model::ParameterImage& reference, const QString& name) {
    reference_ = reference;
    model::sanitize(*reference_);
    name_ = name;
    differences_.clear();
    list_->clear();
}

void ComparePanel::follow(const model::ParameterImage& edited) {
    if (!reference_) return;
    std::vector<compare::Difference> now = compare::compareImages(edited, *reference_);
    if (now == differences_ && (list_->topLevelItemCount() > 0 || now.empty())) {
        showCount();
        return;
    }
    differences_ = std::move(now);
    rebuild();
}

void ComparePanel::showCount() {
    const std::size_t n = differences_.size();
    title_->setText(n == 0   ? QStringLiteral("Same as %1.").arg(name_)
                    : n == 1 ? QStringLiteral("1 difference to %1.").arg(name_)
                             : QStringLiteral("%1 differences to %2.").arg(n).arg(name_));
    take_->setEnabled(n > 0);
    takeAll_->setEnabled(n > 0);
}

void ComparePanel::rebuild() {
    // The chosen row stays chosen; when it is gone (taken), the one now at
    // its place is, so taking row after row goes on with the keyboard.
    QString chosenName;
    int chosenPlace = -1;
    if (QTreeWidgetItem* current = list_->currentItem()) {
        chosenName = current->text(0);
        chosenPlace = static_cast<int>(itemsInOrder(list_).indexOf(current));
    }

    list_->setUpdatesEnabled(false);
    list_->clear();
    for (const compare::PageGroup& group : compare::groupByPage(differences_)) {
        const QString caption = group.page ? pageCaption_(*group.page) : QStringLiteral("Other");
        auto* page = new QTreeWidgetItem(list_);
        page->setText(0, QStringLiteral("%1 (%2)").arg(caption).arg(group.rows.size()));
        page->setData(0, kRowRole, kNoRow);
        page->setFirstColumnSpanned(true);
        QFont bold = page->font(0);
        bold.setBold(true);
        page->setFont(0, bold);
        for (const std::size_t row : group.rows) {
            const compare::Difference& d = differences_[row];
            auto* item = new QTreeWidgetItem(page);
            item->setText(0, QString::fromStdString(d.name));
            item->setText(1, withUnit(d.edited, d));
            item->setText(2, withUnit(d.reference, d));
            item->setData(0, kRowRole, static_cast<int>(row));
        }
        page->setExpanded(true);
    }
    list_->resizeColumnToContents(1);
    list_->resizeColumnToContents(2);

    const QList<QTreeWidgetItem*> items = itemsInOrder(list_);
    QTreeWidgetItem* chosen = nullptr;
    for (QTreeWidgetItem* item : items) {
        if (!chosenName.isEmpty() && item->text(0) == chosenName) chosen = item;
    }
    if (chosen == nullptr && chosenPlace >= 0 && !items.isEmpty()) {
        chosen = items[std::min(chosenPlace, static_cast<int>(items.size()) - 1)];
    }
    if (chosen == nullptr && !items.isEmpty()) chosen = items.size() > 1 ? items[1] : items[0];
    if (chosen != nullptr) list_->setCurrentItem(chosen);
    list_->setUpdatesEnabled(true);
    showCount();
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
