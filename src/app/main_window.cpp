#include "app/main_window.h"

#include "app/history_keeper.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <algorithm>

#include "editing/page_index.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/mouse_up_check_box.h"
#include "i18n/ui_texts.h"
#include "launcher/sim_process.h"
#include "model/default_set.h"
#include "model/parameter_file_io.h"

namespace zelvor::app {

namespace {

constexpr int kTickMilliseconds = 55;

// The check boxes that hold window state: toggling one, by the user or by a
// refresh, writes its flag. The settings keep the remembered ones, which show
// the state read from them.
struct StateBox {
    const char* name;
    bool editing::WindowState::*checked;
    bool remembered;
};
constexpr StateBox kStateBoxes[] = {
    {"CheckBoxZobrMs_Uni", &editing::WindowState::msDisplay, true},
    {"CheckBoxExtMonitor", &editing::WindowState::extendedMonitor, true},
    {"CheckBoxAll_PolohaA", &editing::WindowState::allPosition, true},
    {"CheckBoxProgHned", &editing::WindowState::programAfterChange, false},
    {"CheckBoxGas", &editing::WindowState::n2oTicked, false},
};

// The simulated unit beside the program (a build or an installed package),
// else the one on the PATH.
QString simulatorExecutable() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/zelvor-sim");
    if (QFile::exists(beside)) return beside;
    return QStringLiteral("zelvor-sim");
}

}  // namespace

TFormHlav::TFormHlav(StartOptions options, SettingsPaths paths, std::unique_ptr<Dialogs> dialogs,
                     QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      store_(std::move(paths)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this)),
      pipeline_(image_, &outside_),
      handlers_(image_, pipeline_, state_,
                {.collect = [this] { pageView_->collect(); },
                 .viewUpdate = [this] { pageView_->viewUpdate(); },
                 .refresh = [this] { pageView_->refresh(); }}) {
    state_.memoCodePage = systemMemoCodePage();
    link_ = std::make_unique<link::UnitLink>(image_, port_);

    buildWindow();
    FormCreate();
    acceptFileDrops();
    readFileAtStart();
    // A file named on the command line opens once start-up is complete, as
    // if chosen in the Open dialog (which gives a full path).
    if (!options_.file.isEmpty()) openParameterFile(QFileInfo(options_.file).absoluteFilePath());
    // A log named on the command line opens over the window once it is up.
    if (!options_.logFile.isEmpty()) {
        QTimer::singleShot(
            0, this, [this] { openRideLogFile(QFileInfo(options_.logFile).absoluteFilePath()); });
    }
}

void TFormHlav::MenuContensClick() {
    const QString name = message(i18n::MessageKey::MsgHelpFile);
    const QString path = findHelpDocument(name);
    if (path.isEmpty() || !openDocument_(path)) {
        showMessage(message(i18n::MessageKey::MsgHelpOpenError));
    }
}

void TFormHlav::MenuAboutClick() {
    aboutWindow().exec();
}

TFormAbout& TFormHlav::aboutWindow() {
    // Made when first asked for: start-up does not wait for a box seldom
    // opened.
    if (about_ == nullptr) {
        about_ = new TFormAbout([this] { return outside_.language; }, this);
        about_->hide();
    }
    return *about_;
}

TFormHlav::~TFormHlav() {
    // Snapshots still queued are written, not lost with the window.
    historyKeeper_->flush();
    closing_ = true;
    timer_.stop();
    port_.close();
    // The controls are deleted after this object's members: none of their
    // signals may reach a handler from here on.
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
    // The focus leaves now, while the window is whole and knows it is
    // closing; a control losing it later, while the controls go, would run
    // the window's commit through its event filters on a window half gone.
    if (QWidget* focus = QApplication::focusWidget(); focus != nullptr && isAncestorOf(focus)) {
        focus->clearFocus();
    }
}

void TFormHlav::FormCreate() {
    // The map pages and the table editors were built with the window.
    outside_.portIndex = 1;
    image_.set(model::Field::BIKE_BikeType, 0);
    model::loadDefaultSet(image_, scaling_);

    // The designed size, made smaller first where the screen is smaller,
    // is what is centred.
    fitIntoScreen();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    loadSettings();
    fitIntoScreen();
    PageControl1Change(pageControl_->currentIndex());
    if (auto* gauge = registry_.find<QProgressBar>("CGaugeProgram")) {
        gauge->setRange(0, link::ProgressGauge::kMaxValue);
    }
    model::applyBikeUpdate(image_);
    scaling_.computeBaseTables(image_);
    if (options_.language) outside_.language = *options_.language;
    // Connection ticks start at 18 in the engine: "No Connection" shows from
    // the 7th tick unless the unit answers first.
    model::sanitize(image_, outside_);
    messages_.apply(static_cast<i18n::Language>(outside_.language));
    pageView_->refresh();
    // What the unit holds, as the history last saw it, is looked up once the
    // window is up: with a long history that reading is the slowest part of
    // the start, and nothing shown first depends on it.
    QTimer::singleShot(0, this, [this] {
        loadUnitImageFromHistory();
        showDrift();
    });
    carryOut(pipeline_.initialise(state_));
    if (options_.simulate) startSimulator();
    if (options_.portDevice) ports_->setDeviceOverride(options_.portDevice, deviceCaption());
    ports_->setPortOverrides(store_.portMap());
    ports_->open(outside_.portIndex, message(i18n::MessageKey::MsgComOpenError));
    applyUiTexts();
    pageView_->refresh();
    for (const char* name : {"LabelHlaseni", "LabelEeDataErr"}) {
        if (auto* w = registry_.find<QWidget>(name)) w->hide();
    }
    if (auto* gauge = registry_.find<QWidget>("CGaugeProgram")) gauge->hide();
    testMode_ = store_.testMode();
    for (int i = 1; i <= 8; ++i) {
        if (auto* label = registry_.find<QWidget>("LabelTest" + std::to_string(i))) {
            label->setVisible(testMode_);
        }
    }
    pageView_->viewUpdate();

    timer_.setInterval(kTickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &TFormHlav::Timer1Timer);
    timer_.start();
}

AppSettings TFormHlav::currentSettings() const {
    AppSettings s;
    // The position of the frame (what move() takes back), the size of the
    // window itself (what resize() takes), so the window does not creep.
    // The panels beside the pages are not shown again at the next start, so
    // the room they took is given back here.
    s.left = x() + ride_.shiftedBy + compareShift_;
    s.top = y();
    s.width = std::max(minimumWidth(), width() - ride_.grownBy - compareGrowth_);
    s.height = height();
    s.portIndex = outside_.portIndex;
    s.language = outside_.language;
    s.window = state_;
    s.recentFiles = recentFiles_;
    return s;
}

void TFormHlav::loadSettings() {
    const AppSettings s = store_.load(currentSettings());
    move(s.left, s.top);
    resize(s.width, s.height);
    outside_.portIndex = s.portIndex;
    outside_.language = s.language;
    state_ = s.window;
    recentFiles_ = s.recentFiles;
    showRecentFiles();
    showWindowState();
    store_.loadDump(image_, state_);
}

void TFormHlav::showWindowState() {
    if (auto* label = registry_.find<QLabel>("LabelFile2")) {
        label->setText(QString::fromStdString(state_.fileName));
    }
    pageControl_->setCurrentIndex(state_.currentPage);
    for (const StateBox& stateBox : kStateBoxes) {
        auto* box = registry_.find<QAbstractButton>(stateBox.name);
        if (box != nullptr && stateBox.remembered) box->setChecked(state_.*stateBox.checked);
    }
}

void TFormHlav::connectStateBoxes() {
    for (const StateBox& stateBox : kStateBoxes) {
        if (auto* box = registry_.find<QAbstractButton>(stateBox.name)) {
            const auto flag = stateBox.checked;
            connect(box, &QAbstractButton::toggled, this,
                    [this, flag](bool checked) { state_.*flag = checked; });
        }
    }
}

void TFormHlav::fitIntoScreen() {
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                           frame.right() - inner.right(), frame.bottom() - inner.bottom());
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QSize room = area.size().shrunkBy(margins);
    QSize wanted = size();
    const int unscrolledHeight =
        client_->height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    if (room.height() < unscrolledHeight) {
        // The client area will scroll up and down: its scroll bar takes
        // room, which the window gets where the screen has it, so the
        // client area need not scroll sideways too.
        const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        wanted.setWidth(std::max(wanted.width(), client_->width() + scrollBar));
    }
    const QSize fitted = wanted.boundedTo(room).expandedTo(minimumSize());
    if (fitted != size()) resize(fitted);
    const QSize outer = fitted.grownBy(margins);
    const int left =
        std::clamp(x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int top =
        std::clamp(y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(left, top) != pos()) move(left, top);
}

void TFormHlav::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (fittedWithFrame_) return;
    fittedWithFrame_ = true;
    // A window manager's frame is known only once the window is on the
    // screen; it must fit too.
    QTimer::singleShot(0, this, &TFormHlav::fitIntoScreen);
}

void TFormHlav::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Some window managers add their frame only by the first activation.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activatedOnce_) {
        activatedOnce_ = true;
        fitIntoScreen();
    }
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    if (!closing_ && !closeAllowed()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TFormHlav::closeAllowed() {
    if (link_->transfer().state() != link::TransferState::Program) return true;
    return dialogs_->askYesNoCancel(message(i18n::MessageKey::MsgAskCloseProgramming)) ==
           Dialogs::Answer::Yes;
}

void TFormHlav::FormClose() {
    if (closing_) return;
    closing_ = true;
    timer_.stop();
    stopRecording();
    port_.close();
    pageView_->collect();
    model::sanitize(image_, outside_);
    saveSettings();
    // The image the close keeps, in the history too, before the program ends.
    keepSnapshot(history::Event::Close, false);
    historyKeeper_->flush();
    if (simulator_) simulator_->stop();
}

void TFormHlav::saveSettings() {
    const std::string problem = store_.save(currentSettings(), image_);
    if (!problem.empty()) offerToSaveParameters(QString::fromStdString(problem));
}

void TFormHlav::offerToSaveParameters(const QString& problem) {
    // The next start would come up without this session's edits: the tuner
    // hears why, and may keep them in a file until he says no.
    const QString question = message(i18n::MessageKey::MsgSettingsNotSaved) + QStringLiteral("\n") +
                             problem + QStringLiteral("\n\n") +
                             message(i18n::MessageKey::MsgAskSaveParameters);
    while (dialogs_->askYesNoCancel(question) == Dialogs::Answer::Yes) {
        const QString path = dialogs_->saveParameterFile(iniDir(), fileName());
        if (path.isEmpty()) continue;
        const model::FileWriteResult written = model::saveParameterFile(path.toStdString(), image_);
        if (written) return;
        dialogs_->message(message(i18n::MessageKey::MsgOpenFileError) + QStringLiteral("\n") +
                          path + QStringLiteral("\n") + QString::fromStdString(written.error));
    }
}

void TFormHlav::startSimulator() {
    std::string error;
    std::vector<std::string> arguments = options_.simulatorArguments;
    auto process = sim::SimProcess::start(simulatorExecutable().toStdString(), arguments, error);
    if (!process) {
        showMessage(toolText(i18n::ToolText::SimulatorFailed).arg(QString::fromStdString(error)));
        return;
    }
    simulator_ = std::make_unique<sim::SimProcess>(std::move(*process));
    options_.portDevice = simulator_->devicePath();
}

QString TFormHlav::deviceCaption() const {
    if (!simulator_ || !options_.portDevice) return {};
    return QStringLiteral("zelvor-sim %1").arg(QString::fromStdString(*options_.portDevice));
}

void TFormHlav::MenuComDeviceClick() {
    // A simulated unit that has ended (or was ended) is started anew; its
    // pseudo-terminal went with it.
    if (options_.simulate && !(simulator_ && simulator_->alive())) {
        if (simulator_) simulator_->stop();
        simulator_.reset();
        startSimulator();
        if (options_.portDevice) ports_->setDeviceOverride(options_.portDevice, deviceCaption());
    }
    ports_->useDeviceOverride(true);
    ports_->close();
    ports_->open(outside_.portIndex, message(i18n::MessageKey::MsgComOpenError));
}

QString TFormHlav::message(i18n::MessageKey key) const {
    return QString::fromStdString(messages_.text(key));
}

void TFormHlav::showMessage(const QString& text) {
    // Inside a tick (or while another box is open) the box waits until the
    // tick is over; an identical box already waiting is not shown twice.
    if (inTick_ || QApplication::activeModalWidget() != nullptr) {
        postMessage(text);
        return;
    }
    dialogs_->message(text);
}

void TFormHlav::postMessage(const QString& text) {
    if (!deferredMessages_.contains(text)) deferredMessages_ << text;
    QTimer::singleShot(0, this, &TFormHlav::flushDeferredMessages);
}

void TFormHlav::flushDeferredMessages() {
    if (inTick_ || QApplication::activeModalWidget() != nullptr || deferredMessages_.isEmpty()) {
        if (!deferredMessages_.isEmpty()) {
            QTimer::singleShot(kTickMilliseconds, this, &TFormHlav::flushDeferredMessages);
        }
        return;
    }
    const QString text = deferredMessages_.takeFirst();
    dialogs_->message(text);
    if (!deferredMessages_.isEmpty())
        QTimer::singleShot(0, this, &TFormHlav::flushDeferredMessages);
}

QString TFormHlav::fileName() const {
    return QString::fromStdString(state_.fileName);
}

void TFormHlav::setFileName(const QString& path) {
    state_.fileName = path.toStdString();
    if (auto* label = registry_.find<QLabel>("LabelFile2")) label->setText(path);
    if (path.isEmpty()) fileImage_.reset();
    showTitle();
}

void TFormHlav::hideStatus() {
    for (const char* name : {"LabelHlaseni", "CGaugeProgram"}) {
        if (auto* w = registry_.find<QWidget>(name)) w->hide();
    }
}

bool TFormHlav::tickAllowed() const {
    // One thread: no tick inside a tick, none while a modal box runs its own
    // event loop on top of a handler, and none while the window is in print
    // mode for a printout.
    return !inTick_ && !closing_ && !printing_ && QApplication::activeModalWidget() == nullptr;
}

void TFormHlav::Timer1Timer() {
    if (!tickAllowed()) return;
    inTick_ = true;
    monitorPresenter_.setOptions({state_.extendedMonitor, state_.n2oTicked});
    actOnTransfer(link_->tick());
    recordRideRow();
    updateLinkDisplay();
    showRecordingStatus();
    inTick_ = false;
}

void TFormHlav::actOnTransfer(const link::TransferOutcome& outcome) {
    if (outcome.collectBeforeSending) {
        pageView_->collect();
        actOnTransfer(link_->transfer().imageCollected());
    }
    if (outcome.refreshImage) pageView_->refresh();
    if (outcome.fileNameLapsed) setFileName({});
    // The unit now holds the window's image: kept once the tick is over.
    if (outcome.succeeded == link::TransferKind::Read) keepSnapshot(history::Event::Read, true);
    if (outcome.succeeded == link::TransferKind::Program) {
        keepSnapshot(history::Event::Program, true);
    }
    // Inside a tick the box waits until the tick is over.
    if (outcome.versionMismatch) {
        showMessage(QString::fromStdString(
            editing::versionMismatchText(messages_, *outcome.versionMismatch)));
    }
    if (outcome.succeeded || outcome.copyRead) keepUnitImage(outcome);
    if (outcome.refreshImage || outcome.succeeded || outcome.copyRead) followComparison();
    // Program and Verify collect the controls first: the image may change.
    showTitle();
}

void TFormHlav::updateLinkDisplay() {
    const link::MonitorDecoder& monitor = shownMonitor();
    if (monitor.framesDecoded() != framesShown_) {
        framesShown_ = monitor.framesDecoded();
        monitorPresenter_.present(monitor);
        presenter_.showMonitor(monitorPresenter_.view());
    }
    presenter_.showTransfer(link_->transfer(), transferPresenter_, printing_);
    const editing::PageHighlight highlight =
        editing::highlightLivePoint(state_.currentPage, monitor.live(), image_);
    presenter_.showHighlight(highlight);
    if (highlight.currentCell) currentCell_ = *highlight.currentCell;
    if (const int lit = highlight.lit(editing::HighlightGroup::PositionAxisEdits); lit >= 0) {
        positionIndex_ = lit;
    }
}

}  // namespace zelvor::app
