#pragma once

#include <QChartView>
#include <QString>
#include <vector>

#include "logview/decimation.h"

class QLineSeries;
class QValueAxis;

namespace zelvor::logview {

// What a strip chart draws over its series, and the times of the log the
// charts share.
struct ChartMarks {
    double cursor = -1.0;  // seconds; negative: none
    struct Marker {
        double time = 0.0;
        QString text;
    };
    std::vector<Marker> markers;
};

// One channel of a log over the shared time range. It draws the points it is
// given, the time cursor and the markers (their texts when asked to), and
// turns the mouse into requests: a wheel notch zooms around the pointer, a
// drag pans, a click places the cursor. The log view decides.
class StripChart : public QChartView {
    Q_OBJECT
  public:
    StripChart(const QString& title, double lowest, double highest, const ChartMarks& marks,
               bool markerTexts, QWidget* parent = nullptr);

    void show(const std::vector<ChartPoint>& points, double from, double to);
    // The values the chart has room for (a little more either side).
    void setValueRange(double lowest, double highest);
    // Stacked charts line their plots up under each other: the left edge
    // of the plot, and moving it there.
    double plotLeft() const;
    void alignPlotLeft(double left);
    // The width of the plot in pixels, for the decimation.
    int plotColumns() const;
    // The time at a horizontal position in the chart's coordinates.
    double timeAt(double x) const;
    double xOf(double time) const;

  signals:
    void zoomRequested(double aroundTime, int notches);
    void panRequested(double seconds);
    void timeClicked(double time);

  protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QLineSeries* series_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    const ChartMarks& marks_;
    bool markerTexts_;
    QPoint pressedAt_;
    QPoint draggedTo_;
    bool pressed_ = false;
    bool dragging_ = false;
};

}  // namespace zelvor::logview
