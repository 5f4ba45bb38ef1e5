// Comparing the edited tune with a file and with the unit through the
// window: the side panel's rows, its takes as undo steps, the marks on the
// map cells, and the count of changes not in the unit.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "../support/parameter_images.h"
#include "../support/real_input.h"
#include "../support/started_simulator.h"
#include "../support/window_fixture.h"
#include "app/compare_panel.h"
#include "compare/image_compare.h"
#include "editing/page_index.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_grid.h"
#include "history/snapshot_store.h"
#include "model/field_table.h"
#include "model/parameter_file_io.h"

using namespace zelvor;
using model::Field;
using zelvor::testing::clickArrow;
using zelvor::testing::clickTab;
using zelvor::testing::keyAtFocus;
using zelvor::testing::showActive;
using zelvor::testing::WindowUnderTest;

namespace {

// Picks an item of a menu with the mouse.
void choose(app::TFormHlav& w, const char* menuName, const char* itemName) {
    zelvor::testing::clickMenuItem(w, w.controls().find<QMenu>(menuName),
                                   w.controls().find<QAction>(itemName));
}

int rowCount(const app::ComparePanel& panel) {
    int rows = 0;
    for (int g = 0; g < panel.list()->topLevelItemCount(); ++g) {
        rows += panel.list()->topLevelItem(g)->childCount();
    }
    return rows;
}

QTreeWidgetItem* pageItem(const app::ComparePanel& panel, const QString& caption) {
    for (int g = 0; g < panel.list()->topLevelItemCount(); ++g) {
        QTreeWidgetItem* item = panel.list()->topLevelItem(g);
        if (item->text(0).startsWith(caption + QStringLiteral(" ("))) return item;
    }
    return nullptr;
}

void clickItem(const app::ComparePanel& panel, QTreeWidgetItem* item) {
    QTreeWidget* list = panel.list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QString statusText(app::TFormHlav& w) {
    return w.controls().find<QLabel>("LabelHlaseni")->text();
}

}  // namespace

class WindowCompareTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QTemporaryDir data_;
    model::ParameterImage mine_;
    model::ParameterImage theirs_;
    QString mineFile_;
    QString theirsFile_;

  private slots:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        mine_ = zelvor::testing::saneDefaults();
        theirs_ = mine_;
        // Three fields and five cells of injection map 1.
        theirs_.set(Field::FAN_Fan1, mine_.get(Field::FAN_Fan1) + 5);
        theirs_.set(Field::IDLE_IdleMaxAdv, mine_.get(Field::IDLE_IdleMaxAdv) + 2);
        theirs_.set(Field::GEAR_PocetGear, mine_.get(Field::GEAR_PocetGear) == 6 ? 5 : 6);
        for (const std::size_t k : {0u, 16u, 47u, 90u, 149u}) {
            theirs_.set(Field::JET_1A_Cell, k, mine_.get(Field::JET_1A_Cell, k) + 250);
        }
        mineFile_ = folder_.filePath(QStringLiteral("mine.ign"));
        theirsFile_ = folder_.filePath(QStringLiteral("theirs.ign"));
        QVERIFY(model::saveParameterFile(mineFile_.toStdString(), mine_));
        QVERIFY(model::saveParameterFile(theirsFile_.toStdString(), theirs_));
    }

    void takeAllMakesTheFilesFieldsOursAndOneUndoTakesItBack() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        t.script.openNames.push_back(mineFile_);
        keyAtFocus(Qt::Key_F3);
        QCOMPARE(w.fileName(), mineFile_);
        const model::ParameterImage opened = w.image();

        t.script.openNames.push_back(theirsFile_);
        choose(w, "MenuCompare", "MenuCompareFile");
        app::ComparePanel* panel = w.comparePanel();
        QVERIFY(panel != nullptr && panel->isVisible());
        QCOMPARE(rowCount(*panel), 8);
        QVERIFY(pageItem(*panel, QStringLiteral("Inj. 1")) != nullptr);
        QTreeWidgetItem* injection = pageItem(*panel, QStringLiteral("Inj. 1"));
        QCOMPARE(injection->childCount(), 5);
        // Cell 47: row 3 (10 % throttle), column 3; values in engineering units.
        QCOMPARE(injection->child(2)->text(0), QStringLiteral("JET_1A.Cell[47]"));
        QCOMPARE(injection->child(2)->toolTip(0), QStringLiteral("Throttle 10 %, column 3"));
        QCOMPARE(injection->child(2)->text(2),
                 QStringLiteral("%1 µs").arg(theirs_.get(Field::JET_1A_Cell, 47)));

        const int stepsBefore = w.pipeline().undoSteps();
        QTest::mouseClick(panel->takeAllButton(), Qt::LeftButton);
        QVERIFY(compare::compareImages(w.image(), theirs_).empty());
        QCOMPARE(rowCount(*panel), 0);
        QCOMPARE(w.pipeline().undoSteps(), stepsBefore + 1);

        // Nothing is left to take: the focus moved on inside the panel.
        QVERIFY(!panel->takeAllButton()->isEnabled());
        QVERIFY(panel->isAncestorOf(QApplication::focusWidget()));
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == opened);
        QCOMPARE(rowCount(*panel), 8);
    }

    // The panel speaks the window's language, and a change of language while
    // it is open keeps its rows and the chosen one.
    void thePanelFollowsTheLanguage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        t.script.openNames.push_back(mineFile_);
        keyAtFocus(Qt::Key_F3);
        choose(w, "MenuLanguage", "MenuGerman");
        t.script.openNames.push_back(theirsFile_);
        choose(w, "MenuCompare", "MenuCompareFile");
        app::ComparePanel* panel = w.comparePanel();
        QVERIFY(panel != nullptr && panel->isVisible());
        auto* title = panel->findChild<QLabel*>(QStringLiteral("LabelCompareTitle"));
        QCOMPARE(panel->windowTitle(), QStringLiteral("Vergleich"));
        QCOMPARE(title->text(), QStringLiteral("8 Unterschiede zu theirs.ign."));
        QCOMPARE(panel->takeAllButton()->text(), QStringLiteral("&Alle übernehmen"));

        QTreeWidgetItem* page = panel->list()->topLevelItem(0);
        QTreeWidgetItem* chosen = page->child(page->childCount() - 1);
        clickItem(*panel, chosen);
        choose(w, "MenuLanguage", "MenuCzech");
        QCOMPARE(title->text(), QStringLiteral("Rozdílů oproti theirs.ign: 8."));
        QCOMPARE(panel->takeButton()->text(), QStringLiteral("Převzí&t"));
        QCOMPARE(panel->list()->headerItem()->text(1), QStringLiteral("Toto nastavení"));
        QCOMPARE(rowCount(*panel), 8);
        QCOMPARE(panel->list()->currentItem(), chosen);
        // A cell's place is said in the language too.
        QTreeWidgetItem* cell = nullptr;
        for (QTreeWidgetItem* item : panel->list()->findItems(
                 QStringLiteral("JET_1A.Cell[47]"), Qt::MatchExactly | Qt::MatchRecursive)) {
            cell = item;
        }
        QVERIFY(cell != nullptr);
        QCOMPARE(cell->toolTip(0), QStringLiteral("Plyn 10 %, sloupec 3"));

        choose(w, "MenuLanguage", "MenuEnglish");
        QCOMPARE(title->text(), QStringLiteral("8 differences to theirs.ign."));
        QCOMPARE(panel->list()->currentItem(), chosen);
    }

    void rowAndPageTakesAreOneUndoStepEach() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        t.script.openNames.push_back(mineFile_);
        keyAtFocus(Qt::Key_F3);
        const model::ParameterImage opened = w.image();
        t.script.openNames.push_back(theirsFile_);
        choose(w, "MenuCompare", "MenuCompareFile");
        app::ComparePanel* panel = w.comparePanel();
        QVERIFY(panel->list()->hasFocus());

        // A row with the keyboard, a row with the button, a page, the rest.
        std::vector<int> rowsBefore;
        QTreeWidgetItem* first = panel->list()->currentItem();
        QVERIFY(first != nullptr && first->childCount() == 0);
        const QString firstName = first->text(0);
        rowsBefore.push_back(rowCount(*panel));
        keyAtFocus(Qt::Key_Return);
        QCOMPARE(rowCount(*panel), 7);
        QVERIFY(
            panel->list()->findItems(firstName, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());

        rowsBefore.push_back(rowCount(*panel));
        clickItem(*panel, panel->list()->currentItem());
        QTest::mouseClick(panel->takeButton(), Qt::LeftButton);
        QCOMPARE(rowCount(*panel), 6);

        QTreeWidgetItem* injection = pageItem(*panel, QStringLiteral("Inj. 1"));
        QVERIFY(injection != nullptr);
        const int pageRows = injection->childCount();
        rowsBefore.push_back(rowCount(*panel));
        clickItem(*panel, injection);
        keyAtFocus(Qt::Key_Return);
        QCOMPARE(rowCount(*panel), 6 - pageRows);
        QVERIFY(pageItem(*panel, QStringLiteral("Inj. 1")) == nullptr);

        rowsBefore.push_back(rowCount(*panel));
        QTest::mouseClick(panel->takeAllButton(), Qt::LeftButton);
        QCOMPARE(rowCount(*panel), 0);
        QVERIFY(compare::compareImages(w.image(), theirs_).empty());

        // One Ctrl+Z per take, back to the file as opened.
        for (auto rows = rowsBefore.rbegin(); rows != rowsBefore.rend(); ++rows) {
            keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(rowCount(*panel), *rows);
        }
        QVERIFY(w.image() == opened);
        // Redo follows as well.
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(rowCount(*panel), 7);
    }

    void differingCellsAreMarkedWithTheReferenceValueUntilTheEnd() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        t.script.openNames.push_back(mineFile_);
        keyAtFocus(Qt::Key_F3);
        t.script.openNames.push_back(theirsFile_);
        choose(w, "MenuCompare", "MenuCompareFile");
        clickTab(w.pageControl(), editing::kPageJet1A);
        widgets::MapCellGrid* cells = w.controls().find<widgets::MapGrid>("GroupBoxUni")->cells();
        QCOMPARE(w.compareOverlay().markedCells(editing::MapId::Jet1A), 5);
        QCOMPARE(w.compareOverlay().markedCells(editing::MapId::Advance), 0);
        // Cell 47 is row 3, column 2.
        QVERIFY(cells->overlayToolTip({3, 2}).contains(
            QString::number(theirs_.get(Field::JET_1A_Cell, 47))));
        QVERIFY(cells->overlayToolTip({3, 3}).isEmpty());

        // Taken cells lose their mark as the edit happens.
        clickItem(*w.comparePanel(), pageItem(*w.comparePanel(), QStringLiteral("Inj. 1")));
        keyAtFocus(Qt::Key_Return);
        QCOMPARE(w.compareOverlay().markedCells(editing::MapId::Jet1A), 0);
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.compareOverlay().markedCells(editing::MapId::Jet1A), 5);

        // Escape ends the comparison and takes the marks away.
        QVERIFY(w.comparePanel()->list()->hasFocus());
        keyAtFocus(Qt::Key_Escape);
        QVERIFY(!w.comparePanel()->isVisible());
        QVERIFY(cells->overlay(widgets::OverlayRole::Compare) == nullptr);
    }

    void aBrokenFileIsRefusedWithAMessage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        const QString broken = folder_.filePath(QStringLiteral("broken.ign"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a parameter file");
        file.close();
        const model::ParameterImage before = w.image();
        t.script.messages.clear();
        t.script.openNames.push_back(broken);
        choose(w, "MenuCompare", "MenuCompareFile");
        QCOMPARE(t.script.messages,
                 QStringList{QStringLiteral("Unmatched version of *.ign file!")});
        t.script.openNames.push_back(folder_.filePath(QStringLiteral("absent.ign")));
        choose(w, "MenuCompare", "MenuCompareFile");
        QCOMPARE(t.script.messages.size(), 2);
        QVERIFY(t.script.messages[1].startsWith(QStringLiteral("Open file error!")));
        QVERIFY(w.comparePanel() == nullptr || !w.comparePanel()->isVisible());
        QVERIFY(w.image() == before);
    }

    void driftCountsTheChangesNotInTheUnit() {
        sim::SimProcess unit = zelvor::testing::startedSimulator(ZELVOR_SIM_EXECUTABLE);
        app::StartOptions options;
        options.portDevice = unit.devicePath();
        WindowUnderTest t(folder_.path(), options, false);
        app::TFormHlav& w = t.window;
        showActive(w);
        QPushButton* drift = w.driftButton();
        QVERIFY(drift != nullptr);
        QVERIFY(!w.unitImage());
        QVERIFY(drift->isHidden());  // no unit image known

        keyAtFocus(Qt::Key_F9);
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Program device: OK"), 20000);
        QVERIFY(w.unitImage() && *w.unitImage() == w.image());
        QVERIFY2(drift->isHidden(), qPrintable(drift->text()));

        clickTab(w.pageControl(), editing::kPageBike);
        clickArrow(w.controls().find<QAbstractSpinBox>("EditFan1"), true);
        QVERIFY(drift->isVisible());
        QCOMPARE(drift->text(), QStringLiteral("1 change not in the unit"));

        // One click opens the comparison with what the unit holds.
        QTest::mouseClick(drift, Qt::LeftButton);
        QVERIFY(w.comparePanel() != nullptr && w.comparePanel()->isVisible());
        QCOMPARE(rowCount(*w.comparePanel()), 1);

        keyAtFocus(Qt::Key_F9);
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Program);
        QTRY_VERIFY_WITH_TIMEOUT(!w.unitLink().transfer().running(), 20000);
        QCOMPARE(statusText(w), QStringLiteral("Program device: OK"));
        QVERIFY(drift->isHidden());
        // The panel compares with the unit as it is now.
        QCOMPARE(rowCount(*w.comparePanel()), 0);
    }

    void theUnitIsReadIntoAReferenceWithoutTouchingTheTune() {
        sim::SimProcess unit = zelvor::testing::startedSimulator(ZELVOR_SIM_EXECUTABLE);
        app::StartOptions options;
        options.portDevice = unit.devicePath();
        WindowUnderTest t(folder_.path(), options, false);
        app::TFormHlav& w = t.window;
        showActive(w);
        t.script.openNames.push_back(theirsFile_);
        keyAtFocus(Qt::Key_F3);
        const model::ParameterImage edited = w.image();
        const int steps = w.pipeline().undoSteps();

        choose(w, "MenuCompare", "MenuCompareUnit");
        QTRY_VERIFY_WITH_TIMEOUT(w.comparePanel() != nullptr && w.comparePanel()->isVisible(),
                                 20000);
        QVERIFY(w.image() == edited);
        QCOMPARE(w.fileName(), theirsFile_);
        QCOMPARE(w.pipeline().undoSteps(), steps);
        QVERIFY(w.unitImage().has_value());
        const std::size_t differing = compare::countDifferences(edited, *w.unitImage());
        QVERIFY(differing > 0);
        QCOMPARE(static_cast<std::size_t>(rowCount(*w.comparePanel())), differing);
        QVERIFY(w.driftButton()->isVisible());
    }

    void aLaterStartKnowsTheUnitFromTheHistory() {
        history::SnapshotStore store(history::SnapshotStore::defaultFolder());
        QVERIFY(store.folder().string().starts_with(data_.path().toStdString()));
        model::ParameterImage older = theirs_;
        older.set(Field::FAN_Fan2, theirs_.get(Field::FAN_Fan2) + 1);
        QVERIFY(store.add(history::Event::Read, 1765300000, "", "unit", older).snapshot);
        QVERIFY(store.add(history::Event::Program, 1765300100, "", "unit", theirs_).snapshot);
        // A file saved later says nothing of the unit.
        QVERIFY(store.add(history::Event::Save, 1765300200, "x.ign", "", mine_).snapshot);

        QTemporaryDir settings;
        WindowUnderTest t(settings.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        QVERIFY(w.unitImage() && *w.unitImage() == theirs_);
        QVERIFY(w.image() == mine_);
        QCOMPARE(w.driftButton()->text(), QStringLiteral("8 changes not in the unit"));
        QVERIFY(w.driftButton()->isVisible());
    }
};

QTEST_MAIN(WindowCompareTest)
#include "window_compare_test.moc"
