#include "logview/strip_chart.h"

#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "logview/value_axis.h"

namespace zelvor::logview {

namespace {

// A press that moves less than this is a click, not a drag.
constexpr int kDragPixels = 4;

}  // namespace

StripChart::StripChart(const QString& title, double lowest, double highest, const ChartMarks& marks,
                       bool markerTexts, QWidget* parent)
    // The chart is given to the view as it is made: a view made without one
    // makes a chart of its own, which setChart() would leave behind.
    : QChartView(new QChart, parent),
      series_(new QLineSeries),
      axisX_(new QValueAxis),
      axisY_(new QValueAxis),
      marks_(marks),
      markerTexts_(markerTexts) {
    QChart* chart = this->chart();
    chart->legend()->hide();
    chart->setTitle(title);
    QFont font = chart->titleFont();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * 0.85);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(8, font.pixelSize() * 85 / 100));
    }
    chart->setTitleFont(font);
    chart->setMargins(QMargins(2, 0, 2, 0));
    chart->setBackgroundRoundness(0);
    chart->addSeries(series_);
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    series_->attachAxis(axisX_);
    series_->attachAxis(axisY_);
    series_->setPointsVisible(false);
    axisX_->setLabelFormat(QStringLiteral("%.1f"));
    axisY_->setLabelFormat(QStringLiteral("%g"));
    setValueRange(lowest, highest);
    setRenderHint(QPainter::Antialiasing, false);
    setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(90);
    setDragMode(QGraphicsView::NoDrag);
}

void StripChart::show(const std::vector<ChartPoint>& points, double from, double to) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points) list.append(QPointF(p.x, p.y));
    axisX_->setRange(from, to);
    series_->replace(list);
    viewport()->update();
}

void StripChart::setValueRange(double lowest, double highest) {
    const ValueAxis axis = valueAxis(lowest, highest);
    if (axisY_->min() != axis.min || axisY_->max() != axis.max) {
        axisY_->setRange(axis.min, axis.max);
    }
    if (axisY_->tickCount() != axis.ticks) axisY_->setTickCount(axis.ticks);
}

void StripChart::alignPlotLeft(double left) {
    const double shift = left - chart()->plotArea().left();
    if (std::abs(shift) < 0.5) return;
    QMargins margins = chart()->margins();
    margins.setLeft(std::max(0, margins.left() + static_cast<int>(std::lround(shift))));
    chart()->setMargins(margins);
}

double StripChart::plotLeft() const {
    return chart()->plotArea().left();
}

int StripChart::plotColumns() const {
    const int width = static_cast<int>(chart()->plotArea().width());
    return width > 10 ? width : std::max(10, this->width() - 60);
}

double StripChart::timeAt(double x) const {
    const QRectF area = chart()->plotArea();
    if (area.width() <= 0) return axisX_->min();
    return axisX_->min() + (x - area.left()) / area.width() * (axisX_->max() - axisX_->min());
}

double StripChart::xOf(double time) const {
    const QRectF area = chart()->plotArea();
    const double span = axisX_->max() - axisX_->min();
    if (span <= 0) return area.left();
    return area.left() + (time - axisX_->min()) / span * area.width();
}

void StripChart::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF area = chart()->plotArea();
    painter->save();
    painter->setClipRect(area.adjusted(0, -2, 0, 2));
    painter->setPen(QPen(QColor(40, 90, 200), 1, Qt::DashLine));
    for (const ChartMarks::Marker& marker : marks_.markers) {
        const double x = xOf(marker.time);
        if (x < area.left() || x > area.right()) continue;
        painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        if (markerTexts_) {
            painter->drawText(QPointF(x + 3, area.top() + painter->fontMetrics().ascent() + 1),
                              marker.text);
        }
    }
    if (marks_.cursor >= 0) {
        const double x = xOf(marks_.cursor);
        if (x >= area.left() && x <= area.right()) {
            painter->setPen(QPen(QColor(210, 30, 30), 1));
            painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        }
    }
    painter->restore();
}

void StripChart::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) emit zoomRequested(timeAt(event->position().x()), notches);
    event->accept();
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    dragging_ = false;
    pressedAt_ = event->position().toPoint();
    draggedTo_ = pressedAt_;
    event->accept();
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return;
    const QPoint at = event->position().toPoint();
    if (!dragging_ && (at - pressedAt_).manhattanLength() >= kDragPixels) dragging_ = true;
    if (dragging_) {
        // Dragging to the right shows earlier times.
        const double seconds = timeAt(draggedTo_.x()) - timeAt(at.x());
        draggedTo_ = at;
        if (seconds != 0.0) emit panRequested(seconds);
    }
    event->accept();
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) return;
    pressed_ = false;
    if (!dragging_) emit timeClicked(timeAt(event->position().x()));
    dragging_ = false;
    event->accept();
}

}  // namespace zelvor::logview
