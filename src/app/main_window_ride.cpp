// The Log menu: recording a ride from the unit's monitor answers, markers,
// opening a log in the log view and showing its rows in the live display.
#include <QAction>
#include <QActionGroup>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <ctime>

#include "app/main_window.h"
#include "app/marker_dialog.h"
#include "datalog/log_reader.h"
#include "datalog/monitor_replay.h"
#include "logview/log_view.h"

namespace zelvor::app {

namespace {

// A growing recording is drawn anew in the log view at most this often.
constexpr int kRecordingRedrawMs = 1000;

QString durationText(std::int64_t ms) {
    const std::int64_t seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

void TFormHlav::buildLogMenu() {
    rideLog_ = new OpenRideLog(this);
    // The texts come from the window's text table in the chosen language.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("MenuLog"));
    registry_.add("MenuLog", menu);
    QMenu* help = registry_.find<QMenu>("MenuHelp");
    menuBar()->insertMenu(help != nullptr ? help->menuAction() : nullptr, menu);

    // Checked while a recording runs.
    recordAction_ = addMenuAction(menu, "LogRecord", QKeySequence(Qt::CTRL | Qt::Key_L));
    recordAction_->setObjectName(QStringLiteral("LogRecord"));
    recordAction_->setCheckable(true);
    connect(recordAction_, &QAction::triggered, this, &TFormHlav::LogRecordClick);
    markerAction_ = addMenuAction(menu, "LogMarker");
    markerAction_->setObjectName(QStringLiteral("LogMarker"));
    // M where no field takes the letter; Ctrl+M also where one does (a
    // typed value, the map grid).
    markerAction_->setShortcuts({QKeySequence(Qt::Key_M), QKeySequence(Qt::CTRL | Qt::Key_M)});
    markerAction_->setEnabled(false);
    connect(markerAction_, &QAction::triggered, this, &TFormHlav::LogMarkerClick);
    menu->addSeparator();
    QAction* open = addMenuAction(menu, "LogOpen");
    open->setObjectName(QStringLiteral("LogOpen"));
    connect(open, &QAction::triggered, this, &TFormHlav::LogOpenClick);
    buildRideTuningItems(menu);
    menu->addSeparator();

    auto* polling = new QActionGroup(this);
    QAction* fast = addMenuAction(menu, "LogFastPolling");
    fast->setObjectName(QStringLiteral("LogFastPolling"));
    QAction* normal = addMenuAction(menu, "LogNormalPolling");
    normal->setObjectName(QStringLiteral("LogNormalPolling"));
    for (QAction* a : {fast, normal}) {
        a->setCheckable(true);
        polling->addAction(a);
    }
    fast->setChecked(fastPolling_);
    connect(fast, &QAction::toggled, this, [this](bool on) {
        fastPolling_ = on;
        applyRidePolling();
    });

    recordingLabel_ = new QLabel(this);
    recordingLabel_->setObjectName(QStringLiteral("LabelRecording"));
    recordingLabel_->hide();
    statusBar()->addPermanentWidget(recordingLabel_);

    connect(rideLog_, &OpenRideLog::rowsChanged, this, [this] {
        if (logView_ == nullptr || rideLog_->source() != OpenRideLog::Source::Recording) return;
        if (!logViewRedrawPending_) {
            logViewRedrawPending_ = true;
            QTimer::singleShot(kRecordingRedrawMs, this, [this] {
                logViewRedrawPending_ = false;
                if (logView_ != nullptr) logView_->rowsAppended();
            });
        }
    });
}

bool TFormHlav::recordingRide() const {
    return recorder_.recording();
}

QString TFormHlav::rideLogFolder() const {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data)) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return data + QStringLiteral("/zelvor/logs");
}

void TFormHlav::LogRecordClick() {
    if (recordingRide()) {
        stopRecording();
    } else {
        startRecording();
    }
    // The click checked or unchecked the item; it shows what runs now.
    recordAction_->setChecked(recordingRide());
}

void TFormHlav::startRecording() {
    const QString folder = rideLogFolder();
    if (!QDir().mkpath(folder)) {
        showMessage(toolText(i18n::ToolText::RideFolderFailed).arg(folder));
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const QString name = QString::fromStdString(datalog::rideLogFileName(local, state_.fileName));
    // A second recording within the same second gets a name of its own.
    QString path = folder + QLatin1Char('/') + name;
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder + QLatin1Char('/') + name.chopped(4) + QStringLiteral("_%1.csv").arg(n);
    }
    if (!recordingClock_.isValid()) recordingClock_.start();
    if (!recorder_.start(path.toStdString(), recordingClock_.elapsed())) {
        showMessage(toolText(i18n::ToolText::RideCannotRecord)
                        .arg(QString::fromStdString(recorder_.error())));
        return;
    }
    // The answer shown now came before the start.
    framesRecorded_ = link_->monitor().framesDecoded();
    markerCount_ = 0;
    if (logView_ != nullptr) logView_->endReplay();
    rideLog_->startRecording(path);
    if (logView_ != nullptr && logView_->isVisible()) rideLog_->keepRecordedRows();
    if (logView_ != nullptr) logView_->setRows(&rideLog_->rows(), QFileInfo(path).fileName());
    markerAction_->setEnabled(true);
    applyRidePolling();
    showRecordingStatus();
}

void TFormHlav::stopRecording(const QString& problem) {
    if (!recordingRide() && problem.isEmpty()) return;
    const bool closed = recorder_.stop();
    rideLog_->endRecording();
    recordAction_->setChecked(false);
    markerAction_->setEnabled(false);
    applyRidePolling();
    recordingLabel_->hide();
    const QString path = QString::fromStdString(recorder_.path());
    if (!problem.isEmpty() || !closed) {
        showMessage(
            toolText(i18n::ToolText::RideStopped)
                .arg(problem.isEmpty() ? QString::fromStdString(recorder_.error()) : problem,
                     path));
        return;
    }
    statusBar()->showMessage(toolText(i18n::ToolText::RideRecorded).arg(recorder_.rows()).arg(path),
                             10'000);
}

void TFormHlav::applyRidePolling() {
    link::TransferOptions options = link_->transfer().options();
    options.pollEveryTick = recordingRide() && fastPolling_;
    link_->transfer().setOptions(options);
}

void TFormHlav::recordRideRow() {
    if (!recordingRide()) return;
    const link::MonitorDecoder& monitor = link_->monitor();
    if (monitor.framesDecoded() == framesRecorded_) return;
    framesRecorded_ = monitor.framesDecoded();
    // What answers come during a transfer are not rides: the recording
    // resumes with the first answer after it.
    if (link_->transfer().running()) return;
    if (!recorder_.record(monitor.sample(), monitor.live(), image_, recordingClock_.elapsed())) {
        stopRecording(QString::fromStdString(recorder_.error()));
        return;
    }
    rideLog_->appendRecorded(recorder_.lastRow());
}

void TFormHlav::showRecordingStatus() {
    if (!recordingRide()) return;
    const QString text = toolText(i18n::ToolText::RideRecording)
                             .arg(durationText(recorder_.elapsedMs(recordingClock_.elapsed())))
                             .arg(recorder_.rows());
    if (recordingLabel_->text() != text) recordingLabel_->setText(text);
    if (recordingLabel_->isHidden()) recordingLabel_->show();
}

void TFormHlav::LogMarkerClick() {
    if (!recordingRide()) return;
    const QString plain = QStringLiteral("M%1").arg(++markerCount_);
    auto* dialog = new MarkerDialog(plain, uiLanguage(), this);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (recordingRide()) recorder_.mark(dialog->markerText().toStdString());
        // The keys go back to the window (Ctrl+L, the next M).
        activateWindow();
    });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TFormHlav::LogOpenClick() {
    QString folder = rideLogFolder();
    if (!QFileInfo::exists(folder)) folder = iniDir();
    const QString path = dialogs_->openRideLog(folder);
    if (!path.isEmpty()) openRideLogFile(path);
}

bool TFormHlav::openRideLogFile(const QString& path) {
    if (recordingRide()) {
        showMessage(toolText(i18n::ToolText::RideStopFirst));
        return false;
    }
    datalog::LogReadResult read = datalog::readRideLog(path.toStdString());
    if (!read.log) {
        showMessage(toolText(i18n::ToolText::RideLogUnreadable)
                        .arg(path, QString::fromStdString(read.error)));
        return false;
    }
    if (logView_ != nullptr) logView_->endReplay();
    rideLog_->openFile(path, std::move(read.log->rows));
    showLogView(QFileInfo(path).fileName());
    if (!read.log->notes.empty()) {
        statusBar()->showMessage(QString::fromStdString(read.log->notes.front()), 10'000);
    }
    return true;
}

void TFormHlav::showLogView(const QString& title) {
    if (logView_ == nullptr) {
        logView_ = new logview::LogView(this);
        logView_->setLanguage(uiLanguage());
        connect(logView_, &logview::LogView::rowShown, this, &TFormHlav::showReplayRow);
        connect(logView_, &logview::LogView::replayEnded, this, &TFormHlav::endReplay);
    }
    rideLog_->keepRecordedRows();
    logView_->setRows(&rideLog_->rows(), title);
    logView_->show();
    logView_->raise();
    logView_->activateWindow();
    logView_->setFocus();
}

const link::MonitorDecoder& TFormHlav::shownMonitor() const {
    return replay_ ? *replay_ : link_->monitor();
}

void TFormHlav::showReplayRow(int row) {
    const auto& rows = rideLog_->rows();
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    // The row before gives the engine speed the injector duty is worked
    // out with, as the unit's answers come one after the other.
    replay_.emplace();
    if (row > 0) replay_->decode(datalog::monitorAnswerOf(rows[row - 1]).bytes());
    replay_->decode(datalog::monitorAnswerOf(rows[row]).bytes());
    framesShown_ = replay_->framesDecoded() + 1;  // paint it whatever was shown
    updateLinkDisplay();
}

void TFormHlav::endReplay() {
    if (!replay_) return;
    replay_.reset();
    if (link_->monitor().framesDecoded() == 0) {
        // The unit never answered: the labels go back to the window's texts
        // without a connection, as at the start.
        monitorPresenter_.view() = editing::MonitorView{};
        presenter_.forgetShownMonitor();
        framesShown_ = 0;
        applyUiTexts();
        updateLinkDisplay();
        return;
    }
    framesShown_ = link_->monitor().framesDecoded() + 1;
    updateLinkDisplay();
    // An unanswered unit shows its placeholders again.
    applyMessageTexts();
}

}  // namespace zelvor::app
