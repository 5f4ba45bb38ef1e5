// Tuning from ride logs: the analysis of the logs a tuner opens, its overlay
// on the injection maps, and applying the suggestions as one change.
#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "app/main_window.h"
#include "app/open_ride_log.h"
#include "datalog/log_reader.h"
#include "datalog/tune_correction.h"
#include "editing/map_content.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_grid.h"
#include "ridetune/ride_tuning_panel.h"

namespace zelvor::app {

namespace {

constexpr std::size_t mapSlot(editing::MapId map) {
    return map == editing::MapId::Jet1A ? 0 : 1;
}

}  // namespace

void TFormHlav::buildRideTuningItems(QMenu* log) {
    QAction* shown = addMenuAction(log, "MenuTuneFromOpenLog");
    shown->setObjectName(QStringLiteral("MenuTuneFromOpenLog"));
    connect(shown, &QAction::triggered, this, &TFormHlav::MenuTuneFromOpenLogClick);
    connect(log, &QMenu::aboutToShow, shown,
            [this, shown] { shown->setEnabled(!rideLog_->empty()); });
    QAction* files = addMenuAction(log, "MenuTuneFromLogs");
    files->setObjectName(QStringLiteral("MenuTuneFromLogs"));
    connect(files, &QAction::triggered, this, &TFormHlav::MenuTuneFromLogsClick);

    // A growing recording is analysed again at most once a second.
    ride_.followTimer.setSingleShot(true);
    ride_.followTimer.setInterval(1000);
    connect(&ride_.followTimer, &QTimer::timeout, this, &TFormHlav::followOpenRideLog);
    connect(rideLog_, &OpenRideLog::rowsChanged, this, [this] {
        if (ride_.followsOpenLog && !ride_.followTimer.isActive()) ride_.followTimer.start();
    });
}

void TFormHlav::MenuTuneFromLogsClick() {
    const QStringList paths = dialogs_->openRideLogs(QString::fromStdString(ride_.folder));
    if (!paths.isEmpty()) analyseRideLogs(paths);
}

void TFormHlav::MenuTuneFromOpenLogClick() {
    if (rideLog_->empty()) {
        showMessage(toolText(i18n::ToolText::RideNoLog));
        return;
    }
    rideLog_->keepRecordedRows();
    ride_.logs.assign(1, datalog::RideLog{});
    ride_.followedPath.clear();
    ride_.followsOpenLog = true;
    ride_.analysedImage = image_;
    showRideTuning();
    followOpenRideLog();
}

void TFormHlav::followOpenRideLog() {
    if (!ride_.followsOpenLog || ride_.logs.size() != 1) return;
    const std::vector<datalog::LogRow>& rows = rideLog_->rows();
    std::vector<datalog::LogRow>& taken = ride_.logs.front().rows;
    // A recording only grows: its new rows are added. Another log, or one
    // opened again, is taken whole.
    if (rideLog_->path() != ride_.followedPath || rows.size() < taken.size()) {
        taken = rows;
        ride_.followedPath = rideLog_->path();
    } else {
        taken.insert(taken.end(), rows.begin() + static_cast<std::ptrdiff_t>(taken.size()),
                     rows.end());
    }
    ride_.source = QFileInfo(ride_.followedPath).fileName();
    if (rideLog_->source() == OpenRideLog::Source::Recording) {
        ride_.source += toolText(i18n::ToolText::RideRecordingSuffix);
    }
    analyseRide();
}

bool TFormHlav::analyseRideLogs(const QStringList& paths) {
    std::vector<datalog::RideLog> logs;
    for (const QString& path : paths) {
        datalog::LogReadResult read = datalog::readRideLog(path.toStdString());
        if (!read.log) {
            showMessage(path + QStringLiteral(":\n") + QString::fromStdString(read.error));
            return false;
        }
        logs.push_back(std::move(*read.log));
    }
    if (logs.empty()) return false;
    ride_.followsOpenLog = false;
    ride_.logs = std::move(logs);
    ride_.folder = QFileInfo(paths.front()).absolutePath().toStdString();
    ride_.source = paths.size() == 1 ? QFileInfo(paths.front()).fileName()
                                     : toolText(i18n::ToolText::RideLogCount).arg(paths.size());
    ride_.analysedImage = image_;
    showRideTuning();
    analyseRide();
    return true;
}

void TFormHlav::showRideTuning() {
    if (ride_.panel == nullptr) {
        ride_.panel = new ridetune::RideTuningPanel(this);
        ride_.panel->setLanguage(uiLanguage());
        addDockWidget(Qt::RightDockWidgetArea, ride_.panel);
        connect(ride_.panel, &ridetune::RideTuningPanel::settingsChanged, this,
                &TFormHlav::analyseRide);
        connect(ride_.panel, &ridetune::RideTuningPanel::viewChanged, this,
                &TFormHlav::showRideOverlay);
        connect(ride_.panel, &ridetune::RideTuningPanel::lockRequested, this,
                &TFormHlav::lockRideCells);
        connect(ride_.panel, &ridetune::RideTuningPanel::applyRequested, this,
                &TFormHlav::applyRideSuggestions);
        connect(ride_.panel, &ridetune::RideTuningPanel::closed, this, [this] {
            // Still visible while it closes: the overlay goes here.
            ride_.overlay.clear();
            ride_.followsOpenLog = false;
            if (widgets::MapGrid* grid = pageView_->mapGrid()) {
                grid->cells()->setOverlay(widgets::OverlayRole::Ride, nullptr);
            }
            // The room the panel took beside the pages is given back.
            if (ride_.grownBy > 0 && !isMaximized() && !isFullScreen()) {
                resize(width() - ride_.grownBy, height());
                move(x() + ride_.shiftedBy, y());
            }
            ride_.grownBy = 0;
            ride_.shiftedBy = 0;
        });
    }
    if (ride_.panel->isVisible()) return;
    const int centralBefore = centralWidget()->width();
    ride_.panel->show();
    // The panel takes its room beside the pages where the screen has it,
    // rather than from them: the window grows by what the pages lost.
    layout()->activate();
    const int wanted = centralBefore - centralWidget()->width();
    const QScreen* screen = this->screen();
    if (wanted <= 0 || screen == nullptr || isMaximized() || isFullScreen()) return;
    const QRect available = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const int rightRoom = std::max(0, available.right() - frame.right());
    const int leftShift =
        std::clamp(wanted - rightRoom, 0, std::max(0, frame.left() - available.left()));
    if (leftShift > 0) move(x() - leftShift, y());
    const int grow = std::min(wanted, rightRoom + leftShift);
    if (grow > 0) resize(width() + grow, height());
    ride_.grownBy = std::max(0, grow);
    ride_.shiftedBy = leftShift;
}

void TFormHlav::analyseRide() {
    if (ride_.panel == nullptr || ride_.logs.empty()) return;
    datalog::AnalysisSettings settings = ride_.panel->settings();
    ride_.findings = datalog::analyseRide(ride_.logs, ride_.analysedImage, settings);
    ride_.panel->showFindings(ride_.source, ride_.findings);
    showRideOverlay();
}

ridetune::CellsPerMap TFormHlav::rideCellsChangedSinceLog() const {
    // A cell the tuner changed since the logs were analysed ran with another
    // value than the log saw: what the log says of it no longer holds.
    const datalog::CorrectionPlan then =
        datalog::planCorrection(ride_.analysedImage, ride_.findings, datalog::CorrectedMaps::Both);
    const datalog::CorrectionPlan now =
        datalog::planCorrection(image_, ride_.findings, datalog::CorrectedMaps::Both);
    ridetune::CellsPerMap changed;
    for (std::size_t m = 0; m < 2; ++m) {
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            changed[m].set(k, then.before[m][k] != now.before[m][k]);
        }
    }
    return changed;
}

datalog::RideFindings TFormHlav::rideFindingsNow(const ridetune::CellsPerMap& changed) const {
    datalog::RideFindings usable = ride_.findings;
    for (std::size_t m = 0; m < 2; ++m) {
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            if (!changed[m].test(k)) continue;
            datalog::CellFinding& cell = usable.maps[m][k];
            if (cell.verdict == datalog::CellVerdict::Change ||
                cell.verdict == datalog::CellVerdict::Balanced) {
                cell.verdict = datalog::CellVerdict::Locked;
                cell.changePercent = 0.0;
            }
        }
    }
    return usable;
}

void TFormHlav::showRideOverlay() {
    widgets::MapGrid* grid = pageView_->mapGrid();
    const bool shown = ride_.panel != nullptr && ride_.panel->isVisible() && !ride_.logs.empty();
    if (shown) {
        datalog::AnalysisSettings settings = ride_.panel->settings();
        ride_.overlay.setView(ride_.panel->view());
        const ridetune::CellsPerMap changed = rideCellsChangedSinceLog();
        ride_.overlay.setFindings(rideFindingsNow(changed), settings);
        ride_.overlay.setChangedSinceLog(changed);
    }
    if (grid == nullptr) return;
    grid->cells()->setOverlay(widgets::OverlayRole::Ride,
                              shown && ride_.overlay.hasFindings() ? &ride_.overlay : nullptr);
    grid->cells()->overlayChanged();
}

void TFormHlav::lockRideCells(bool lock) {
    const std::optional<editing::MapId> map = editing::mapOfPage(state_.currentPage);
    widgets::MapGrid* grid = pageView_->mapGrid();
    if (!map || *map == editing::MapId::Advance || grid == nullptr) {
        showMessage(toolText(i18n::ToolText::RideSelectFirst));
        return;
    }
    const editing::MapSelection block = grid->cells()->selection().normalized();
    std::bitset<model::kMapCells>& locked = ride_.panel->settings().locked[mapSlot(*map)];
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int c = block.left; c <= block.right; ++c) locked.set(editing::cellIndex(r, c), lock);
    }
    analyseRide();
}

void TFormHlav::applyRideSuggestions(bool selectionOnly) {
    if (ride_.logs.empty()) return;
    // A value still being typed is taken first: it is a change of its own.
    commitFocusedField();
    datalog::CorrectedMaps maps = datalog::CorrectedMaps::Both;
    std::bitset<model::kMapCells> cells;
    if (selectionOnly) {
        const std::optional<editing::MapId> map = editing::mapOfPage(state_.currentPage);
        widgets::MapGrid* grid = pageView_->mapGrid();
        if (!map || *map == editing::MapId::Advance || grid == nullptr) {
            showMessage(toolText(i18n::ToolText::RideSelectFirst));
            return;
        }
        maps = *map == editing::MapId::Jet1A ? datalog::CorrectedMaps::Map1
                                             : datalog::CorrectedMaps::Map2;
        const editing::MapSelection block = grid->cells()->selection().normalized();
        for (int r = block.top; r <= block.bottom; ++r) {
            for (int c = block.left; c <= block.right; ++c) cells.set(editing::cellIndex(r, c));
        }
    }
    const datalog::CorrectionPlan plan =
        datalog::planCorrection(image_, rideFindingsNow(rideCellsChangedSinceLog()), maps, cells);
    if (plan.changedCells == 0) {
        showMessage(toolText(i18n::ToolText::RideNothingToApply));
        return;
    }
    image_ = datalog::applyCorrection(image_, plan);
    runPipeline();
}

}  // namespace zelvor::app
