// The map cell grid driven by mouse and keyboard, with a small owner that
// writes each edit into an image and shows the map again, as the window does.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <cmath>
#include <memory>
#include <vector>

#include "../support/real_input.h"
#include "editing/map_clipboard.h"
#include "editing/map_content.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/map_cell_grid.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

using namespace zelvor;
using editing::GridCell;
using editing::MapId;
using model::Field;

namespace {

QPoint middleOf(const widgets::MapCellGrid& grid, GridCell cell) {
    return grid.editRect(cell).center();
}

// A point of a cell's field away from its number and its frames.
QPoint fillPointOf(const widgets::MapCellGrid& grid, GridCell cell) {
    const QRect edit = grid.editRect(cell);
    return {edit.left() + 30, edit.center().y()};
}

std::size_t indexOf(int row, int column) {
    return editing::cellIndex(row, column);
}

// Keys typed one by one where the focus is, as a keyboard sends them (the
// first digit opens an edit that takes the focus for the rest).
void typeAtFocus(const QString& text) {
    for (QChar typed : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        QTest::keyClick(target, typed.toLatin1());
    }
}

// Marks two cells of the advance map: one tinted red, one framed blue, each
// with a tooltip.
class TwoCellOverlay : public widgets::CellOverlay {
  public:
    std::optional<widgets::CellMark> mark(MapId map, GridCell cell) const override {
        if (map != MapId::Advance) return std::nullopt;
        if (cell.row == 2 && cell.column == 2) return widgets::CellMark{Qt::red, {}, "tinted"};
        if (cell.row == 2 && cell.column == 6) return widgets::CellMark{{}, Qt::blue, "framed"};
        return std::nullopt;
    }
};

}  // namespace

class MapCellGridTest : public QObject {
    Q_OBJECT

  private:
    model::ParameterImage image;
    model::InjectionScaling scaling;
    std::unique_ptr<widgets::MapCellGrid> grid;
    std::vector<editing::MapEdit> edits;
    std::vector<QString> refusals;
    bool writeBack = false;

    // Advance cells that differ from each other, within 0..60.
    void fillAdvance() {
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            image.set(Field::ADVANCE_Cell, k, 10 + static_cast<unsigned>(k % 40));
        }
    }

    const editing::MapCells& shown() const { return grid->content().cells; }

    void show(MapId map) {
        grid->showMap(map, image);
        testing::showActive(*grid);
        grid->setFocus();
    }

    void drag(GridCell from, GridCell to) {
        QTest::mousePress(grid.get(), Qt::LeftButton, {}, middleOf(*grid, from));
        QTest::mouseMove(grid.get(), middleOf(*grid, to));
        QTest::mouseRelease(grid.get(), Qt::LeftButton, {}, middleOf(*grid, to));
    }

    void click(GridCell cell, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid.get(), Qt::LeftButton, modifiers, middleOf(*grid, cell));
    }

  private slots:
    void init() {
        image = {};
        model::loadDefaultSet(image, scaling);
        model::sanitize(image);
        image.set(Field::JET1_MISC_Jet123Mode, 0u);
        fillAdvance();
        edits.clear();
        refusals.clear();
        writeBack = false;
        grid = std::make_unique<widgets::MapCellGrid>();
        connect(grid.get(), &widgets::MapCellGrid::edited, this,
                [this](const editing::MapEdit& edit) {
                    edits.push_back(edit);
                    if (!writeBack) return;
                    editing::writeMapEdit(grid->map(), edit, image, scaling);
                    model::sanitize(image);
                    grid->showMap(grid->map(), image);
                });
        connect(grid.get(), &widgets::MapCellGrid::pasteRefused, this,
                [this](const QString& message) { refusals.push_back(message); });
    }

    void cleanup() { grid.reset(); }

    // ---- Selection and operations ----

    void dragThenScaleChangesExactlyTheBlock() {
        for (MapId map : {MapId::Advance, MapId::Jet1A}) {
            edits.clear();
            show(map);
            const editing::MapCells before = shown();
            drag({2, 3}, {4, 6});
            QCOMPARE(grid->selection(), (editing::MapSelection{2, 3, 4, 6}));
            QTest::keyClick(grid.get(), '*');
            QLineEdit* input = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QVERIFY(input != nullptr);
            QTest::keyClicks(input, "110");
            QTest::keyClick(input, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), grid.get());
            QCOMPARE(edits.size(), std::size_t{1});
            QVERIFY(!edits[0].axis);
            const editing::CellLimits limits = editing::cellLimits(map);
            int changed = 0;
            for (int r = 0; r < model::kMapRows; ++r) {
                for (int c = 0; c < model::kMapColumns; ++c) {
                    const int was = before[indexOf(r, c)];
                    const int now = edits[0].cells[indexOf(r, c)];
                    if (r < 2 || r > 4 || c < 3 || c > 6) {
                        QCOMPARE(now, was);
                        continue;
                    }
                    // +10 %, halves away from zero, held to the map's range.
                    const int expected = std::min(
                        limits.maximum, static_cast<int>(std::floor(was * 1.1 + 0.5 + 1e-9)));
                    QCOMPARE(now, expected);
                    if (now != was) ++changed;
                }
            }
            QCOMPARE(changed, 12);
        }
    }

    void slashOnOneRowDrawsAStraightLine() {
        image.set(Field::ADVANCE_Cell, indexOf(5, 2), 10u);
        image.set(Field::ADVANCE_Cell, indexOf(5, 9), 45u);
        show(MapId::Advance);
        const editing::MapCells before = shown();
        click({5, 2});
        click({5, 9}, Qt::ShiftModifier);
        QTest::keyClick(grid.get(), '/');
        QCOMPARE(edits.size(), std::size_t{1});
        for (int c = 2; c <= 9; ++c) QCOMPARE(edits[0].cells[indexOf(5, c)], 10 + 5 * (c - 2));
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            if (k / model::kMapColumns != 5) QCOMPARE(edits[0].cells[k], before[k]);
        }
    }

    void keysSelectAndStepTheBlock() {
        writeBack = true;
        show(MapId::Advance);
        click({1, 1});
        QTest::keyClick(grid.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(grid.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid->selection(), (editing::MapSelection{1, 1, 3, 2}));
        const editing::MapCells before = shown();
        QTest::keyClick(grid.get(), Qt::Key_F5);
        QTest::keyClick(grid.get(), Qt::Key_F5);
        QTest::keyClick(grid.get(), Qt::Key_F4);
        QCOMPARE(edits.size(), std::size_t{3});
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            const bool inBlock = grid->selection().contains(static_cast<int>(k) / 15, k % 15);
            QCOMPARE(shown()[k], before[k] + (inBlock ? 1 : 0));
        }
        // A count typed first: that many steps down.
        typeAtFocus(QStringLiteral("3-"));
        QCOMPARE(edits.size(), std::size_t{4});
        QCOMPARE(shown()[indexOf(2, 2)], before[indexOf(2, 2)] - 2);

        // An arrow collapses the selection to the current cell; F4 on a
        // single cell is left to the window's tools.
        QTest::keyClick(grid.get(), Qt::Key_Left);
        QCOMPARE(grid->selection(), editing::MapSelection::single({3, 1}));
        QTest::keyClick(grid.get(), Qt::Key_F4);
        QCOMPARE(edits.size(), std::size_t{4});

        QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(grid->selection().isWholeMap());
        QTest::keyClick(grid.get(), '=');
        QTest::keyClicks(QApplication::focusWidget(), "20");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        for (int value : shown()) QCOMPARE(value, 20);
        // A decimal comma is read as a point: 12.5 % up rounds 20 to 23.
        QTest::keyClick(grid.get(), '*');
        typeAtFocus(QStringLiteral("112,5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        for (int value : shown()) QCOMPARE(value, 23);
    }

    void stepKeysReachTheWindowUnlessABlockIsSelected() {
        // The window's Minus and Plus (F4/F5) step the live cell; a block
        // selected in the grid takes the keys for itself.
        QWidget window;
        grid->setParent(&window);
        int windowSteps = 0;
        auto* minus = new QAction(&window);
        minus->setShortcut(Qt::Key_F4);
        window.addAction(minus);
        connect(minus, &QAction::triggered, this, [&windowSteps] { ++windowSteps; });
        grid->showMap(MapId::Advance, image);
        testing::showActive(window);
        click({1, 1});
        testing::keyAtFocus(Qt::Key_F4);
        QCOMPARE(windowSteps, 1);
        QVERIFY(edits.empty());
        click({2, 2}, Qt::ShiftModifier);
        testing::keyAtFocus(Qt::Key_F4);
        QCOMPARE(windowSteps, 1);
        QCOMPARE(edits.size(), std::size_t{1});
        grid->setParent(nullptr);
    }

    void escapeDropsTheOperationInput() {
        show(MapId::Advance);
        drag({0, 0}, {1, 1});
        QTest::keyClick(grid.get(), '=');
        QLineEdit* input = grid->findChild<QLineEdit*>(QStringLiteral("operandInput"));
        QVERIFY(input != nullptr);
        QCOMPARE(QApplication::focusWidget(), input);
        // Beside the block, not over it.
        QVERIFY(input->geometry().left() > grid->cellRect({0, 1}).right());
        QTest::keyClicks(input, "33");
        QTest::keyClick(input, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), grid.get());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(grid->findChild<QLineEdit*>(QStringLiteral("operandInput")) == nullptr);
        QVERIFY(edits.empty());
        // The grid takes its keys again.
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QCOMPARE(grid->currentCell().column, 2);
    }

    // ---- Cell edit and spinner ----

    void typingANumberCommitsOneCell() {
        show(MapId::Advance);
        const editing::MapCells before = shown();
        click({3, 4});
        typeAtFocus(QStringLiteral("42"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(edits.size(), std::size_t{1});
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            QCOMPARE(edits[0].cells[k], k == indexOf(3, 4) ? 42 : before[k]);
        }
        QCOMPARE(QApplication::focusWidget(), grid.get());

        // Above the range is held to it; Escape drops; a click into another
        // cell takes the typed value.
        typeAtFocus(QStringLiteral("75"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(edits.back().cells[indexOf(3, 4)], 60);
        typeAtFocus(QStringLiteral("7"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(edits.size(), std::size_t{2});
        typeAtFocus(QStringLiteral("8"));
        click({6, 6});
        QCOMPARE(edits.size(), std::size_t{3});
        QCOMPARE(edits.back().cells[indexOf(3, 4)], 8);
        QCOMPARE(grid->currentCell().row, 6);

        // What a save or a program run collects: the typed value handed
        // over without a signal, the edit closed.
        typeAtFocus(QStringLiteral("9"));
        const std::optional<editing::MapEdit> pending = grid->takePendingEdit();
        QVERIFY(pending.has_value());
        QCOMPARE(pending->cells[indexOf(6, 6)], 9);
        QCOMPARE(edits.size(), std::size_t{3});
        QCOMPARE(QApplication::focusWidget(), grid.get());
        QVERIFY(!grid->takePendingEdit());
    }

    void arrowsInACellEditTakeTheValueAndMoveOn() {
        show(MapId::Advance);
        click({4, 4});
        typeAtFocus(QStringLiteral("12"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(edits.size(), std::size_t{1});
        QCOMPARE(edits[0].cells[indexOf(4, 4)], 12);
        QCOMPARE(edits[0].cells[indexOf(5, 4)], shown()[indexOf(5, 4)]);
        QCOMPARE(grid->currentCell().row, 5);
        QCOMPARE(QApplication::focusWidget(), grid.get());
        // Letters never reach the cell: the edit holds numbers only.
        typeAtFocus(QStringLiteral("1x3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(edits.size(), std::size_t{2});
        QCOMPARE(edits[1].cells[indexOf(5, 4)], 13);
        QCOMPARE(grid->currentCell().row, 4);
    }

    void wheelStepsTheCurrentCellOnlyWithFocus() {
        writeBack = true;
        show(MapId::Advance);
        click({2, 5});
        const int before = shown()[indexOf(2, 5)];
        auto wheel = [this](GridCell cell, int notches) {
            const QPoint local = middleOf(*grid, cell);
            QWheelEvent event(local, grid->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&event);
            qApp->notify(grid.get(), &event);
            return event.isAccepted();
        };
        QVERIFY(wheel({2, 5}, 1));
        QCOMPARE(shown()[indexOf(2, 5)], before + 1);
        QVERIFY(wheel({2, 5}, -1));
        QVERIFY(wheel({2, 5}, -1));
        QCOMPARE(shown()[indexOf(2, 5)], before - 1);
        // Over another cell, or without focus, the wheel goes on to the page.
        QVERIFY(!wheel({3, 5}, 1));
        grid->clearFocus();
        QVERIFY(!wheel({2, 5}, 1));
        QCOMPARE(edits.size(), std::size_t{3});
    }

    void spinnerHalvesStepTheCell() {
        writeBack = true;
        show(MapId::Advance);
        const GridCell cell{2, 2};
        const int before = shown()[indexOf(2, 2)];
        const QRect spinner = grid->spinnerRect(cell);
        const QPoint up(spinner.center().x(), spinner.top() + 3);
        const QPoint down(spinner.center().x(), spinner.bottom() - 3);
        QTest::mouseClick(grid.get(), Qt::LeftButton, {}, up);
        QTest::mouseClick(grid.get(), Qt::LeftButton, {}, up);
        QCOMPARE(shown()[indexOf(2, 2)], before + 2);
        QTest::mouseClick(grid.get(), Qt::LeftButton, {}, down);
        QCOMPARE(shown()[indexOf(2, 2)], before + 1);
        QCOMPARE(edits.size(), std::size_t{3});
        for (const editing::MapEdit& edit : edits) QVERIFY(!edit.axis);
        // At the top of the range the step changes nothing.
        image.set(Field::ADVANCE_Cell, indexOf(2, 2), 60u);
        grid->showMap(MapId::Advance, image);
        QTest::mouseClick(grid.get(), Qt::LeftButton, {}, up);
        QCOMPARE(edits.size(), std::size_t{3});
    }

    void mapTwoFollowingMapOneTakesNoEdits() {
        image.set(Field::JET1_MISC_Jet123Mode, 1u);
        show(MapId::Jet2A);
        QVERIFY(!grid->acceptsEdits());
        const QRect spinner = grid->spinnerRect({1, 1});
        QTest::mouseClick(grid.get(), Qt::LeftButton, {}, spinner.topLeft() + QPoint(8, 3));
        QTest::keyClicks(grid.get(), "5");
        QTest::keyClick(grid.get(), Qt::Key_Return);
        QTest::keyClick(grid.get(), 'S');
        QVERIFY(edits.empty());
        QApplication::clipboard()->setText(QStringLiteral("5"));
        QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(edits.empty());
        QCOMPARE(refusals.size(), std::size_t{1});
    }

    // ---- Clipboard ----

    void copyOfTheWholeMapPastesBackUnchanged() {
        for (MapId map : {MapId::Advance, MapId::Jet1A}) {
            edits.clear();
            show(map);
            QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
            const QString text = QApplication::clipboard()->text();
            QCOMPARE(text.count('\n'), 11);  // the axis line and ten rows
            QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
            QVERIFY(edits.empty());
            QVERIFY(refusals.empty());

            // One number changed, as in a spreadsheet: only that cell moves.
            QStringList lines = text.split('\n');
            QStringList fields = lines[3].split('\t');           // row 2
            fields[5] = QString::number(fields[5].toInt() + 3);  // column 4
            lines[3] = fields.join('\t');
            QApplication::clipboard()->setText(lines.join('\n'));
            QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(edits.size(), std::size_t{1});
            QVERIFY(!edits[0].axis);
            for (std::size_t k = 0; k < model::kMapCells; ++k) {
                QCOMPARE(edits[0].cells[k], shown()[k] + (k == indexOf(2, 4) ? 3 : 0));
            }
        }
    }

    void copyOfABlockGivesOnlyItsCells() {
        show(MapId::Advance);
        drag({1, 13}, {2, 14});
        QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
        const QString expected = QStringLiteral("%1\t%2\n%3\t%4\n")
                                     .arg(shown()[indexOf(1, 13)])
                                     .arg(shown()[indexOf(1, 14)])
                                     .arg(shown()[indexOf(2, 13)])
                                     .arg(shown()[indexOf(2, 14)]);
        QCOMPARE(QApplication::clipboard()->text(), expected);
    }

    void pastingTooManyRowsIsRefused() {
        show(MapId::Advance);
        click({0, 0});
        QString rows;
        for (int r = 0; r < 11; ++r) rows += QStringLiteral("1\t2\t3\n");
        QApplication::clipboard()->setText(rows);
        QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(edits.empty());
        QCOMPARE(refusals.size(), std::size_t{1});
        editing::PasteError error;
        error.kind = editing::PasteError::Kind::TooManyRows;
        error.row = 11;
        error.column = 1;
        error.room = 10;
        QCOMPARE(refusals[0], QString::fromStdString(editing::describePasteError(error)));

        // A block pasted at the current cell lands there.
        click({8, 12});
        QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n"));
        QTest::keyClick(grid.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edits.size(), std::size_t{1});
        QCOMPARE(edits[0].cells[indexOf(8, 12)], 1);
        QCOMPARE(edits[0].cells[indexOf(9, 13)], 4);
    }

    // ---- Colours ----

    void liveCellStaysLitInsideTheSelection() {
        show(MapId::Advance);
        drag({3, 3}, {5, 5});
        grid->setLiveCell(GridCell{4, 4});
        const QColor lime = widgets::toQColor(editing::Colour::Lime);
        QImage shot = grid->grab().toImage();
        QCOMPARE(QColor(shot.pixel(fillPointOf(*grid, {4, 4}))), lime);
        const QColor selected(shot.pixel(fillPointOf(*grid, {3, 3})));
        const QColor plain(shot.pixel(fillPointOf(*grid, {0, 0})));
        QVERIFY(selected != lime && selected != plain && plain != lime);

        // Shaded: the cells take the colour of their values, the selection
        // and the live cell stay apart from every shade.
        QToolButton* toggle = grid->createShadingToggle(grid.get());
        toggle->move(grid->width() - 20, 0);
        toggle->show();
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(grid->shading());
        QCOMPARE(QApplication::focusWidget(), grid.get());
        shot = grid->grab().toImage();
        QCOMPARE(QColor(shot.pixel(fillPointOf(*grid, {4, 4}))), lime);
        const QColor low(shot.pixel(fillPointOf(*grid, {0, 0})));    // 10 degrees
        const QColor high(shot.pixel(fillPointOf(*grid, {1, 14})));  // 49 degrees
        QVERIFY(low != high && low != plain);
        QVERIFY(QColor(shot.pixel(fillPointOf(*grid, {3, 3}))) != low);

        // The live cell moves off (a cell outside the map is none): its old
        // place is shown as selected again.
        grid->setLiveCell(GridCell{10, 4});
        QVERIFY(!grid->liveCell());
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!grid->shading());
        shot = grid->grab().toImage();
        QCOMPARE(QColor(shot.pixel(fillPointOf(*grid, {4, 4}))), selected);
    }

    void overlaysTintFrameAndExplainCellsUntilRemoved() {
        show(MapId::Advance);
        const QImage before = grid->grab().toImage();
        TwoCellOverlay overlay;
        grid->setOverlay(widgets::OverlayRole::Compare, &overlay);
        QImage shot = grid->grab().toImage();
        const QColor tinted(shot.pixel(fillPointOf(*grid, {2, 2})));
        QVERIFY(tinted != QColor(before.pixel(fillPointOf(*grid, {2, 2}))));
        QVERIFY(tinted.red() > tinted.blue());
        const QRect framed = grid->editRect({2, 6});
        QCOMPARE(QColor(shot.pixel(framed.left() + 1, framed.center().y())), QColor(Qt::blue));
        QCOMPARE(shot.pixel(fillPointOf(*grid, {3, 3})), before.pixel(fillPointOf(*grid, {3, 3})));

        // The same overlay in both places: both tooltips, one line each.
        grid->setOverlay(widgets::OverlayRole::Ride, &overlay);
        QCOMPARE(grid->overlayToolTip({2, 6}), QStringLiteral("framed\nframed"));
        QVERIFY(grid->overlayToolTip({0, 0}).isEmpty());
        QHelpEvent hover(QEvent::ToolTip, middleOf(*grid, {2, 2}),
                         grid->mapToGlobal(middleOf(*grid, {2, 2})));
        QApplication::sendEvent(grid.get(), &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("tinted\ntinted"));

        grid->setOverlay(widgets::OverlayRole::Compare, nullptr);
        grid->setOverlay(widgets::OverlayRole::Ride, nullptr);
        QCOMPARE(grid->grab().toImage(), before);
        // Another map is not marked by an overlay of the advance map.
        show(MapId::Jet1A);
        const QImage jetPlain = grid->grab().toImage();
        grid->setOverlay(widgets::OverlayRole::Compare, &overlay);
        QCOMPARE(grid->grab().toImage(), jetPlain);
    }

    void printModeHidesTheSpinners() {
        show(MapId::Advance);
        const QRect spinner = grid->spinnerRect({0, 0});
        const QPoint arrow(spinner.center().x(), spinner.top() + 5);
        const QColor background = grid->palette().color(QPalette::Window);
        QVERIFY(QColor(grid->grab().toImage().pixel(arrow)) != background);
        grid->setSpinnersShown(false);
        QCOMPARE(QColor(grid->grab().toImage().pixel(arrow)), background);
        // Where the arrows were, a click steps nothing.
        QTest::mouseClick(grid.get(), Qt::LeftButton, {}, arrow);
        QVERIFY(edits.empty());
    }

    void singleRowShowsTheFullThrottleRowOnTop() {
        show(MapId::Advance);
        grid->setSingleRow(true);
        QCOMPARE(grid->cellAt(middleOf(*grid, {0, 3}))->row, 9);
        click({0, 3});  // drawn where row 0 stands
        QCOMPARE(grid->currentCell().row, 9);
        QTest::keyClick(grid.get(), Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(grid.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(grid->selection(), (editing::MapSelection{9, 0, 9, 14}));
        QTest::keyClick(grid.get(), Qt::Key_F5);
        QCOMPARE(edits.size(), std::size_t{1});
        for (std::size_t k = 0; k < indexOf(9, 0); ++k) QCOMPARE(edits[0].cells[k], shown()[k]);
    }
};

QTEST_MAIN(MapCellGridTest)
#include "map_cell_grid_test.moc"
