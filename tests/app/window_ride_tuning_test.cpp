// Tuning from ride logs in the window: the suggestions of the analysis over
// the injection map, applied as one undo step, never twice to the same
// cells, locked cells left alone, and damaged logs refused with the line.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "../datalog/ride_rows.h"
#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "datalog/analysis_setting_table.h"
#include "datalog/log_reader.h"
#include "datalog/ride_analysis.h"
#include "datalog/tune_correction.h"
#include "editing/page_index.h"
#include "editing/widgets/map_cell_grid.h"
#include "model/field_table.h"
#include "ridetune/ride_tuning_panel.h"

using namespace zelvor;
using editing::GridCell;
using model::Field;
using zelvor::testing::RowBuilder;
using zelvor::testing::WindowUnderTest;

namespace {

constexpr GridCell kLeanCell{4, 3};
constexpr GridCell kRichCell{3, 5};

widgets::MapCellGrid* cells(app::TFormHlav& w) {
    return w.controls().find<widgets::MapCellGrid>("MapCells_Uni");
}

// A warm ride: 60 rows in a cell where the probe reads lean, 60 in one where
// it reads rich, 60 at full throttle.
QString writeRide(const QString& folder) {
    std::vector<datalog::LogRow> rows;
    std::int64_t t = 0;
    const auto hold = [&](GridCell cell, int throttleTenths, int mv) {
        for (int i = 0; i < 60; ++i, t += 55) {
            rows.push_back(RowBuilder()
                               .at(t)
                               .cell(cell.row, cell.column)
                               .throttleTenths(throttleTenths)
                               .lambda(mv));
        }
    };
    hold(kLeanCell, 200, 150);
    hold(kRichCell, 150, 820);
    hold({9, 7}, 1000, 150);
    const QString path = folder + QStringLiteral("/ride.csv");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(QByteArray::fromStdString(testing::logText(rows)));
    return path;
}

std::size_t index(GridCell cell) {
    return editing::cellIndex(cell.row, cell.column);
}

}  // namespace

class WindowRideTuningTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    void openLogs(WindowUnderTest& t, const QStringList& paths) {
        t.script.logNames.push_back(paths);
        QAction* item = t.window.findChild<QAction*>(QStringLiteral("MenuTuneFromLogs"));
        QVERIFY(item != nullptr);
        item->trigger();
    }

  private slots:
    // The suggestions shown and applied are the command line's (analysis and
    // correction of both maps with the same settings); the apply is one
    // undo step, and a cell already corrected takes no second correction
    // from the same log.
    void applyingAllIsTheCommandLinesCorrectionInOneUndoStep() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        const QString path = writeRide(folder_.path());
        const model::ParameterImage before = w.image();
        openLogs(t, {path});
        ridetune::RideTuningPanel* panel = w.rideTuningPanel();
        QVERIFY(panel != nullptr && panel->isVisible());
        QVERIFY(w.image() == before);  // nothing without the tuner's command

        testing::clickTab(w.pageControl(), editing::kPageAdvance + 1);
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).contains(QStringLiteral("Suggested change +")));
        QVERIFY(cells(w)->overlayToolTip(kRichCell).contains(QStringLiteral("Suggested change -")));
        QVERIFY(cells(w)->overlayToolTip({9, 7}).contains(QStringLiteral("Not measurable")));
        QVERIFY(cells(w)->overlayToolTip({0, 0}).isEmpty());

        const datalog::LogReadResult read = datalog::readRideLog(path.toStdString());
        QVERIFY(read.log);
        const std::vector<datalog::RideLog> logs{*read.log};
        const datalog::RideFindings findings = datalog::analyseRide(logs, before, {});
        const model::ParameterImage expected = datalog::applyCorrection(
            before, datalog::planCorrection(before, findings, datalog::CorrectedMaps::Both));
        QVERIFY(!(expected == before));

        const qsizetype messages = t.script.messages.size();
        QTest::mouseClick(panel->applyAllButton(), Qt::LeftButton);
        QVERIFY(w.image() == expected);
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).contains(QStringLiteral("Changed since")));
        QTest::mouseClick(panel->applyAllButton(), Qt::LeftButton);
        QVERIFY(w.image() == expected);
        QCOMPARE(t.script.messages.size(), messages + 1);

        w.activateWindow();
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == before);
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).contains(QStringLiteral("Suggested change +")));
    }

    // The panel and the cells' tooltips speak the window's language, and
    // follow a change while the panel is open; the tune stays as it was.
    void thePanelFollowsTheLanguage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        const model::ParameterImage before = w.image();
        const auto chooseLanguage = [&w](const char* item) {
            testing::clickMenuItem(w, w.controls().find<QMenu>("MenuLanguage"),
                                   w.controls().find<QAction>(item));
        };
        chooseLanguage("MenuFrench");
        openLogs(t, {writeRide(folder_.path())});
        ridetune::RideTuningPanel* panel = w.rideTuningPanel();
        QVERIFY(panel != nullptr && panel->isVisible());
        QCOMPARE(panel->windowTitle(), QStringLiteral("Réglage d'après les trajets"));
        QCOMPARE(panel->applyAllButton()->text(),
                 QStringLiteral("Appliquer à to&utes les cellules"));
        QVERIFY2(panel->summary().contains(QStringLiteral(" lignes, ")),
                 qPrintable(panel->summary()));
        testing::clickTab(w.pageControl(), editing::kPageAdvance + 1);
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).contains(
            QStringLiteral("Modification proposée +")));
        // Every setting has its French label beside its box.
        const auto settings = datalog::analysisSettings();
        for (std::size_t i = 0; i < settings.size(); ++i) {
            QDoubleSpinBox* box = panel->settingBox(i);
            auto* form = qobject_cast<QFormLayout*>(box->parentWidget()->layout());
            QVERIFY(form != nullptr);
            auto* label = qobject_cast<QLabel*>(form->labelForField(box));
            QVERIFY(label != nullptr);
            QVERIFY2(label->text() != QString::fromUtf8(settings[i].label.data(),
                                                        qsizetype(settings[i].label.size())),
                     qPrintable(label->text()));
        }
        QCOMPARE(panel->settingBox(5)->suffix(), QStringLiteral(" % papillon"));

        chooseLanguage("MenuCzech");
        QCOMPARE(panel->windowTitle(), QStringLiteral("Ladění z jízd"));
        QCOMPARE(panel->lockButton()->text(), QStringLiteral("Za&mknout buňky"));
        QVERIFY2(panel->summary().startsWith(QStringLiteral("ride.csv\nŘádků ")),
                 qPrintable(panel->summary()));
        QCOMPARE(panel->viewChoice()->currentText(), QStringLiteral("Navržená změna"));
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).contains(QStringLiteral("Navržená změna +")));
        QVERIFY(w.image() == before);
    }

    // A selection takes the suggestions of its own cells only; a locked cell
    // takes none, and a raised minimum of hits ends every suggestion.
    void selectionAndLocksLimitWhatIsApplied() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        openLogs(t, {writeRide(folder_.path())});
        ridetune::RideTuningPanel* panel = w.rideTuningPanel();
        testing::clickTab(w.pageControl(), editing::kPageAdvance + 1);
        const model::ParameterImage before = w.image();

        QTest::mouseClick(cells(w), Qt::LeftButton, {}, cells(w)->editRect(kLeanCell).center());
        QTest::mouseClick(panel->lockButton(), Qt::LeftButton);
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).contains(QStringLiteral("Locked")));
        QTest::mouseClick(panel->applyAllButton(), Qt::LeftButton);
        QCOMPARE(w.image().get(Field::JET_1A_Cell, index(kLeanCell)),
                 before.get(Field::JET_1A_Cell, index(kLeanCell)));
        QVERIFY(w.image().get(Field::JET_1A_Cell, index(kRichCell)) <
                before.get(Field::JET_1A_Cell, index(kRichCell)));

        w.activateWindow();
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == before);
        // The undo shows the page of the step it returns to.
        testing::clickTab(w.pageControl(), editing::kPageAdvance + 1);
        QTest::mouseClick(cells(w), Qt::LeftButton, {}, cells(w)->editRect(kLeanCell).center());
        QTest::mouseClick(panel->unlockButton(), Qt::LeftButton);
        QTest::mouseClick(panel->applySelectionButton(), Qt::LeftButton);
        QVERIFY(w.image().get(Field::JET_1A_Cell, index(kLeanCell)) >
                before.get(Field::JET_1A_Cell, index(kLeanCell)));
        QCOMPARE(w.image().get(Field::JET_1A_Cell, index(kRichCell)),
                 before.get(Field::JET_1A_Cell, index(kRichCell)));

        // At least 100 hits: no cell has them (60 rows each).
        QDoubleSpinBox* minHits = panel->settingBox(4);
        minHits->setFocus();
        minHits->selectAll();
        QTest::keyClicks(minHits, QStringLiteral("100"));
        QTRY_VERIFY(cells(w)->overlayToolTip(kRichCell).contains(QStringLiteral("Too few hits")));
    }

    // The log opened in the log view is analysed as the same file chosen
    // for tuning would be.
    void theOpenLogIsAnalysedLikeItsFile() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        const QString path = writeRide(folder_.path());
        openLogs(t, {path});
        testing::clickTab(w.pageControl(), editing::kPageAdvance + 1);
        const QString fromFile = cells(w)->overlayToolTip(kLeanCell);
        QVERIFY(fromFile.contains(QStringLiteral("Suggested change +")));
        w.rideTuningPanel()->close();
        QVERIFY(cells(w)->overlayToolTip(kLeanCell).isEmpty());

        t.script.logNames.push_back({path});
        w.findChild<QAction*>(QStringLiteral("LogOpen"))->trigger();
        w.findChild<QAction*>(QStringLiteral("MenuTuneFromOpenLog"))->trigger();
        QVERIFY(w.rideTuningPanel()->isVisible());
        QVERIFY(w.rideTuningPanel()->summary().startsWith(QStringLiteral("ride.csv")));
        testing::clickTab(w.pageControl(), editing::kPageAdvance + 1);
        QCOMPARE(cells(w)->overlayToolTip(kLeanCell), fromFile);
    }

    // Alt and a letter reach one item of a menu: no two share a letter
    // (two would take turns and Enter would run the wrong one).
    void noTwoItemsOfAMenuShareTheirLetter() {
        WindowUnderTest t(folder_.path());
        for (QAction* top : t.window.menuBar()->actions()) {
            QMenu* menu = top->menu();
            if (menu == nullptr) continue;
            QSet<QChar> letters;
            for (QAction* item : menu->actions()) {
                const QString text = item->text();
                const qsizetype at = text.indexOf(QLatin1Char('&'));
                if (at < 0 || at + 1 >= text.size()) continue;
                const QChar letter = text.at(at + 1).toLower();
                QVERIFY2(!letters.contains(letter),
                         qPrintable(menu->title() + QStringLiteral(": ") + text));
                letters.insert(letter);
            }
        }
    }

    void aDamagedLogIsRefusedNamingItsLine() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        const QString path = folder_.path() + QStringLiteral("/broken.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const std::string good = testing::logText({RowBuilder().at(0), RowBuilder().at(55)});
        file.write(QByteArray::fromStdString(good) + "12,not a row\n");
        file.close();
        const model::ParameterImage before = w.image();
        const qsizetype messages = t.script.messages.size();
        openLogs(t, {path});
        QCOMPARE(t.script.messages.size(), messages + 1);
        QVERIFY(t.script.messages.back().contains(QStringLiteral("line 4")));
        QVERIFY(w.rideTuningPanel() == nullptr);
        QVERIFY(w.image() == before);
    }
};

QTEST_MAIN(WindowRideTuningTest)
#include "window_ride_tuning_test.moc"
