// Comparing the edited image with a reference (a parameter file, the unit, a
// snapshot of the history) and the count of changes not in the unit.
#include <algorithm>
#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/compare_panel.h"
#include "app/main_window.h"
#include "compare/image_compare.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_grid.h"
#include "editing/widgets/tool_text.h"
#include "history/snapshot_store.h"
#include "model/default_set.h"
#include "model/parameter_file_io.h"

namespace zelvor::app {

namespace {

// Calls back when the watched widget is shown or hidden.
class VisibilityWatch : public QObject {
  public:
    VisibilityWatch(QObject* parent, std::function<void()> changed)
        : QObject(parent), changed_(std::move(changed)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) changed_();
        return false;
    }

  private:
    std::function<void()> changed_;
};

// Right after the check box's text; while "no connection" shows there, in
// the place of the version label, which takes turns with it.
void placeDriftButton(QPushButton& button, const QAbstractButton& box,
                      const QWidget* noConnection) {
    const QRect area = box.geometry();
    int left = area.x() + box.sizeHint().width() + 8;
    if (noConnection != nullptr && !noConnection->isHidden()) {
        left = std::max(left, noConnection->geometry().right() + 9);
    }
    button.setGeometry(left, area.y(), button.sizeHint().width(), area.height());
}

QString driftText(std::size_t changes, i18n::Language language) {
    if (changes == 0) return {};
    return changes == 1 ? widgets::qToolText(i18n::ToolText::DriftOneChange, language)
                        : widgets::qToolText(i18n::ToolText::DriftChanges, language).arg(changes);
}

}  // namespace

void TFormHlav::buildCompareParts(QMenu* file) {
    QMenu* compare = file->addMenu(QString());
    compare->setObjectName(QStringLiteral("MenuCompare"));
    registry_.add("MenuCompare", compare);
    connect(addMenuAction(compare, "MenuCompareFile"), &QAction::triggered, this,
            &TFormHlav::MenuCompareFileClick);
    connect(addMenuAction(compare, "MenuCompareUnit"), &QAction::triggered, this,
            &TFormHlav::MenuCompareUnitClick);
}

void TFormHlav::MenuCompareFileClick() {
    const QString path = dialogs_->openParameterFile(iniDir(), fileName());
    if (path.isEmpty()) return;
    // The file is laid over the edited image as Open would lay it: what it
    // leaves out stays as it is and does not show as a difference.
    model::ParameterImage reference = image_;
    const model::LoadStatus status = model::loadParameterFile(path.toStdString(), reference);
    if (status == model::LoadStatus::OpenError) {
        showMessage(message(i18n::MessageKey::MsgOpenFileError) + QStringLiteral("\n") + path);
        return;
    }
    if (status == model::LoadStatus::VersionMismatch) {
        showMessage(message(i18n::MessageKey::MsgIgnFileVersion));
        return;
    }
    model::applyBikeUpdate(reference);
    compareWith(reference, QFileInfo(path).fileName());
}

void TFormHlav::MenuCompareUnitClick() {
    link::TransferEngine& transfer = link_->transfer();
    if (transfer.running()) return;  // the transfer under way goes on
    actOnTransfer(transfer.readIntoCopy());
}

void TFormHlav::ButtonDriftClick() {
    if (!unitImage_) return;
    compareWith(*unitImage_, toolText(i18n::ToolText::CompareUnitName));
    comparingWithUnit_ = true;
}

void TFormHlav::compareWith(const model::ParameterImage& reference, const QString& name) {
    if (comparePanel_ == nullptr) {
        comparePanel_ = new ComparePanel(this, [this](int page) {
            return pageControl_->tabText(page).remove(QLatin1Char('&'));
        });
        comparePanel_->setLanguage(uiLanguage());
        addDockWidget(Qt::RightDockWidgetArea, comparePanel_);
        connect(comparePanel_, &ComparePanel::takeRequested, this, &TFormHlav::compareTake);
        connect(comparePanel_, &ComparePanel::ended, this, &TFormHlav::compareEnded);
    }
    comparingWithUnit_ = false;
    comparePanel_->setReference(reference, name);
    if (auto* grid = registry_.find<widgets::MapGrid>("GroupBoxUni")) {
        grid->cells()->setOverlay(widgets::OverlayRole::Compare, &compareOverlay_);
    }
    if (!comparePanel_->isVisible()) {
        comparePanel_->show();
        // The window grows by the panel where the screen has room, so the
        // pages keep their width.
        if (!isMaximized() && !isFullScreen()) {
            const int before = width();
            const int left = x();
            resize(before + comparePanel_->sizeHint().width(), height());
            fitIntoScreen();
            compareGrowth_ = std::max(0, width() - before);
            compareShift_ = std::max(0, left - x());
        }
    }
    followComparison();
    comparePanel_->list()->setFocus();
}

void TFormHlav::compareTake(const std::vector<compare::Difference>& rows) {
    if (comparePanel_ == nullptr || !comparePanel_->reference()) return;
    // A value still typed into a field is taken first, as its own step.
    commitFocusedField();
    for (const compare::Difference& row : rows) {
        compare::takeReference(image_, *comparePanel_->reference(), row.field, row.index);
    }
    // One pass of the pipeline: the take is one undo step.
    runPipeline();
}

void TFormHlav::compareEnded() {
    comparingWithUnit_ = false;
    if (compareGrowth_ > 0 && !isMaximized() && !isFullScreen()) {
        resize(width() - compareGrowth_, height());
        move(x() + compareShift_, y());
    }
    compareGrowth_ = 0;
    compareShift_ = 0;
    if (auto* grid = registry_.find<widgets::MapGrid>("GroupBoxUni")) {
        grid->cells()->setOverlay(widgets::OverlayRole::Compare, nullptr);
    }
}

void TFormHlav::followComparison() {
    if (comparePanel_ != nullptr && comparePanel_->isVisible()) {
        comparePanel_->follow(image_);
        compareOverlay_.show(comparePanel_->differences());
        if (auto* grid = registry_.find<widgets::MapGrid>("GroupBoxUni")) {
            grid->cells()->overlayChanged();
        }
    }
    showDrift();
}

void TFormHlav::keepUnitImage(const link::TransferOutcome& outcome) {
    if (outcome.copyRead) {
        const model::ParameterImage& copy = link_->transfer().readCopy();
        unitImage_ = copy;
        compareWith(copy, toolText(i18n::ToolText::CompareUnitName));
        comparingWithUnit_ = true;
        return;
    }
    if (!outcome.succeeded) return;
    constexpr std::uint16_t kAllBlocks = 0x3FE;
    if (!unitImage_ && outcome.blocksInUnit != kAllBlocks) return;  // the rest is unknown
    if (!unitImage_) unitImage_ = image_;
    for (int block = 1; block <= model::ParameterImage::kBlockCount; ++block) {
        if ((outcome.blocksInUnit & (1U << block)) == 0) continue;
        const auto from = image_.block(block);
        std::copy(from.begin(), from.end(), unitImage_->block(block).begin());
    }
    if (comparingWithUnit_ && comparePanel_ != nullptr && comparePanel_->isVisible()) {
        comparePanel_->setReference(*unitImage_, toolText(i18n::ToolText::CompareUnitName));
    }
}

void TFormHlav::loadUnitImageFromHistory() {
    if (unitImage_) return;  // a transfer since the start knows better
    const history::SnapshotStore store(history::SnapshotStore::defaultFolder());
    const std::optional<history::SnapshotInfo> last =
        store.newest([](const history::SnapshotInfo& snapshot) {
            return snapshot.event == history::Event::Read ||
                   snapshot.event == history::Event::Program;
        });
    if (last) unitImage_ = store.image(*last);
}

void TFormHlav::showDrift() {
    auto* programAfterChange = registry_.find<QAbstractButton>("CheckBoxProgHned");
    if (programAfterChange == nullptr) return;
    auto* noConnection = registry_.find<QWidget>("LabelSpojeni");
    if (driftButton_ == nullptr) {
        driftButton_ = new QPushButton(programAfterChange->parentWidget());
        driftButton_->setObjectName(QStringLiteral("ButtonDrift"));
        driftButton_->setFlat(true);
        driftButton_->setCursor(Qt::PointingHandCursor);
        driftButton_->setToolTip(toolText(i18n::ToolText::DriftHint));
        driftButton_->setStyleSheet(
            QStringLiteral("QPushButton { color: #b00000; text-decoration: underline; "
                           "text-align: left; border: none; padding: 0 2px; }"));
        connect(driftButton_, &QPushButton::clicked, this, &TFormHlav::ButtonDriftClick);
        if (noConnection != nullptr) {
            // The watch knows only the widgets, never the window: the label
            // is hidden once more while the window is taken apart.
            noConnection->installEventFilter(new VisibilityWatch(
                driftButton_, [button = QPointer<QPushButton>(driftButton_),
                               box = QPointer<QAbstractButton>(programAfterChange),
                               label = QPointer<QWidget>(noConnection)] {
                    if (button && box) placeDriftButton(*button, *box, label.data());
                }));
        }
    }
    const std::size_t changes = unitImage_ ? compare::countDifferences(image_, *unitImage_) : 0;
    const QString text = driftText(changes, uiLanguage());
    if (driftButton_->text() != text) driftButton_->setText(text);
    placeDriftButton(*driftButton_, *programAfterChange, noConnection);
    driftButton_->setVisible(!text.isEmpty());
}

void TFormHlav::showComparePanelTexts() {
    if (comparePanel_ == nullptr) return;
    comparePanel_->setLanguage(uiLanguage());
    if (comparingWithUnit_)
        comparePanel_->renameReference(toolText(i18n::ToolText::CompareUnitName));
}

}  // namespace zelvor::app
