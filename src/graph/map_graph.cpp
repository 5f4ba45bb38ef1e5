#include "graph/map_graph.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "editing/map_content.h"
#include "editing/map_selection.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/tool_text.h"

namespace zelvor::graph {

namespace {

constexpr int kLastRow = model::kMapRows - 1;

// Rows from closed (cool blue) to full throttle (warm red), so that the
// order of the curves reads at a glance.
QColor rowColour(int row) {
    const double share = static_cast<double>(row) / kLastRow;
    return QColor::fromHsvF(0.62 - 0.62 * share, 0.75, 0.80);
}

QString rowName(int row) {
    return QStringLiteral("%1 %").arg(editing::kThrottleRowPercent[static_cast<std::size_t>(row)]);
}

QList<QPointF> pointsOf(const QXYSeries* series) {
    return series->isVisible() ? series->points() : QList<QPointF>{};
}

}  // namespace

MapGraph::MapGraph(widgets::MapCellGrid* cells, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      cells_(cells),
      chart_(new QChart),
      view_(new QChartView(chart_, this)),
      selected_(new QScatterSeries),
      live_(new QScatterSeries),
      speedAxis_(new QValueAxis),
      valueAxis_(new QValueAxis) {
    setObjectName(QStringLiteral("MapGraph"));
    view_->setRenderHint(QPainter::Antialiasing);
    chart_->legend()->setAlignment(Qt::AlignRight);
    speedAxis_->setTitleText(QStringLiteral("rpm"));
    speedAxis_->setLabelFormat(QStringLiteral("%d"));
    chart_->addAxis(speedAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    for (int r = 0; r < model::kMapRows; ++r) {
        auto* series = new QLineSeries;
        series->setName(rowName(r));
        series->setColor(rowColour(r));
        series->setPointsVisible(true);
        chart_->addSeries(series);
        series->attachAxis(speedAxis_);
        series->attachAxis(valueAxis_);
        rows_[static_cast<std::size_t>(r)] = series;
    }
    // The selection as filled blue points, the live cell as a lime ring
    // drawn last, above everything: the same colours as in the grid.
    selected_->setMarkerSize(9);
    selected_->setColor(QColor(0x33, 0x66, 0xcc));
    selected_->setBorderColor(QColor(0x22, 0x44, 0x99));
    live_->setMarkerSize(16);
    live_->setColor(Qt::transparent);
    live_->setBorderColor(QColor(0x00, 0xc0, 0x00));
    QPen ring = live_->pen();
    ring.setWidth(3);
    ring.setColor(QColor(0x00, 0xc0, 0x00));
    live_->setPen(ring);
    for (QScatterSeries* marks : {selected_, live_}) {
        chart_->addSeries(marks);
        marks->attachAxis(speedAxis_);
        marks->attachAxis(valueAxis_);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(640, 420);

    connect(cells, &widgets::MapCellGrid::mapShown, this, &MapGraph::redrawMap);
    connect(cells, &widgets::MapCellGrid::selectionChanged, this, &MapGraph::redrawSelection);
    connect(cells, &widgets::MapCellGrid::liveCellChanged, this, &MapGraph::redrawLiveCell);
    showTexts();
}

void MapGraph::setLanguage(i18n::Language language) {
    if (!said_.change(language)) return;
    showTexts();
}

void MapGraph::showTexts() {
    setWindowTitle(said_(i18n::ToolText::GraphTitle));
    selected_->setName(said_(i18n::ToolText::GraphSelected));
    live_->setName(said_(i18n::ToolText::GraphEngine));
    redrawMap();
}

void MapGraph::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void MapGraph::showEvent(QShowEvent* event) {
    redrawMap();
    QWidget::showEvent(event);
}

double MapGraph::valueOf(int row, int column) const {
    const editing::MapContent& content = cells_->content();
    const std::size_t k = editing::cellIndex(row, column);
    const bool ms = cells_->msDisplay() && cells_->map() != editing::MapId::Advance;
    return ms ? content.words[k] / 1000.0 : content.cells[k];
}

QPointF MapGraph::pointOf(int row, int column) const {
    return {static_cast<double>(cells_->content().axis[static_cast<std::size_t>(column)]),
            valueOf(row, column)};
}

void MapGraph::redrawMap() {
    if (cells_ == nullptr || !isVisible()) return;
    const bool single = cells_->singleRow();
    double lowest = 0;
    double highest = 1;
    for (int r = 0; r < model::kMapRows; ++r) {
        QLineSeries* series = rows_[static_cast<std::size_t>(r)];
        const bool shown = !single || r == kLastRow;
        series->setVisible(shown);
        // In single-row mode the one row is the map whatever the throttle.
        series->setName(single ? said_(i18n::ToolText::GraphAll) : rowName(r));
        if (!shown) continue;
        QList<QPointF> points;
        for (int c = 0; c < model::kMapColumns; ++c) {
            points.append(pointOf(r, c));
            highest = std::max(highest, points.back().y());
            lowest = std::min(lowest, points.back().y());
        }
        series->replace(points);
    }
    const editing::AxisRpm& axis = cells_->content().axis;
    const auto [first, last] = std::minmax_element(axis.begin(), axis.end());
    speedAxis_->setRange(*first, std::max(*last, *first + 100));
    valueAxis_->setRange(lowest, highest * 1.05);
    valueAxis_->setTitleText(valueAxisTitle());
    const char* names[] = {"Advance map", "Injection map 1", "Injection map 2"};
    chart_->setTitle(QString::fromLatin1(names[static_cast<int>(cells_->map())]));
    redrawSelection();
    redrawLiveCell();
}

void MapGraph::redrawSelection() {
    if (cells_ == nullptr || !isVisible()) return;
    const editing::MapSelection selection = cells_->selection().normalized();
    QList<QPointF> points;
    for (int r = selection.top; r <= selection.bottom; ++r) {
        if (cells_->singleRow() && r != kLastRow) continue;
        for (int c = selection.left; c <= selection.right; ++c) points.append(pointOf(r, c));
    }
    selected_->replace(points);
}

void MapGraph::redrawLiveCell() {
    if (cells_ == nullptr || !isVisible()) return;
    QList<QPointF> points;
    if (const std::optional<editing::GridCell> live = cells_->liveCell()) {
        points.append(pointOf(live->row, live->column));
    }
    live_->replace(points);
}

QList<QPointF> MapGraph::rowPoints(int row) const {
    return pointsOf(rows_[static_cast<std::size_t>(row)]);
}

QList<QPointF> MapGraph::selectedPoints() const {
    return selected_->points();
}

QList<QPointF> MapGraph::livePoints() const {
    return live_->points();
}

QString MapGraph::valueAxisTitle() const {
    if (cells_ == nullptr || cells_->map() == editing::MapId::Advance) {
        return said_(i18n::ToolText::GraphAdvance);
    }
    return said_(cells_->msDisplay() ? i18n::ToolText::GraphInjectionMs
                                     : i18n::ToolText::GraphInjectionPercent);
}

}  // namespace zelvor::graph
