// The edit handlers: when a value reaches the image and what follows.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>

#include "app/history_dialog.h"
#include "app/main_window.h"
#include "editing/map_content.h"
#include "editing/map_grid_model.h"
#include "editing/map_tools.h"
#include "editing/monitor_view.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "editing/throttle_calibration.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_grid.h"
#include "editing/widgets/qt_control_access.h"
#include "editing/widgets/tool_text.h"
#include "editing/widgets/ui_text_applier.h"
#include "graph/map_graph.h"
#include "i18n/ui_texts.h"
#include "logview/log_view.h"
#include "ridetune/ride_tuning_panel.h"

namespace zelvor::app {

void TFormHlav::PageControl1Change(int index) {
    // The image is not collected on a page switch: edits of the page left
    // behind reach it only through their own events.
    pageView_->enterPage(index);
}

bool TFormHlav::commitAllowed(const QObject* from) const {
    return !closing_ && !pageView_->switching() &&
           (from == nullptr || pageView_->ownsControl(from));
}

void TFormHlav::EditExit(QObject* from) {
    if (commitAllowed(from)) carryOut(handlers_.commitEdit());
}

void TFormHlav::UpDownClick(QObject* from) {
    if (commitAllowed(from)) carryOut(handlers_.commitEdit());
}

void TFormHlav::FormKeyPressEnter(QWidget* from) {
    if (!commitAllowed(from)) return;
    // Enter moves on like Tab (leaving a design-time edit commits it on its
    // own), then the page is taken.
    focusNextChild();
    carryOut(handlers_.commitEdit());
}

void TFormHlav::Memo1KeyPress(QObject* from) {
    if (commitAllowed(from)) handlers_.memoKeyPressed();
}

void TFormHlav::commitFocusedField() {
    QWidget* focus = QApplication::focusWidget();
    const bool typing = qobject_cast<widgets::CommitSpinBox*>(focus) != nullptr ||
                        qobject_cast<QPlainTextEdit*>(focus) != nullptr;
    if (typing && commitAllowed(focus)) carryOut(handlers_.commitEdit());
}

void TFormHlav::runPipeline() {
    carryOut(handlers_.runPipeline());
}

void TFormHlav::recordSnapshot() {
    carryOut(handlers_.recordSnapshot());
}

void TFormHlav::carryOut(const editing::ChangeOutcome& outcome) {
    link::TransferEngine& transfer = link_->transfer();
    for (int block = 1; block <= model::ParameterImage::kBlockCount; ++block) {
        if (outcome.changedBlocks.test(static_cast<std::size_t>(block))) {
            transfer.setBlockFlag(block);
        }
    }
    if (outcome.showPage) pageView_->showPage(*outcome.showPage);
    if (outcome.refresh) pageView_->refresh();
    if (outcome.enabling) {
        for (const char* name : {"MenuZpet", "SpeedButtonZpet"}) {
            if (auto* o = registry_.object(name))
                o->setProperty("enabled", outcome.enabling->canUndo);
        }
        for (const char* name : {"MenuZnovu", "SpeedButtonZnovu"}) {
            if (auto* o = registry_.object(name))
                o->setProperty("enabled", outcome.enabling->canRedo);
        }
    }
    if (outcome.startProgramming) transfer.startProgramming();
    // The cells changed since the ride logs no longer take their suggestions.
    if (ride_.panel != nullptr && ride_.panel->isVisible()) showRideOverlay();
    followComparison();
    showTitle();
}

void TFormHlav::SpeedButtonZpetClick() {
    // What was typed last is the step to undo: a value still in its field
    // is taken first, so one undo removes it and redo brings it back.
    commitFocusedField();
    carryOut(pipeline_.undo(state_));
}

void TFormHlav::SpeedButtonZnovuClick() {
    // A value still being typed is dropped: the restored state replaces it.
    carryOut(pipeline_.redo(state_));
}

void TFormHlav::CheckBoxMouseUp() {
    carryOut(handlers_.checkBoxReleased());
}

void TFormHlav::RadioGroupDirectClick(std::string_view group, int item) {
    if (const editing::Binding* binding = editing::findBinding(group)) {
        carryOut(handlers_.directRadioGroupClicked(*binding, item));
    }
}

void TFormHlav::RadioGroupGearSystemClick() {
    widgets::QtControlAccess access(registry_);
    carryOut(handlers_.modeRadioGroupClicked(access));
}

void TFormHlav::ButtonGearClick(int gear) {
    carryOut(handlers_.gearButtonClicked(gear, link_->monitor().live().speedRatio));
}

void TFormHlav::stepInjectionPosition(int direction) {
    // The typed angles count: the page is taken first.
    pageView_->collect();
    editing::stepInjectionPosition(direction, state_.allPosition, positionIndex_, image_);
    runPipeline();
}

void TFormHlav::stepMapTools(int direction) {
    const int page = state_.currentPage;
    if (page == editing::kPagePoloha) {
        stepInjectionPosition(direction);
        runPipeline();
        return;
    }
    // The tools act on the image and percentages as the last collect or
    // refresh left them: a value typed and not taken is replaced.
    std::optional<editing::GridCell> cell;
    if (link_->monitor().live().engineSpeed != 0) {
        cell = editing::GridCell{currentCell_.row, currentCell_.column};
    }
    const bool all = editing::isMapPage(page) && state_.allFlags[static_cast<std::size_t>(page)];
    if (editing::stepMapTool(page, direction, all, cell, image_, scaling_)) runPipeline();
}

void TFormHlav::stepMapColumn(int column, int direction) {
    editing::stepMapColumn(state_.currentPage, column, direction, image_, scaling_);
    runPipeline();
}

void TFormHlav::CheckBoxTps_UniMouseUp() {
    // Hidden meanwhile, the grid repaints its cells once instead of one by one.
    widgets::MapGrid* grid = pageView_->mapGrid();
    if (grid != nullptr) grid->hide();
    pageView_->collect();
    pageView_->viewUpdate();
    if (grid != nullptr) grid->show();
    runPipeline();
}

void TFormHlav::connectMapCells() {
    widgets::MapGrid* grid = pageView_->mapGrid();
    if (grid == nullptr) return;
    connect(grid->cells(), &widgets::MapCellGrid::edited, this, &TFormHlav::MapCellsEdited);
    connect(grid->cells(), &widgets::MapCellGrid::pasteRefused, this, &TFormHlav::showMessage);
    connect(grid->graphToggle(), &QToolButton::toggled, this, &TFormHlav::showMapGraph);
}

void TFormHlav::showMapGraph(bool shown) {
    widgets::MapGrid* grid = pageView_->mapGrid();
    if (mapGraph_ == nullptr) {
        if (!shown || grid == nullptr) return;
        // Built when first asked for: most sessions never open it.
        mapGraph_ = new graph::MapGraph(grid->cells(), this);
        connect(mapGraph_, &graph::MapGraph::closed, grid->graphToggle(),
                [toggle = grid->graphToggle()] { toggle->setChecked(false); });
        // Beside the window where the screen has room, else over its
        // lower right corner.
        const QRect screen = this->screen()->availableGeometry();
        QPoint place = frameGeometry().topRight() + QPoint(4, 0);
        if (place.x() + mapGraph_->width() > screen.right()) {
            place = frameGeometry().bottomRight() - QPoint(mapGraph_->width(), mapGraph_->height());
        }
        mapGraph_->move(place);
    }
    if (mapGraph_->isVisible() == shown) return;
    mapGraph_->setVisible(shown);
    // The keyboard stays with the cells.
    if (shown && grid != nullptr) activateWindow();
}

void TFormHlav::MapCellsEdited(const editing::MapEdit& edit) {
    widgets::MapGrid* grid = pageView_->mapGrid();
    const std::optional<editing::MapId> map = editing::mapOfPage(state_.currentPage);
    if (grid == nullptr || !map || !commitAllowed(grid->cells())) return;
    // The cells first, then the rest of the page as a commit takes it (an
    // axis point typed and not yet taken counts too): one snapshot for all.
    editing::writeMapEdit(*map, edit, image_, scaling_);
    carryOut(handlers_.commitEdit());
}

void TFormHlav::ButtonTps0Click() {
    const unsigned mv = link_->monitor().live().throttleSensorMv;
    if (editing::takeThrottleClosedPoint(mv, image_)) runPipeline();
}

void TFormHlav::ButtonTps100Click() {
    const unsigned mv = link_->monitor().live().throttleSensorMv;
    if (editing::takeThrottleOpenPoint(mv, image_)) runPipeline();
}

void TFormHlav::Menu_Jet123ModeClick(std::uint8_t mode) {
    editing::setCouplingMode(mode, image_);
    if (mode == 2 && state_.currentPage == editing::kPageJet2A) {
        // Map 2 is hidden while it equals map 1: show map 1 instead, without
        // the page-change step.
        pageView_->showPageQuietly(editing::kPageJet1A);
    }
    pageView_->refreshWithGridHidden();
    recordSnapshot();
}

void TFormHlav::SetLanguage(std::uint8_t language) {
    outside_.language = language;
    applyUiTexts();
    pageView_->refresh();
}

void TFormHlav::applyUiTexts() {
    const auto language = static_cast<i18n::Language>(outside_.language);
    for (std::size_t l = 0; l < i18n::kLanguageMenuItems.size(); ++l) {
        if (auto* item = registry_.find<QAction>(i18n::kLanguageMenuItems[l])) {
            item->setChecked(l == outside_.language);
        }
    }
    showMemoCodePage();
    qtTexts_.apply(language);
    auto* noConnection = registry_.find<QWidget>("LabelSpojeni");
    const bool unconnected = noConnection == nullptr || !noConnection->isHidden() ||
                             link_->transfer().noConnectionVisible() ||
                             link_->monitor().framesDecoded() == 0;
    widgets::applyUiTexts(registry_, i18n::translatedUiTexts(language, unconnected));
    baseTitle_ = windowTitle();
    showTitle();
    messages_.apply(language);
    widgets::setLabelText(registry_.find<QWidget>("LabelBaseAdv_Uni"),
                          message(i18n::MessageKey::MsgBaseAdvance));
    widgets::setLabelText(registry_.find<QWidget>("LabelCylKor_Uni"),
                          message(i18n::MessageKey::MsgCylinderCorrection));
    applyMessageTexts();
    applyToolTexts();
}

QString TFormHlav::toolText(i18n::ToolText key) const {
    return widgets::qToolText(key, uiLanguage());
}

void TFormHlav::applyToolTexts() {
    const i18n::Language language = uiLanguage();
    showComparePanelTexts();
    if (driftButton_ != nullptr) {
        driftButton_->setToolTip(toolText(i18n::ToolText::DriftHint));
        showDrift();
    }
    if (ride_.panel != nullptr) ride_.panel->setLanguage(language);
    ride_.overlay.setLanguage(language);
    if (logView_ != nullptr) logView_->setLanguage(language);
    if (mapGraph_ != nullptr) mapGraph_->setLanguage(language);
    if (widgets::MapGrid* grid = pageView_->mapGrid()) grid->setLanguage(language);
    dialogs_->setLanguage(language);
    if (historyDialog_ != nullptr) historyDialog_->setLanguage(language);
}

void TFormHlav::applyMessageTexts() {
    // While the unit does not answer, the live labels show placeholders in
    // the new language; with a connection the next answer rewrites them.
    const bool unconnected =
        link_->transfer().noConnectionVisible() || link_->monitor().framesDecoded() == 0;
    if (!unconnected) return;
    editing::applyNoConnectionPlaceholders(monitorPresenter_.view(), messages_);
    presenter_.showMonitor(monitorPresenter_.view());
}

}  // namespace zelvor::app
