// The Log menu against the simulated unit (recording, markers, no rows
// during a Read) and the log view driving the live display.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include <sys/resource.h>

#include "../datalog/ride_rows.h"
#include "../support/real_input.h"
#include "../support/temp_folder.h"
#include "../support/window_fixture.h"
#include "app/marker_dialog.h"
#include "app/start_options.h"
#include "datalog/log_format.h"
#include "datalog/log_reader.h"
#include "editing/page_index.h"
#include "logview/log_view.h"
#include "logview/strip_chart.h"
#include "model/injection.h"
#include "ridetune/ride_tuning_panel.h"

using namespace zelvor;
using zelvor::testing::RowBuilder;
using zelvor::testing::showActive;
using zelvor::testing::WindowUnderTest;

namespace {

app::StartOptions simulated() {
    app::StartOptions options;
    options.simulate = true;
    return options;
}

// A key where the focus is, or on the window when nothing has it.
void keyInWindow(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &window, key, modifiers);
}

QLabel* label(app::TFormHlav& w, const char* name) {
    if (auto* found = w.findChild<QLabel*>(QString::fromLatin1(name))) return found;
    return w.controls().find<QLabel>(name);
}

QString labelText(app::TFormHlav& w, const char* name) {
    QLabel* found = label(w, name);
    return found != nullptr ? found->text() : QStringLiteral("(no label %1)").arg(name);
}

bool rowsReach(app::TFormHlav& w, std::size_t count, int milliseconds = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (w.rideLog().rowCount() < count) {
        if (clock.elapsed() > milliseconds) return false;
        QTest::qWait(20);
    }
    return true;
}

QStringList logFiles(const QString& dataHome) {
    QDir logs(dataHome + QStringLiteral("/zelvor/logs"));
    QStringList files;
    for (const QString& name : logs.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
        files << logs.filePath(name);
    }
    return files;
}

// The marker dialog once it is open, with the focus in its field.
app::MarkerDialog* markerDialog() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000) {
        if (auto* found = qobject_cast<app::MarkerDialog*>(QApplication::activeWindow())) {
            return found;
        }
        QTest::qWait(20);
    }
    return nullptr;
}

}  // namespace

class WindowRideLogTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QTemporaryDir dataHome_;

    // A log of 40 rows: the engine climbs through the columns of the
    // default injection axis at 30 % throttle; row 20 carries a marker.
    QString writeLog(app::TFormHlav& w, const QString& name) {
        std::vector<datalog::LogRow> rows;
        for (int i = 0; i < 40; ++i) {
            const int column = i % model::kMapColumns;
            const int rpm =
                static_cast<int>(w.image().get(model::Field::RPM_JET_1A_Rpm, column)) * 100;
            RowBuilder row;
            row.at(1000 + i * 55)
                .set(link::MonitorChannel::EngineSpeed, rpm)
                .throttleTenths(300)
                .lambda(100 + i * 10);
            if (i == 20) row.marker("pit lane");
            rows.push_back(row);
        }
        const QString path = folder_.filePath(name);
        zelvor::testing::putFile(path.toStdString(), zelvor::testing::logText(rows));
        return path;
    }

  private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8()); }

    void ctrlLRecordsTheUnitsAnswersWithTheCommandLinesColumns() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        showActive(w);
        QVERIFY(!w.recordingRide());
        QVERIFY(!w.unitLink().transfer().options().pollEveryTick);

        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(w.recordingRide());
        auto* record = w.findChild<QAction*>(QStringLiteral("LogRecord"));
        QVERIFY(record->isChecked());
        QVERIFY(w.unitLink().transfer().options().pollEveryTick);  // fast by default
        QVERIFY(rowsReach(w, 10));
        QTRY_VERIFY(labelText(w, "LabelRecording").contains(QStringLiteral("rows")));

        // M with a comment, then M with Escape: a plain marker.
        keyInWindow(w, Qt::Key_M);
        app::MarkerDialog* dialog = markerDialog();
        QVERIFY(dialog != nullptr);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("pit lane, 2nd"));
        keyInWindow(w, Qt::Key_Return);
        QVERIFY(rowsReach(w, w.rideLog().rowCount() + 2));
        showActive(w);
        keyInWindow(w, Qt::Key_M);
        QVERIFY(markerDialog() != nullptr);
        keyInWindow(w, Qt::Key_Escape);
        const std::size_t marked = w.rideLog().rowCount();
        QVERIFY(rowsReach(w, marked + 5));

        showActive(w);
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!w.recordingRide());
        QVERIFY(!record->isChecked());
        QVERIFY(!w.unitLink().transfer().options().pollEveryTick);
        QVERIFY(!label(w, "LabelRecording")->isVisible());

        const QStringList files = logFiles(dataHome_.path());
        QCOMPARE(files.size(), 1);
        QVERIFY(files.first().endsWith(QStringLiteral("_untitled.csv")));
        QFile file(files.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine().trimmed().toStdString(), datalog::logHeader());
        const datalog::LogReadResult read = datalog::readRideLog(files.first().toStdString());
        QVERIFY2(read.log.has_value(), read.error.c_str());
        QCOMPARE(read.log->rows.size(), w.rideLog().rowCount());
        QStringList markers;
        for (const datalog::LogRow& row : read.log->rows) {
            if (!row.marker.empty()) markers << QString::fromStdString(row.marker);
            QVERIFY(row.value(link::MonitorChannel::UnitVersion) != 0);  // a real answer
        }
        QCOMPARE(markers, (QStringList{QStringLiteral("pit lane, 2nd"), QStringLiteral("M2")}));
    }

    // A recording nobody looks at is only counted; tuning from it takes every
    // row so far, read back from the file, and then each new one.
    void aRecordingIsKeptInMemoryOnlyOnceItIsShown() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        showActive(w);
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(rowsReach(w, 10));
        QVERIFY(w.rideLog().rows().empty());

        w.findChild<QAction*>(QStringLiteral("MenuTuneFromOpenLog"))->trigger();
        const std::size_t shown = w.rideLog().rowCount();
        QCOMPARE(w.rideLog().rows().size(), shown);
        QVERIFY(rowsReach(w, shown + 5));
        QCOMPARE(w.rideLog().rows().size(), w.rideLog().rowCount());
        showActive(w);
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        const datalog::LogReadResult read = datalog::readRideLog(w.rideLog().path().toStdString());
        QVERIFY(read.log.has_value());
        QCOMPARE(read.log->rows.size(), w.rideLog().rows().size());
        QCOMPARE(read.log->rows.back().timeMs, w.rideLog().rows().back().timeMs);
    }

    // A recording stopped before anything showed it is tuned from every row
    // it wrote, read back from its file.
    void aRecordingStoppedUnseenIsTunedFromAllItsRows() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        showActive(w);
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(rowsReach(w, 10));
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!w.recordingRide());
        const std::size_t recorded = w.rideLog().rowCount();

        w.findChild<QAction*>(QStringLiteral("MenuTuneFromOpenLog"))->trigger();
        QCOMPARE(w.rideLog().rows().size(), recorded);
        QVERIFY2(w.rideTuningPanel()->summary().contains(QStringLiteral("\n%1 rows").arg(recorded)),
                 qPrintable(w.rideTuningPanel()->summary()));
    }

    void noRowsWhileAReadRunsAndTheRecordingGoesOnAfterIt() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        showActive(w);
        int rowsDuringTransfer = 0;
        connect(&w.rideLog(), &app::OpenRideLog::rowsChanged, this, [&] {
            if (w.unitLink().transfer().running()) ++rowsDuringTransfer;
        });
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(rowsReach(w, 5));
        keyInWindow(w, Qt::Key_F7);
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Read);
        const std::size_t atRead = w.rideLog().rowCount();
        QTRY_COMPARE_WITH_TIMEOUT(labelText(w, "LabelHlaseni"), QStringLiteral("Verify: OK"),
                                  20000);
        QVERIFY(w.recordingRide());
        QVERIFY(rowsReach(w, w.rideLog().rowCount() + 5));
        QCOMPARE(rowsDuringTransfer, 0);
        QVERIFY(w.rideLog().rowCount() >= atRead + 5);
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
    }

    void aFullDiskStopsTheRecordingWithAMessageAndKeepsTheRowsBeforeIt() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        showActive(w);
        const QStringList before = logFiles(dataHome_.path());
        t.script.messages.clear();
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(rowsReach(w, 3));
        // The file may grow no more: the next writes fail as on a full disk.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        QStringList files = logFiles(dataHome_.path());
        for (const QString& f : before) files.removeAll(f);
        QCOMPARE(files.size(), 1);
        rlimit full = old;
        full.rlim_cur = static_cast<rlim_t>(QFileInfo(files.first()).size());
        ::setrlimit(RLIMIT_FSIZE, &full);
        QTRY_VERIFY_WITH_TIMEOUT(!w.recordingRide(), 5000);
        ::setrlimit(RLIMIT_FSIZE, &old);
        QTRY_COMPARE(t.script.messages.size(), 1);
        QVERIFY2(t.script.messages.first().startsWith(QStringLiteral("The recording stopped")),
                 qPrintable(t.script.messages.first()));
        QVERIFY(!w.unitLink().transfer().options().pollEveryTick);
        // Every row the window took is in the file, whole.
        const datalog::LogReadResult read = datalog::readRideLog(files.first().toStdString());
        QVERIFY2(read.log.has_value(), read.error.c_str());
        QVERIFY(read.log->notes.empty());
        QCOMPARE(read.log->rows.size(), w.rideLog().rowCount());
        // The window goes on: the unit is still shown and a new recording starts.
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(w.recordingRide());
        QVERIFY(rowsReach(w, 2));
        keyInWindow(w, Qt::Key_L, Qt::ControlModifier);
    }

    void theLogViewsCursorShowsItsRowInTheLivePanelAndLightsTheCell() {
        QString logPath;
        {
            WindowUnderTest probe(folder_.path());
            logPath = writeLog(probe.window, QStringLiteral("ride.csv"));
        }
        // zelvor --log FILE.csv, beside a parameter file or without one.
        QVERIFY(!app::parseStartOptions({QStringLiteral("--log")}).error.isEmpty());
        const app::StartOptions both =
            app::parseStartOptions({QStringLiteral("--log"), logPath, QStringLiteral("tune.ign")});
        QVERIFY(both.error.isEmpty());
        QCOMPARE(both.file, QStringLiteral("tune.ign"));
        const app::StartOptions options =
            app::parseStartOptions({QStringLiteral("--log"), logPath});
        QVERIFY(options.error.isEmpty());
        QCOMPARE(options.logFile, logPath);
        WindowUnderTest t(folder_.path(), options);
        app::TFormHlav& w = t.window;
        showActive(w);
        QTest::mouseClick(w.pageControl()->tabBar(), Qt::LeftButton, {},
                          w.pageControl()->tabBar()->tabRect(editing::kPageJet1A).center());
        QCOMPARE(w.currentPage(), editing::kPageJet1A);
        const QString liveRpm = labelText(w, "LabelRpm");

        // --log opens the view once the window is up.
        QTRY_VERIFY(w.logView() != nullptr && w.logView()->isVisible());
        logview::LogView* view = w.logView();
        QCOMPARE(w.rideLog().rowCount(), std::size_t{40});
        QCOMPARE(view->charts().size(), std::size_t{5});
        QVERIFY(QTest::qWaitForWindowActive(view));

        // A click into a chart puts the cursor on the nearest row, the
        // arrow keys move it.
        logview::StripChart* chart = view->charts().front();
        const double x = chart->xOf(1.0 + 3 * 0.055);
        QTest::mouseClick(chart->viewport(), Qt::LeftButton, {},
                          QPoint(static_cast<int>(x), chart->height() / 2));
        QCOMPARE(view->cursorRow(), 3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(view->cursorRow(), 5);
        const int rpm = static_cast<int>(w.image().get(model::Field::RPM_JET_1A_Rpm, 5)) * 100;
        QCOMPARE(labelText(w, "LabelRpm").trimmed(), QStringLiteral("RPM = %1").arg(rpm));
        QCOMPARE(labelText(w, "LabelLambda"), QStringLiteral("Lambda = 150 mV"));
        // 30 % throttle is row 5; the speed is column 5's axis point.
        QCOMPARE(w.currentCell().row, 5);
        QCOMPARE(w.currentCell().column, 5);

        // The unit's answers do not overwrite the row meanwhile.
        t.ticks(12);
        QCOMPARE(labelText(w, "LabelLambda"), QStringLiteral("Lambda = 150 mV"));

        // Escape hands the display back to the link.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(view->cursorRow(), -1);
        QCOMPARE(labelText(w, "LabelRpm"), liveRpm);
    }

    void theWheelZoomsADragPansAndSpacePlaysBack() {
        app::StartOptions options;
        {
            WindowUnderTest probe(folder_.path(), options);
            options.logFile = writeLog(probe.window, QStringLiteral("zoom.csv"));
        }
        WindowUnderTest t(folder_.path(), options);
        app::TFormHlav& w = t.window;
        showActive(w);
        QTRY_VERIFY(w.logView() != nullptr && w.logView()->isVisible());
        logview::LogView* view = w.logView();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        const double whole = view->visibleTo() - view->visibleFrom();

        logview::StripChart* chart = view->charts().back();
        zelvor::testing::wheelOver(chart, 2);
        const double zoomed = view->visibleTo() - view->visibleFrom();
        QVERIFY(zoomed < whole * 0.7);
        const double from = view->visibleFrom();
        const QPoint start(chart->width() / 2, chart->height() / 2);
        QTest::mousePress(chart->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(chart->viewport(), start - QPoint(40, 0));
        QTest::mouseMove(chart->viewport(), start - QPoint(80, 0));
        QTest::mouseRelease(chart->viewport(), Qt::LeftButton, {}, start - QPoint(80, 0));
        QVERIFY(view->visibleFrom() > from);  // dragged left: later times
        QCOMPARE(view->cursorRow(), -1);      // a drag is no click

        view->activateWindow();
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Home);
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(view->playing());
        QTRY_VERIFY_WITH_TIMEOUT(view->cursorRow() >= 10, 3000);
        QTest::keyClick(view, Qt::Key_Space);
        QVERIFY(!view->playing());
        view->close();
        QCOMPARE(view->cursorRow(), -1);
    }

    void aDamagedLogGetsAMessageNamingItsLine() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        std::string text = datalog::logHeader() + "\n" + datalog::logLine(RowBuilder().at(0)) +
                           "\n" + "12,abc,7\n";
        const QString path = folder_.filePath(QStringLiteral("damaged.csv"));
        zelvor::testing::putFile(path.toStdString(), text);
        t.script.messages.clear();  // the missing port of the Com menu
        QVERIFY(!w.openRideLogFile(path));
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY2(t.script.messages.first().contains(QStringLiteral("line 3")),
                 qPrintable(t.script.messages.first()));
        QVERIFY(w.logView() == nullptr || !w.logView()->isVisible());
        QVERIFY(!w.openRideLogFile(folder_.filePath(QStringLiteral("none.csv"))));
        QCOMPARE(t.script.messages.size(), 2);
    }
};

QTEST_MAIN(WindowRideLogTest)
#include "window_ride_log_test.moc"
