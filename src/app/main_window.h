#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QMainWindow>
#include <QStringList>
#include <QStyle>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "app/about_window.h"
#include "app/compare_overlay.h"
#include "app/connection_report.h"
#include "app/dialogs.h"
#include "app/help_document.h"
#include "app/link_presenter.h"
#include "app/open_ride_log.h"
#include "app/page_view.h"
#include "app/port_controller.h"
#include "app/settings/settings_store.h"
#include "app/start_options.h"
#include "app/system_texts.h"
#include "datalog/log_reader.h"

#include "datalog/ride_recorder.h"
#include "doctor/serial_survey.h"
#include "editing/change_pipeline.h"
#include "editing/code_page.h"
#include "editing/map_content.h"
#include "editing/monitor_presenter.h"
#include "editing/option_handlers.h"
#include "editing/transfer_presenter.h"
#include "editing/widgets/control_registry.h"
#include "editing/window_state.h"
#include "history/snapshot.h"
#include "i18n/messages.h"
#include "i18n/tool_texts.h"
#include "link/posix_serial_port.h"
#include "link/unit_link.h"
#include "model/injection.h"
#include "model/parameter_image.h"
#include "model/sanitizer.h"
#include "print/page_printer.h"
#include "print/print_mode.h"
#include "ridetune/ride_overlay.h"

class QAction;
class QPushButton;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QTabWidget;

namespace zelvor::sim {
class SimProcess;
}

namespace zelvor::graph {
class MapGraph;
}

namespace zelvor::ridetune {
class RideTuningPanel;
}

namespace zelvor::logview {
class LogView;
}

namespace zelvor::app {

class ComparePanel;
class HistoryDialog;
class HistoryKeeper;

// The main window and the owner of everything that lives for the run: the
// parameter image, the link, the undo history, the settings and every
// control. It routes events to the objects that do the work; its handlers
// carry the names of the controls and events they serve.
class TFormHlav : public QMainWindow {
    Q_OBJECT
  public:
    TFormHlav(StartOptions options, SettingsPaths paths, std::unique_ptr<Dialogs> dialogs = {},
              QWidget* parent = nullptr);
    ~TFormHlav() override;

    // What tests and tools look at.
    model::ParameterImage& image() { return image_; }
    const widgets::ControlRegistry& controls() const { return registry_; }
    link::UnitLink& unitLink() { return *link_; }
    editing::ChangePipeline& pipeline() { return pipeline_; }
    // The change pipeline as an edit runs it: sanitize, refresh twice, record,
    // and the window acts on what changed.
    void runPipeline();
    const editing::WindowState& windowState() const { return state_; }
    int currentPage() const { return state_.currentPage; }
    PageView& pageView() { return *pageView_; }
    QTabWidget* pageControl() { return pageControl_; }
    // The designed client area (inside the scrolling central widget).
    QWidget* clientArea() const { return client_; }
    std::uint8_t language() const { return outside_.language; }
    i18n::Language uiLanguage() const { return static_cast<i18n::Language>(outside_.language); }
    // A text of the tools (compare, history, ride logs) in the window's language.
    QString toolText(i18n::ToolText key) const;
    editing::CodePage memoCodePage() const { return state_.memoCodePage; }
    std::uint8_t portIndex() const { return outside_.portIndex; }
    bool testMode() const { return testMode_; }
    const editing::AllFlags& allFlags() const { return state_.allFlags; }
    const link::CurrentCell& currentCell() const { return currentCell_; }
    QString fileName() const;
    QTimer& tickTimer() { return timer_; }
    sim::SimProcess* simulator() { return simulator_.get(); }

    // Handlers of the menus, buttons and events.
    void MenuNewClick();
    void MenuOpenClick();
    // Opens a parameter file as Open does with the file chosen in its
    // dialog: the same messages, file name and undo step. True when the
    // file was read.
    bool openParameterFile(const QString& path);
    // The File menu's entry of the recent file at this place (0: newest).
    void MenuRecentClick(int place);
    const RecentFiles& recentFiles() const { return recentFiles_; }
    // Runs the connection doctor on the chosen Com row's device and shows
    // its report.
    void MenuCheckConnectionClick();
    void MenuSaveClick();
    void MenuExitClick() { close(); }
    void ComboBoxBikeChange(int index);
    void MenuCom1Click(int index);
    // The Com menu's item of the device given for this run (--port, or the
    // simulated unit of --simulate).
    void MenuComDeviceClick();
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    void SpeedButtonZpetClick();
    void SpeedButtonZnovuClick();
    void PageControl1Change(int index);
    // The edit handlers take the control that sent them (nullptr: the
    // program itself); a control of another page than the current one
    // commits nothing.
    void EditExit(QObject* from = nullptr);
    void UpDownClick(QObject* from = nullptr);
    void FormKeyPressEnter(QWidget* from);
    void Memo1KeyPress(QObject* from = nullptr);
    void CheckBoxMouseUp();
    void RadioGroupDirectClick(std::string_view group, int item);
    void RadioGroupGearSystemClick();
    void ButtonGearClick(int gear);
    void ButtonMinusClick_PolohaA() { stepInjectionPosition(-1); }
    void ButtonPlusClick_PolohaA() { stepInjectionPosition(+1); }
    void MenuToolsMinusClick() { stepMapTools(-1); }
    void MenuToolsPlusClick() { stepMapTools(+1); }
    void CSpinButtonDownClick_Uni(int column) { stepMapColumn(column, -1); }
    void CSpinButtonUpClick_Uni(int column) { stepMapColumn(column, +1); }
    void CheckBoxTps_UniMouseUp();
    // One change of the map cells (a typed cell, a spinner, an operation on
    // the selection, a paste): written, then one pass of the pipeline.
    void MapCellsEdited(const editing::MapEdit& edit);
    void ButtonTps0Click();
    void ButtonTps100Click();
    void Menu_Jet123ModeClick(std::uint8_t mode);
    void SetLanguage(std::uint8_t language);
    void MenuMemoCodePageClick(editing::CodePage page);
    void MenuContensClick();
    void MenuAboutClick();
    void SpeedButtonPrintClick();
    bool printing() const { return printing_; }
    // How the default printer is found (tests put a recorder here).
    void setPrinterLookup(print::PrinterLookup lookup) { findPrinter_ = std::move(lookup); }
    TFormAbout& aboutWindow();
    // How documents are opened (tests put a recorder here).
    void setDocumentOpener(DocumentOpener opener) { openDocument_ = std::move(opener); }
    void Timer1Timer();

    // Tuning from ride logs (main_window_ride_tuning.cpp).
    void MenuTuneFromLogsClick();
    // Analyses the log being recorded or opened last, and again as it grows.
    void MenuTuneFromOpenLogClick();
    // Reads the logs, analyses them against the image as it is and shows
    // the panel and the overlay; a log that cannot be read is said and
    // nothing changes. True when all were read.
    bool analyseRideLogs(const QStringList& paths);
    ridetune::RideTuningPanel* rideTuningPanel() const { return ride_.panel; }
    const ridetune::RideOverlay& rideOverlay() const { return ride_.overlay; }

    // Compare and drift from the unit (main_window_compare.cpp).
    // Opens the compare panel on this reference, named in its title.
    void compareWith(const model::ParameterImage& reference, const QString& name);
    void MenuCompareFileClick();
    // Reads the unit's parameter set into a reference; the edited image
    // stays as it is.
    void MenuCompareUnitClick();
    // Opens the compare panel on the image last read from or programmed
    // into the unit.
    void ButtonDriftClick();
    ComparePanel* comparePanel() const { return comparePanel_; }
    const CompareOverlay& compareOverlay() const { return compareOverlay_; }
    const std::optional<model::ParameterImage>& unitImage() const { return unitImage_; }
    QPushButton* driftButton() const { return driftButton_; }
    // File > History…: the kept snapshots (main_window_history.cpp).
    void MenuHistoryClick();
    HistoryDialog* historyDialog() const { return historyDialog_; }
    // Puts a kept image into the window as one undo step, as Open does.
    void restoreSnapshot(const model::ParameterImage& image);
    // What the history's Compare does with a snapshot; unset, the button is
    // hidden.
    using SnapshotCompare = std::function<void(const model::ParameterImage&, const QString& name)>;
    void setSnapshotCompare(SnapshotCompare compare);
    // The snapshots the window keeps, written after the handler or tick
    // that asked for them.
    HistoryKeeper& historyKeeper() { return *historyKeeper_; }
    // A file is named and the image is not what it held when last opened
    // or saved: the title marks it.
    bool differsFromFile() const;

    // Ride logs (main_window_ride.cpp). The log that is open or being
    // recorded, for whatever shows or analyses it.
    OpenRideLog& rideLog() { return *rideLog_; }
    bool recordingRide() const;
    // Record / Stop (Ctrl+L), Marker (M), Open log.
    void LogRecordClick();
    void LogMarkerClick();
    void LogOpenClick();
    // Reads a log file and shows it in the log view; a damaged one gets a
    // message naming the line. True when it was read.
    bool openRideLogFile(const QString& path);
    logview::LogView* logView() const { return logView_; }
    // The monitor answers the live display shows: the log view's row while
    // it replays one, else the unit's.
    const link::MonitorDecoder& shownMonitor() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Building (main_window_build.cpp).
    void buildWindow();
    QWidget* buildClientArea();
    void buildMenus();
    void buildToolBar(QWidget* central);
    QIcon toolIcon(QStyle::StandardPixmap icon) const;
    void connectPageControls();
    QAction* addMenuAction(QMenu* menu, const char* name, QKeySequence shortcut = {});
    // The entries of the recent files under File, hidden while unused.
    void buildRecentFileItems(QMenu* file);
    // Parameter files dropped on the window or any of its fields open.
    void acceptFileDrops();
    void showRecentFiles();

    // The orders of start-up and close (main_window.cpp).
    void FormCreate();
    void FormClose();
    // The window's position, size, port, language and the window state, as
    // they stand.
    AppSettings currentSettings() const;
    void loadSettings();
    // Shows the window state in its widgets: the file name, the page and the
    // remembered check boxes.
    void showWindowState();
    // Lets the check boxes that hold window state write it when toggled.
    void connectStateBoxes();
    void saveSettings();
    void startSimulator();
    // The Com menu's caption of the device given for this run; empty for
    // the bare device path.
    QString deviceCaption() const;
    // Brings the window (with its frame, once that is known) inside the
    // available area of the screen it is on, or of the primary screen when
    // it is on none: smaller where the screen is smaller, then moved in.
    void fitIntoScreen();

    // The memo's code page and Qt's own texts (main_window_texts.cpp).
    void buildMemoCodePageMenu(QMenu* menu);
    void showMemoCodePage();
    void MemoCharactersRefused(const QString& characters);

    // Shared steps.
    void recordSnapshot();
    // Acts on what a change, an undo or a redo did: flags the changed blocks,
    // switches to the page, refreshes it, enables undo and redo, starts
    // programming, in this order.
    void carryOut(const editing::ChangeOutcome& outcome);
    void applyUiTexts();
    void applyMessageTexts();
    // The tools' panels and windows that are open take the language too.
    void applyToolTexts();
    void showMessage(const QString& text);
    // Shows the box once the current handler or tick is over; the same text
    // waiting already is not queued twice.
    void postMessage(const QString& text);
    void flushDeferredMessages();
    QString message(i18n::MessageKey key) const;
    void hideStatus();
    // Hides the status label and gauge of the transfers.
    void hideTransferStatus();
    // Stops a running transfer (its label says so); false when none ran.
    bool stopTransfer();
    // Asks before a close would leave the unit half programmed.
    bool closeAllowed();
    // The settings or the dump could not be written: says why and offers to
    // keep the parameter set in a file of the tuner's choice.
    void offerToSaveParameters(const QString& problem);
    void setFileName(const QString& path);
    // Does what a transfer reports: collect before it sends, show the
    // image again, forget the file name, tell of another unit version.
    void actOnTransfer(const link::TransferOutcome& outcome);
    // The folder last chosen in the file dialogs, and choosing it.
    QString iniDir() const { return QString::fromStdString(state_.iniDir); }
    void setIniDir(const QString& folder) { state_.iniDir = folder.toStdString(); }
    void updateLinkDisplay();
    void stepInjectionPosition(int direction);
    void stepMapTools(int direction);
    void stepMapColumn(int column, int direction);
    bool tickAllowed() const;
    // Whether an edit event of this control may collect its page now.
    bool commitAllowed(const QObject* from) const;
    // Takes a value typed into the field with the focus, as leaving it would.
    void commitFocusedField();
    // Connects the map cells' edits and refused pastes.
    void connectMapCells();
    // Shows or hides the graph of the shown map (built when first shown).
    void showMapGraph(bool shown);
    // Tuning from ride logs (main_window_ride_tuning.cpp).
    void buildRideTuningItems(QMenu* log);
    void showRideTuning();
    void analyseRide();
    void followOpenRideLog();
    void showRideOverlay();
    void lockRideCells(bool lock);
    void applyRideSuggestions(bool selectionOnly);
    ridetune::CellsPerMap rideCellsChangedSinceLog() const;
    // The findings without the cells changed since the logs were analysed.
    datalog::RideFindings rideFindingsNow(const ridetune::CellsPerMap& changed) const;

    // The default printer or, without one, a PDF file the user names;
    // nullptr when the user cancels.
    std::unique_ptr<print::PagePrinter> choosePrinter();

    StartOptions options_;
    SettingsStore store_;
    std::unique_ptr<Dialogs> dialogs_;

    model::ParameterImage image_;
    model::InjectionScaling scaling_;
    model::OutsideSettings outside_{0, 1};
    i18n::MessageTable messages_;
    // File, folder, page, the options of the check boxes and the memo's code
    // page (the memo and the unit's identification are kept in it, whatever
    // the window language).
    editing::WindowState state_;
    QtStandardTexts qtTexts_;
    bool testMode_ = false;
    bool printing_ = false;

    widgets::ControlRegistry registry_;
    QTabWidget* pageControl_ = nullptr;
    QWidget* client_ = nullptr;
    bool fittedWithFrame_ = false;
    bool activatedOnce_ = false;
    link::PosixSerialPort port_;
    std::unique_ptr<link::UnitLink> link_;
    std::unique_ptr<sim::SimProcess> simulator_;
    PortController* ports_ = nullptr;
    std::unique_ptr<PageView> pageView_;
    LinkPresenter presenter_{registry_};
    editing::MonitorPresenter monitorPresenter_{image_, messages_};
    editing::TransferPresenter transferPresenter_{messages_};
    editing::ChangePipeline pipeline_;
    editing::OptionHandlers handlers_;

    TFormAbout* about_ = nullptr;
    DocumentOpener openDocument_ = systemDocumentOpener();
    RecentFiles recentFiles_;
    QList<QAction*> recentItems_;
    ConnectionReportDialog* connectionReport_ = nullptr;
    graph::MapGraph* mapGraph_ = nullptr;
    // The serial devices at start-up, so that Check connection can say which
    // came or went since (a re-plugged adapter may have a new name).
    std::vector<doctor::SerialDevice> devicesAtStart_ = doctor::surveySerialDevices({});
    std::unique_ptr<print::PrintMode> printMode_;
    print::PrinterLookup findPrinter_ = print::defaultPrinter;

    QTimer timer_;
    bool inTick_ = false;
    std::uint32_t framesShown_ = 0;
    // Column of the injection-position table nearest to the live engine
    // speed, kept while the position page is shown.
    int positionIndex_ = 0;
    // The map cell nearest to the live operating point, kept while a map
    // page is shown; the map tools act on it while the engine runs.
    link::CurrentCell currentCell_;
    // Messages that arise inside a tick are shown after it, one each.
    QStringList deferredMessages_;
    bool closing_ = false;

    // Tuning from ride logs: the logs analysed, the image they were analysed
    // against, what they say, and its panel and overlay.
    struct RideTuning {
        std::vector<datalog::RideLog> logs;
        model::ParameterImage analysedImage;
        datalog::RideFindings findings;
        QString source;
        std::string folder;
        ridetune::RideTuningPanel* panel = nullptr;
        ridetune::RideOverlay overlay;
        // How far the window grew and moved left to make room for the panel.
        int grownBy = 0;
        int shiftedBy = 0;
        // The analysis follows the window's open log (a recording as it
        // grows) rather than files of its own.
        bool followsOpenLog = false;
        QString followedPath;
        QTimer followTimer;
    };
    RideTuning ride_;

    // Compare and drift from the unit (main_window_compare.cpp).
    void buildCompareParts(QMenu* file);
    // The compare panel, the grid's marks and the drift count follow the
    // image after a change, an undo or redo, a Read or an Open.
    void followComparison();
    void compareTake(const std::vector<compare::Difference>& rows);
    void compareEnded();
    // A finished transfer: the unit holds the image (or the copy it read).
    void keepUnitImage(const link::TransferOutcome& outcome);
    void loadUnitImageFromHistory();
    void showDrift();
    void showComparePanelTexts();
    ComparePanel* comparePanel_ = nullptr;
    CompareOverlay compareOverlay_;
    // The image the unit holds as far as the program knows: the last Read or
    // Program, at start the newest of them in the history.
    std::optional<model::ParameterImage> unitImage_;
    bool comparingWithUnit_ = false;
    // How much wider the window became for the panel; given back when it closes.
    int compareGrowth_ = 0;
    int compareShift_ = 0;  // how far the window moved left for the panel
    QPushButton* driftButton_ = nullptr;
    // History of snapshots and the title with the file (main_window_history.cpp).
    void buildHistoryItem(QMenu* file);
    // Queues the image for the history with the file name and, when the
    // event talked to the unit, its identification.
    void keepSnapshot(history::Event event, bool unitTalkedTo);
    // The file named now holds exactly the image (it was opened or saved).
    void fileKept(history::Event event);
    // The file the settings name, as Open would read it, for the mark.
    void readFileAtStart();
    void showTitle();
    HistoryKeeper* historyKeeper_ = nullptr;
    HistoryDialog* historyDialog_ = nullptr;
    SnapshotCompare compareSnapshot_;
    // The image as the named file was last opened or saved.
    std::optional<model::ParameterImage> fileImage_;
    // The title of the language, without the file.
    QString baseTitle_;

    // Ride logs: recording, the open log and its view (main_window_ride.cpp).
    void buildLogMenu();
    QString rideLogFolder() const;
    // One row per monitor answer while recording, none during a transfer.
    void recordRideRow();
    void showRecordingStatus();
    // Ends the recording; a problem (a write error) is shown in a box.
    void startRecording();
    void stopRecording(const QString& problem = {});
    // The link polls on every tick while recording with fast polling.
    void applyRidePolling();
    void showLogView(const QString& title);
    void showReplayRow(int row);
    void endReplay();
    OpenRideLog* rideLog_ = nullptr;
    datalog::RideRecorder recorder_;
    QElapsedTimer recordingClock_;
    std::uint32_t framesRecorded_ = 0;
    int markerCount_ = 0;
    bool fastPolling_ = true;
    bool logViewRedrawPending_ = false;
    QAction* recordAction_ = nullptr;
    QAction* markerAction_ = nullptr;
    QLabel* recordingLabel_ = nullptr;
    logview::LogView* logView_ = nullptr;
    std::optional<link::MonitorDecoder> replay_;
};

}  // namespace zelvor::app
