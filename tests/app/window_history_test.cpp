// The history from the window: what a read, a program, an open, a save and
// the close keep, File > History… (restore, export, compare, the store's
// problems), and the title's mark of changes not in the file.
#include <stdlib.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "app/compare_panel.h"
#include "app/history_dialog.h"
#include "app/history_keeper.h"
#include "editing/page_index.h"
#include "history/snapshot_store.h"
#include "link/unit_identification.h"
#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

using namespace zelvor;
using zelvor::testing::clickArrow;
using zelvor::testing::clickTab;
using zelvor::testing::keyAtFocus;
using zelvor::testing::showActive;
using zelvor::testing::typeOver;
using zelvor::testing::WindowUnderTest;

namespace {

history::Listing listing() {
    return history::SnapshotStore(history::SnapshotStore::defaultFolder()).list();
}

std::size_t snapshotCount() {
    return listing().snapshots.size();
}

model::ParameterImage imageOf(const history::SnapshotInfo& snapshot) {
    const history::SnapshotStore store(history::SnapshotStore::defaultFolder());
    return store.image(snapshot).value_or(model::ParameterImage{});
}

history::SnapshotInfo add(history::Event event, std::int64_t time, const std::string& file,
                          const std::string& unit, const model::ParameterImage& image) {
    history::SnapshotStore store(history::SnapshotStore::defaultFolder());
    const history::SnapshotStore::Added added = store.add(event, time, file, unit, image);
    return added.snapshot.value_or(history::SnapshotInfo{});
}

// Chooses an item of a menu of the menu bar with two clicks.
void chooseItem(app::TFormHlav& w, const char* menuName, const char* itemName) {
    auto* menu = w.controls().find<QMenu>(menuName);
    QVERIFY(menu != nullptr);
    QMenuBar* bar = w.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction* item = w.controls().find<QAction>(itemName);
    QVERIFY(item != nullptr && item->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
}

app::HistoryDialog* openHistory(app::TFormHlav& w) {
    chooseItem(w, "MenuFile", "MenuHistory");
    app::HistoryDialog* dialog = w.historyDialog();
    if (dialog == nullptr || !QTest::qWaitForWindowExposed(dialog)) return nullptr;
    return dialog;
}

void clickRow(app::HistoryDialog* dialog, int row) {
    QTableView* list = dialog->list();
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

QSpinBox* spin(app::TFormHlav& w, const char* name) {
    return w.controls().find<QSpinBox>(name);
}

}  // namespace

class WindowHistoryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> data_;
    QTemporaryDir folder_;

  private slots:
    void init() {
        // A history of its own for every test.
        data_ = std::make_unique<QTemporaryDir>();
        QVERIFY(data_->isValid());
        ::setenv("XDG_DATA_HOME", qPrintable(data_->path()), 1);
    }

    void openSaveAndCloseKeepTheWindowsImage() {
        QTemporaryDir settings;
        const QString file = folder_.filePath("open.ign");
        {
            model::ParameterImage other;
            model::loadDefaultSet(other);
            other.set(model::Field::IDLE_IdleHyster, 7);
            model::sanitize(other);
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QByteArray::fromStdString(model::formatParameterFile(other)));
        }
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        QCOMPARE(snapshotCount(), 0u);

        t.script.openNames = {file};
        keyAtFocus(Qt::Key_F3);
        QTRY_COMPARE(snapshotCount(), 1u);
        history::SnapshotInfo kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Open);
        QCOMPARE(QString::fromStdString(kept.file), file);
        QVERIFY(kept.unit.empty());
        QVERIFY(imageOf(kept) == w.image());
        QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), 7u);

        clickTab(w.pageControl(), editing::kPageIdle);
        clickArrow(spin(w, "EditIdleHyster"), true);
        const QString saved = folder_.filePath("saved.ign");
        t.script.saveNames = {saved};
        keyAtFocus(Qt::Key_F2);
        QTRY_COMPARE(snapshotCount(), 2u);
        kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Save);
        QCOMPARE(QString::fromStdString(kept.file), saved);
        QVERIFY(imageOf(kept) == w.image());
        QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), 8u);

        // The close keeps its image before the window is gone.
        clickArrow(spin(w, "EditIdleHyster"), true);
        w.close();
        QCOMPARE(snapshotCount(), 3u);
        kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Close);
        QVERIFY(imageOf(kept) == w.image());
        QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), 9u);
        QVERIFY(t.script.messages.size() <= 1);  // at most the missing port
    }

    void readAndProgramFromTheWindowKeepTheUnitsImage() {
        QTemporaryDir settings;
        app::StartOptions options;
        options.simulate = true;
        WindowUnderTest t(settings.path(), options, false);
        app::TFormHlav& w = t.window;
        QVERIFY(w.simulator() != nullptr);
        showActive(w);
        const auto status = [&w] { return w.controls().find<QLabel>("LabelHlaseni")->text(); };

        keyAtFocus(Qt::Key_F7);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Verify: OK"), 15000);
        QTRY_COMPARE(snapshotCount(), 1u);
        history::SnapshotInfo kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Read);
        QVERIFY(kept.file.empty());
        const std::string unit = link::unitText(w.unitLink().transfer().identification());
        QVERIFY(!unit.empty());
        QCOMPARE(kept.unit, unit);
        QVERIFY(imageOf(kept) == w.image());

        clickTab(w.pageControl(), editing::kPageIdle);
        clickArrow(spin(w, "EditIdleHyster"), true);
        keyAtFocus(Qt::Key_F9);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Program device: OK"), 20000);
        QTRY_COMPARE(snapshotCount(), 2u);
        kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Program);
        QCOMPARE(kept.unit, unit);
        QVERIFY(imageOf(kept) == w.image());

        // Programming after a change is a Program too.
        auto* atOnce = w.controls().find<QAbstractButton>("CheckBoxProgHned");
        QTest::mouseClick(atOnce, Qt::LeftButton, {}, QPoint(6, atOnce->height() / 2));
        QVERIFY(atOnce->isChecked());
        clickArrow(spin(w, "EditIdleHyster"), true);
        QTRY_COMPARE_WITH_TIMEOUT(snapshotCount(), 3u, 20000);
        kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Program);
        QVERIFY(imageOf(kept) == w.image());
        // Verify alone keeps nothing.
        keyAtFocus(Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("Verify: OK"), 15000);
        QTest::qWait(200);
        QCOMPARE(snapshotCount(), 3u);
    }

    void aFileNamedOnTheCommandLineIsKeptAsOpened() {
        QTemporaryDir settings;
        const QString file = folder_.filePath("command.ign");
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("ZARBOLIK_KEY    63 \r\n\r\nFAN             90    91 \r\n");
        }
        app::StartOptions options;
        options.file = file;
        WindowUnderTest t(settings.path(), options);
        QCOMPARE(t.window.fileName(), file);
        QTRY_COMPARE(snapshotCount(), 1u);
        const history::SnapshotInfo kept = listing().snapshots.front();
        QCOMPARE(kept.event, history::Event::Open);
        QCOMPARE(QString::fromStdString(kept.file), file);
        QVERIFY(imageOf(kept) == t.window.image());
    }

    void anUnwritableHistoryIsANoteNotABox() {
        const QString blocked = folder_.filePath("not-a-folder");
        {
            QFile out(blocked);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("x");
        }
        ::setenv("XDG_DATA_HOME", qPrintable(blocked), 1);
        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        t.script.messages.clear();
        const QString saved = folder_.filePath("unkept.ign");
        for (int i = 0; i < 3; ++i) {
            t.script.saveNames = {saved};
            keyAtFocus(Qt::Key_F2);
        }
        QTRY_VERIFY(w.historyKeeper().idle());
        QVERIFY(t.script.messages.isEmpty());
        QVERIFY(QFile::exists(saved));
        QVERIFY2(w.statusBar()->currentMessage().contains(QStringLiteral("history")),
                 qPrintable(w.statusBar()->currentMessage()));
        QCOMPARE(w.fileName(), saved);
    }

    void restoreIsOneUndoStepAndTheListFiltersByUnit() {
        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        const model::ParameterImage before = w.image();
        model::ParameterImage older = before;
        older.set(model::Field::IDLE_IdleHyster, 3);
        older.set(model::Field::FAN_Fan1, 97);
        // Not what the bike's constants say: a snapshot comes back as it was.
        older.set(model::Field::FIXED_Byte4, 25);
        model::ParameterImage newer = before;
        newer.set(model::Field::IDLE_IdleHyster, 5);
        add(history::Event::Program, 1765300000, "/bikes/a.ign", "ABC07 25. 2.2002 14:05", older);
        add(history::Event::Read, 1765300100, "", "XYZ11 1. 3.2003 10:00", newer);
        add(history::Event::Save, 1765300200, "/bikes/b.ign", "", newer);
        showActive(w);

        app::HistoryDialog* dialog = openHistory(w);
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->problemList()->isHidden());
        // The window compares a snapshot in its compare panel.
        QVERIFY(!dialog->compareButton()->isHidden());
        const app::HistoryListModel& rows = dialog->model();
        QCOMPARE(rows.rowCount(), 3);
        QCOMPARE(rows.data(rows.index(0, app::HistoryListModel::Event), Qt::DisplayRole).toString(),
                 QStringLiteral("Save"));
        QCOMPARE(rows.data(rows.index(0, app::HistoryListModel::File), Qt::DisplayRole).toString(),
                 QStringLiteral("b.ign"));
        QCOMPARE(rows.data(rows.index(2, app::HistoryListModel::Unit), Qt::DisplayRole).toString(),
                 QStringLiteral("ABC07 25. 2.2002 14:05"));

        // Some letters of the unit's name, in any case, narrow the list.
        QTest::mouseClick(dialog->unitFilter(), Qt::LeftButton);
        QTest::keyClicks(dialog->unitFilter(), QStringLiteral("abc"));
        QCOMPARE(rows.rowCount(), 1);
        QTest::keyClick(dialog->unitFilter(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(dialog->unitFilter(), Qt::Key_Backspace);
        QCOMPARE(rows.rowCount(), 3);

        // Escape closes and changes nothing.
        clickRow(dialog, 2);
        keyAtFocus(Qt::Key_Escape);
        QTRY_VERIFY(!dialog->isVisible());
        QVERIFY(w.image() == before);

        dialog = openHistory(w);
        QVERIFY(dialog != nullptr);
        clickRow(dialog, 2);
        QVERIFY(dialog->list()->hasFocus());
        keyAtFocus(Qt::Key_Return);
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), 3u);
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 97u);
        model::ParameterImage restored = older;
        model::sanitize(restored);
        QVERIFY(w.image() == restored);
        QCOMPARE(w.image().get(model::Field::FIXED_Byte4), 25u);
        // The page on show shows the restored image.
        QCOMPARE(w.currentPage(), editing::kPageIdle);
        QCOMPARE(spin(w, "EditIdleHyster")->value(), 30);

        QTRY_VERIFY(w.isActiveWindow());
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == before);
        QVERIFY(!w.pipeline().canUndo());
    }

    void theStoresProblemsAreShownAndWholeSnapshotsListed() {
        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        const history::SnapshotInfo first =
            add(history::Event::Save, 1765300000, "/a.ign", "", w.image());
        add(history::Event::Save, 1765300001, "/b.ign", "", w.image());
        const std::filesystem::path store = history::SnapshotStore::defaultFolder();
        std::filesystem::remove(store / "index");
        {
            QFile entry(QString::fromStdString(
                (store / "entries" / (std::to_string(first.number) + ".snap")).string()));
            QVERIFY(entry.open(QIODevice::WriteOnly | QIODevice::Truncate));
            entry.write("zelvor-snapshot 1\nnumber=");
        }
        showActive(w);
        app::HistoryDialog* dialog = openHistory(w);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->model().rowCount(), 1);
        QVERIFY(dialog->problemList()->isVisible());
        QCOMPARE(dialog->problemList()->count(), 1);
        QVERIFY(dialog->problemList()->item(0)->text().startsWith(
            QStringLiteral("snapshot %1:").arg(first.number)));
    }

    void exportWritesTheSnapshotAsAParameterFile() {
        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        model::ParameterImage kept = w.image();
        kept.set(model::Field::FAN_Fan2, 101);
        add(history::Event::Program, 1765300000, "/bikes/tune.ign", "ABC07", kept);
        showActive(w);
        app::HistoryDialog* dialog = openHistory(w);
        QVERIFY(dialog != nullptr);
        const QString path = folder_.filePath("exported.ign");
        t.script.saveNames = {path};
        QTest::mouseClick(dialog->exportButton(), Qt::LeftButton);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        model::sanitize(kept);
        QCOMPARE(written.readAll(), QByteArray::fromStdString(model::formatParameterFile(kept)));
        QVERIFY(dialog->note().contains(path));
        QVERIFY(dialog->isVisible());
        // The written file is in the history as saved; the window's image
        // is untouched.
        QTRY_COMPARE(snapshotCount(), 2u);
        QCOMPARE(listing().snapshots.front().event, history::Event::Save);
        QCOMPARE(QString::fromStdString(listing().snapshots.front().file), path);
        QVERIFY(w.image().get(model::Field::FAN_Fan2) != 101u);
    }

    void compareHandsTheSnapshotOver() {
        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        model::ParameterImage kept = w.image();
        kept.set(model::Field::FAN_Fan2, 101);
        add(history::Event::Program, 1765300000, "/bikes/tune.ign", "ABC07", kept);
        model::ParameterImage compared;
        QString name;
        w.setSnapshotCompare([&](const model::ParameterImage& image, const QString& n) {
            compared = image;
            name = n;
        });
        showActive(w);
        app::HistoryDialog* dialog = openHistory(w);
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->compareButton()->isVisible());
        const model::ParameterImage before = w.image();
        QTest::mouseClick(dialog->compareButton(), Qt::LeftButton);
        QVERIFY(compared == kept);
        QVERIFY2(
            name.contains(QStringLiteral("Program")) && name.contains(QStringLiteral("tune.ign")),
            qPrintable(name));
        QVERIFY(w.image() == before);
        QVERIFY(!w.pipeline().canUndo());
    }

    // Without a compare of its own, the window compares the snapshot in its
    // compare panel.
    void compareOpensTheComparePanelOnTheSnapshot() {
        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        model::ParameterImage kept = w.image();
        kept.set(model::Field::FAN_Fan2, 101);
        add(history::Event::Program, 1765300000, "/bikes/tune.ign", "ABC07", kept);
        showActive(w);
        app::HistoryDialog* dialog = openHistory(w);
        QVERIFY(dialog != nullptr);
        QTest::mouseClick(dialog->compareButton(), Qt::LeftButton);
        QVERIFY(w.comparePanel() != nullptr && w.comparePanel()->isVisible());
        QVERIFY(w.comparePanel()->reference() == kept);
        QCOMPARE(w.comparePanel()->differences().size(), std::size_t{1});
    }

    void theTitleMarksChangesNotInTheFile() {
        QTemporaryDir settings;
        const QString file = folder_.filePath("title.ign");
        QString base;
        {
            WindowUnderTest t(settings.path());
            app::TFormHlav& w = t.window;
            base = w.windowTitle();
            QVERIFY(!base.contains(QLatin1Char('*')));
            showActive(w);
            t.script.saveNames = {file};
            keyAtFocus(Qt::Key_F2);
            QCOMPARE(w.windowTitle(), QStringLiteral("title.ign - ") + base);

            clickTab(w.pageControl(), editing::kPageIdle);
            clickArrow(spin(w, "EditIdleHyster"), true);
            QCOMPARE(w.windowTitle(), QStringLiteral("*title.ign - ") + base);
            // Undone, the image is the file's again.
            keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(w.windowTitle(), QStringLiteral("title.ign - ") + base);

            const unsigned typed = w.image().get(model::Field::IDLE_IdleHyster) == 4 ? 3 : 4;
            typeOver(spin(w, "EditIdleHyster"), QString::number(typed * 10));
            keyAtFocus(Qt::Key_Return);
            QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), typed);
            QCOMPARE(w.windowTitle(), QStringLiteral("*title.ign - ") + base);
            t.script.saveNames = {file};
            keyAtFocus(Qt::Key_F2);
            QCOMPARE(w.windowTitle(), QStringLiteral("title.ign - ") + base);
            w.close();
        }
        {
            // The next start names the file; its image is the file's.
            WindowUnderTest t(settings.path());
            QCOMPARE(t.window.windowTitle(), QStringLiteral("title.ign - ") + base);
            showActive(t.window);
            clickTab(t.window.pageControl(), editing::kPageIdle);
            clickArrow(spin(t.window, "EditIdleHyster"), false);
            t.window.close();
        }
        {
            // Closed with a change not saved: it is marked at the next start.
            WindowUnderTest t(settings.path());
            QCOMPARE(t.window.windowTitle(), QStringLiteral("*title.ign - ") + base);
            // New names no file: the title is the bare one.
            showActive(t.window);
            t.script.answers = {app::Dialogs::Answer::Yes};
            keyAtFocus(Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(t.window.windowTitle(), base);
        }
    }
};

QTEST_MAIN(WindowHistoryTest)
#include "window_history_test.moc"
