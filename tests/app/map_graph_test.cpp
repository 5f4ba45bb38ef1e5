// The graph of the shown map follows the cell grid: its curves, the
// selection, the live cell, single-row mode and the ms display.
#include <QtTest>
#include <memory>

#include "../support/real_input.h"
#include "editing/map_content.h"
#include "editing/map_selection.h"
#include "editing/widgets/map_cell_grid.h"
#include "graph/map_graph.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

using namespace zelvor;
using editing::GridCell;
using editing::MapId;
using model::Field;

class MapGraphTest : public QObject {
    Q_OBJECT

    model::ParameterImage image;
    std::unique_ptr<widgets::MapCellGrid> grid;
    std::unique_ptr<graph::MapGraph> graph;

    // The points the grid's content gives a row: (axis rpm, value).
    QList<QPointF> expectedRow(int row, bool ms = false) const {
        QList<QPointF> points;
        const editing::MapContent& content = grid->content();
        for (int c = 0; c < model::kMapColumns; ++c) {
            const std::size_t k = editing::cellIndex(row, c);
            points.append({double(content.axis[std::size_t(c)]),
                           ms ? content.words[k] / 1000.0 : double(content.cells[k])});
        }
        return points;
    }

  private slots:
    void init() {
        image = {};
        model::InjectionScaling scaling;
        model::loadDefaultSet(image, scaling);
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            image.set(Field::ADVANCE_Cell, k, 5 + static_cast<unsigned>(k % 45));
        }
        image.set(Field::JET1_MISC_Jet123Mode, 0u);
        model::sanitize(image);
        grid = std::make_unique<widgets::MapCellGrid>();
        grid->showMap(MapId::Advance, image);
        graph = std::make_unique<graph::MapGraph>(grid.get(), nullptr);
        testing::showActive(*grid);
        graph->show();
    }

    void cleanup() {
        graph.reset();
        grid.reset();
    }

    void curvesFollowTheShownMap() {
        for (int r = 0; r < model::kMapRows; ++r) QCOMPARE(graph->rowPoints(r), expectedRow(r));
        QVERIFY(graph->valueAxisTitle().contains(QStringLiteral("advance")));
        // A changed cell is drawn as soon as the map is shown again.
        image.set(Field::ADVANCE_Cell, editing::cellIndex(4, 7), 57u);
        grid->showMap(MapId::Advance, image);
        QCOMPARE(graph->rowPoints(4)[7], QPointF(grid->content().axis[7], 57));
        // The injection map in percent, then in ms.
        grid->showMap(MapId::Jet1A, image);
        QCOMPARE(graph->rowPoints(9), expectedRow(9));
        QVERIFY(graph->valueAxisTitle().contains(QStringLiteral("%")));
        grid->setMsDisplay(true);
        QCOMPARE(graph->rowPoints(2), expectedRow(2, true));
        QVERIFY(graph->valueAxisTitle().contains(QStringLiteral("ms")));
    }

    void singleRowModeDrawsTheOneRow() {
        grid->setSingleRow(true);
        for (int r = 0; r < 9; ++r) QVERIFY(graph->rowPoints(r).isEmpty());
        QCOMPARE(graph->rowPoints(9), expectedRow(9));
        grid->setSingleRow(false);
        QCOMPARE(graph->rowPoints(0), expectedRow(0));
    }

    void selectionAndLiveCellAreMarked() {
        const QPoint from = grid->editRect({2, 3}).center();
        const QPoint to = grid->editRect({4, 6}).center();
        QTest::mousePress(grid.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(grid.get(), to);
        QTest::mouseRelease(grid.get(), Qt::LeftButton, {}, to);
        const QList<QPointF> selected = graph->selectedPoints();
        QCOMPARE(selected.size(), 12);
        QVERIFY(selected.contains(expectedRow(3)[5]));
        for (const QPointF& point : selected) {
            // Only the columns 3..6 of the block.
            QVERIFY(point.x() >= grid->content().axis[3] && point.x() <= grid->content().axis[6]);
        }

        QVERIFY(graph->livePoints().isEmpty());
        grid->setLiveCell(GridCell{7, 2});
        QCOMPARE(graph->livePoints(), QList<QPointF>{expectedRow(7)[2]});
        grid->setLiveCell(std::nullopt);
        QVERIFY(graph->livePoints().isEmpty());
    }

    // A closed graph draws nothing and catches up when it opens again.
    void aHiddenGraphCatchesUpWhenShown() {
        graph->hide();
        image.set(Field::ADVANCE_Cell, editing::cellIndex(0, 0), 44u);
        grid->showMap(MapId::Advance, image);
        grid->setLiveCell(GridCell{1, 1});
        graph->show();
        QCOMPARE(graph->rowPoints(0), expectedRow(0));
        QCOMPARE(graph->livePoints(), QList<QPointF>{expectedRow(1)[1]});
    }
};

QTEST_MAIN(MapGraphTest)
#include "map_graph_test.moc"
