#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "editing/widgets/tool_text.h"
#include "model/injection.h"

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace zelvor::widgets {
class MapCellGrid;
}

namespace zelvor::graph {

// The shown map as a graph, in a tool window beside the main window: one
// curve per throttle row against the speed axis, the selected cells as
// points, the cell the engine runs at as a ring. It follows the cell grid:
// every change, selection and move of the live cell is drawn at once while
// the window is open; a closed window draws nothing and catches up when it
// opens again.
class MapGraph : public QWidget {
    Q_OBJECT
  public:
    MapGraph(widgets::MapCellGrid* cells, QWidget* parent);

    // What is drawn, for the tests: the curve of a row (empty while hidden
    // in single-row mode), the selected and the live points.
    QList<QPointF> rowPoints(int row) const;
    QList<QPointF> selectedPoints() const;
    QList<QPointF> livePoints() const;
    QString valueAxisTitle() const;
    // Shows every text in the language.
    void setLanguage(i18n::Language language);

  signals:
    // The window was closed from its title bar.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void redrawMap();
    void redrawSelection();
    void redrawLiveCell();
    void showTexts();
    QPointF pointOf(int row, int column) const;
    double valueOf(int row, int column) const;

    QPointer<widgets::MapCellGrid> cells_;
    QChart* chart_;
    QChartView* view_;
    std::array<QLineSeries*, model::kMapRows> rows_{};
    QScatterSeries* selected_;
    QScatterSeries* live_;
    widgets::ToolLanguage said_;
    QValueAxis* speedAxis_;
    QValueAxis* valueAxis_;
};

}  // namespace zelvor::graph
