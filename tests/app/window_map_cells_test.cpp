// Block operations on the map cells through the window: what reaches the
// image, one undo step per operation, refused pastes, the step keys with a
// selection, and programming after change.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <set>

#include "../support/live_answer.h"
#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/map_content.h"
#include "editing/map_selection.h"
#include "editing/page_index.h"
#include "editing/widgets/map_cell_grid.h"
#include "graph/map_graph.h"
#include "link/transfer_engine.h"
#include "model/field_table.h"

using namespace zelvor;
using editing::GridCell;
using model::Field;
using zelvor::testing::WindowUnderTest;

namespace {

widgets::MapCellGrid* cells(app::TFormHlav& w) {
    return w.controls().find<widgets::MapCellGrid>("MapCells_Uni");
}

QPoint middle(app::TFormHlav& w, GridCell cell) {
    return cells(w)->editRect(cell).center();
}

void drag(app::TFormHlav& w, GridCell from, GridCell to) {
    QTest::mousePress(cells(w), Qt::LeftButton, {}, middle(w, from));
    QTest::mouseMove(cells(w), middle(w, to));
    QTest::mouseRelease(cells(w), Qt::LeftButton, {}, middle(w, to));
}

void typeAtFocus(const QString& text) {
    for (QChar typed : text) QTest::keyClick(QApplication::focusWidget(), typed.toLatin1());
}

// The cell indices whose bytes differ between two images in field.
std::set<std::size_t> changedCells(const model::ParameterImage& a, const model::ParameterImage& b,
                                   Field field) {
    std::set<std::size_t> changed;
    for (std::size_t k = 0; k < model::kMapCells; ++k) {
        if (a.get(field, k) != b.get(field, k)) changed.insert(k);
    }
    return changed;
}

std::set<std::size_t> block(int top, int left, int bottom, int right) {
    std::set<std::size_t> cells;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) cells.insert(editing::cellIndex(r, c));
    }
    return cells;
}

// Advance cells that differ from each other and leave room above.
void fillAdvance(app::TFormHlav& w) {
    for (std::size_t k = 0; k < model::kMapCells; ++k) {
        w.image().set(Field::ADVANCE_Cell, k, 10 + static_cast<unsigned>(k % 40));
    }
    w.runPipeline();
}

}  // namespace

class WindowMapCellsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void init() {
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.path());
    }

    // A drag over 3 x 4 cells, "*", "110", Enter: exactly those cells, in
    // one undo step that Ctrl+Z takes back whole.
    void scalingABlockIsOneUndoStep() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        fillAdvance(w);
        const model::ParameterImage before = w.image();
        drag(w, {2, 3}, {4, 6});
        QTest::keyClick(cells(w), '*');
        typeAtFocus(QStringLiteral("110"));
        testing::keyAtFocus(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), cells(w));
        QCOMPARE(changedCells(before, w.image(), Field::ADVANCE_Cell), block(2, 3, 4, 6));
        for (std::size_t k : block(2, 3, 4, 6)) {
            const unsigned was = before.get(Field::ADVANCE_Cell, k);
            QCOMPARE(w.image().get(Field::ADVANCE_Cell, k), std::min(60u, (was * 11 + 5) / 10));
        }
        testing::keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == before);
        QCOMPARE(w.currentPage(), editing::kPageAdvance);
    }

    // The step keys act on a selected block; with a single cell they stay
    // the map tools at the live cell.
    void stepKeysStepASelectedBlock() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        fillAdvance(w);
        const model::ParameterImage before = w.image();
        QTest::mouseClick(cells(w), Qt::LeftButton, {}, middle(w, {6, 1}));
        QTest::mouseClick(cells(w), Qt::LeftButton, Qt::ShiftModifier, middle(w, {7, 2}));
        testing::keyAtFocus(Qt::Key_F5);
        QCOMPARE(changedCells(before, w.image(), Field::ADVANCE_Cell), block(6, 1, 7, 2));
        testing::keyAtFocus(Qt::Key_F4);
        QVERIFY(w.image() == before);
        // One cell selected, engine stopped: the tools find no cell.
        QTest::mouseClick(cells(w), Qt::LeftButton, {}, middle(w, {6, 1}));
        testing::keyAtFocus(Qt::Key_F5);
        QVERIFY(w.image() == before);
    }

    // Eleven rows do not fit: a message, and nothing changes.
    void aPasteThatDoesNotFitIsRefusedWithAMessage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageJet1A);
        t.script.messages.clear();
        const model::ParameterImage before = w.image();
        const bool couldUndo = w.pipeline().canUndo();
        QString rows;
        for (int r = 0; r < 11; ++r) rows += QStringLiteral("100\t101\n");
        QApplication::clipboard()->setText(rows);
        QTest::mouseClick(cells(w), Qt::LeftButton, {}, middle(w, {0, 0}));
        testing::keyAtFocus(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t.script.messages.size(), qsizetype{1});
        QVERIFY2(t.script.messages.front().contains(QStringLiteral("11")),
                 qPrintable(t.script.messages.front()));
        QVERIFY(w.image() == before);
        QCOMPARE(w.pipeline().canUndo(), couldUndo);
    }

    // The whole map copied with its axes and pasted back changes nothing;
    // an edited copy comes back as one step.
    void copyAndPasteOfTheWholeMap() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageJet1A);
        const model::ParameterImage before = w.image();
        QTest::mouseClick(cells(w), Qt::LeftButton, {}, middle(w, {3, 3}));
        testing::keyAtFocus(Qt::Key_A, Qt::ControlModifier);
        testing::keyAtFocus(Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied.count(QLatin1Char('\n')), 11);  // the axis row and ten rows
        testing::keyAtFocus(Qt::Key_V, Qt::ControlModifier);
        QVERIFY(w.image() == before);

        // The copy with one number changed, as a spreadsheet gives it back.
        QStringList lines = copied.split(QLatin1Char('\n'));
        QStringList row = lines[1].split(QLatin1Char('\t'));
        row[1] = QString::number(row[1].toInt() + 7);
        lines[1] = row.join(QLatin1Char('\t'));
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
        testing::keyAtFocus(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(changedCells(before, w.image(), Field::JET_1A_Cell), block(0, 0, 0, 0));
        testing::keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == before);
    }

    // Map 2 coupled to map 1 takes no operation.
    void coupledMapTwoTakesNoOperation() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        w.image().set(Field::JET1_MISC_Jet123Mode, 1u);
        w.runPipeline();
        testing::clickTab(w.pageControl(), editing::kPageJet2A);
        const model::ParameterImage before = w.image();
        QApplication::clipboard()->setText(QStringLiteral("150"));
        QTest::mouseClick(cells(w), Qt::LeftButton, {}, middle(w, {1, 1}));
        testing::keyAtFocus(Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(cells(w), 'S');
        QVERIFY(w.image() == before);
    }

    // With programming after change, an operation sends the blocks it
    // changed.
    void anOperationIsProgrammedOnce() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        const model::ParameterImage before = w.image();
        QTest::mouseClick(w.controls().find<QAbstractButton>("CheckBoxProgHned"), Qt::LeftButton);
        drag(w, {0, 0}, {0, 4});
        QTest::keyClick(cells(w), '=');
        typeAtFocus(QStringLiteral("25"));
        testing::keyAtFocus(Qt::Key_Return);
        for (std::size_t k : block(0, 0, 0, 4)) {
            QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, k)), 25);
        }
        QVERIFY(!changedCells(before, w.image(), Field::ADVANCE_Cell).empty());
        const link::TransferEngine& engine = w.unitLink().transfer();
        QCOMPARE(engine.state(), link::TransferState::Program);
        std::set<int> changedBlocks;
        for (std::size_t k : block(0, 0, 0, 4)) {
            changedBlocks.insert(
                model::ParameterImage::blockOf(model::descriptor(Field::ADVANCE_Cell).offsetOf(k)));
        }
        for (int b = 1; b <= model::ParameterImage::kBlockCount; ++b) {
            QCOMPARE(engine.blockFlag(b), changedBlocks.contains(b));
        }
    }

    // The graph toggle in the grid's corner and the G key show the graph,
    // which follows the edits; closing it clears the toggle.
    void graphFollowsTheEditsAndItsToggle() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        auto* toggle = w.controls().find<QToolButton>("ButtonMapGraph_Uni");
        QTest::mouseClick(toggle, Qt::LeftButton);
        auto* graph = w.findChild<graph::MapGraph*>();
        QVERIFY(graph != nullptr);
        QVERIFY(graph->isVisible());
        QCOMPARE(QApplication::activeWindow(), &w);  // the keyboard stays with the cells

        QTest::mouseClick(cells(w), Qt::LeftButton, {}, middle(w, {0, 2}));
        typeAtFocus(QStringLiteral("42"));
        testing::keyAtFocus(Qt::Key_Return);
        QCOMPARE(graph->rowPoints(0)[2].y(), 42.0);

        testing::keyAtFocus(Qt::Key_G);
        QVERIFY(!graph->isVisible());
        QVERIFY(!toggle->isChecked());
        testing::keyAtFocus(Qt::Key_G);
        QVERIFY(graph->isVisible());
        graph->close();
        QVERIFY(!toggle->isChecked());
    }
};

QTEST_MAIN(WindowMapCellsTest)
#include "window_map_cells_test.moc"
