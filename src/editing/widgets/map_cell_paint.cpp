// Painting of the map cells: number field, spinner, and the colours of the
// current cell, the selection, the live cell and the shading by value.
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

#include "editing/map_grid_model.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/map_cell_shading.h"

namespace zelvor::widgets {

namespace {

using editing::GridCell;

constexpr QColor kSelectionFill{0xA9, 0xC8, 0xEB};
constexpr QColor kSelectionEdge{0x1F, 0x5F, 0xA8};
constexpr QColor kCurrentFrame{0x10, 0x10, 0x10};
constexpr QColor kFieldFrame{0x8A, 0x8A, 0x8A};
constexpr QColor kDisabledField{0xE6, 0xE6, 0xE6};
constexpr QColor kDisabledText{0x40, 0x40, 0x40};
constexpr QColor kArrow{0x30, 0x30, 0x30};

void paintArrow(QPainter& painter, QRect half, bool up) {
    const QPointF mid = QRectF(half).center();
    const double w = 3.5;
    const double h = up ? -2.0 : 2.0;
    const QPointF points[3] = {
        {mid.x() - w, mid.y() - h}, {mid.x() + w, mid.y() - h}, {mid.x(), mid.y() + h}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(kArrow);
    painter.drawPolygon(points, 3);
}

void paintSpinner(QPainter& painter, QRect spinner, QColor face) {
    painter.fillRect(spinner, face);
    painter.setPen(kFieldFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(spinner.adjusted(0, 0, -1, -1));
    const int middle = spinner.top() + spinner.height() / 2;
    painter.drawLine(spinner.left(), middle, spinner.right(), middle);
    paintArrow(painter,
               QRect(spinner.left(), spinner.top(), spinner.width(), middle - spinner.top()), true);
    paintArrow(painter,
               QRect(spinner.left(), middle, spinner.width(), spinner.bottom() - middle + 1),
               false);
}

}  // namespace

QString MapCellGrid::cellText(GridCell cell) const {
    const std::size_t k = editing::cellIndex(cell.row, cell.column);
    if (msDisplay_ && map_ != editing::MapId::Advance) {
        return QString::fromStdString(editing::msText(content_.words[k]));
    }
    return QString::number(content_.cells[k]);
}

const QStaticText& MapCellGrid::cellTextLayout(GridCell cell) const {
    // A number is laid out once and then only copied: most values recur
    // across cells and maps, so a page change or a moving live cell finds
    // its numbers laid out already.
    if (!textsValid_ || texts_.size() > kMaxLaidOutTexts) {
        texts_.clear();
        textsValid_ = true;
    }
    const QString text = cellText(cell);
    auto found = texts_.find(text);
    if (found == texts_.end()) {
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), font());
        found = texts_.insert(text, laidOut);
    }
    return found.value();
}

const QPixmap& MapCellGrid::spinnerPixmap() const {
    const qreal ratio = devicePixelRatioF();
    if (spinner_.isNull() || spinner_.devicePixelRatio() != ratio) {
        const QRect rect(0, 0, spinnerRect({}).width(), spinnerRect({}).height());
        spinner_ = QPixmap(rect.size() * ratio);
        spinner_.setDevicePixelRatio(ratio);
        QPainter painter(&spinner_);
        paintSpinner(painter, rect, toQColor(editing::Colour::ButtonFace));
    }
    return spinner_;
}

void MapCellGrid::paintCell(QPainter& painter, GridCell cell) const {
    const QRect edit = editRect(cell);
    const bool selected = selection_.contains(cell.row, cell.column);
    const bool isLive = live_ && live_->row == cell.row && live_->column == cell.column;
    const bool ms = msDisplay_ && map_ != editing::MapId::Advance;

    QColor fill = acceptsEdits_ ? toQColor(editing::Colour::Window) : kDisabledField;
    if (ms) fill = toQColor(editing::Colour::ButtonFace);
    if (shading_) {
        fill =
            shadeOf(content_.cells[editing::cellIndex(cell.row, cell.column)], lowest_, highest_);
    }
    fill = overlayFill(cell, fill);
    if (selected) fill = blend(fill, kSelectionFill, shading_ ? 0.55 : 1.0);
    // The live cell is lit whatever else is drawn on it.
    if (isLive) fill = toQColor(editing::Colour::Lime);
    // The frame and the field as two fills: the fastest way a raster
    // painter has to draw them.
    painter.fillRect(edit, kFieldFrame);
    painter.fillRect(edit.adjusted(1, 1, -1, -1), fill);

    const QStaticText& text = cellTextLayout(cell);
    const double textTop = edit.top() + (edit.height() - text.size().height()) / 2.0;
    painter.setPen(acceptsEdits_ ? Qt::black : kDisabledText);
    painter.drawStaticText(QPointF(edit.left() + 3, std::round(textTop)), text);

    paintOverlayFrames(painter, cell, edit);

    // The edges of the selected block, drawn inside the cells on its border,
    // so that repainting any single cell leaves the outline whole.
    if (selected && selection_.cellCount() > 1) {
        painter.setPen(QPen(kSelectionEdge, 2));
        const QRect inner = edit.adjusted(1, 1, -1, -1);
        if (cell.row == selection_.top) painter.drawLine(inner.topLeft(), inner.topRight());
        if (cell.row == selection_.bottom)
            painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        if (cell.column == selection_.left) painter.drawLine(inner.topLeft(), inner.bottomLeft());
        if (cell.column == selection_.right)
            painter.drawLine(inner.topRight(), inner.bottomRight());
    }
    if (cell.row == current_.row && cell.column == current_.column) {
        painter.setPen(QPen(kCurrentFrame, 1, Qt::DotLine));
        painter.drawRect(edit.adjusted(3, 3, -4, -4));
    }

    const QRect spinner = spinnerRect(cell);
    if (acceptsEdits_ && spinnersShown_) {
        painter.drawPixmap(spinner.topLeft(), spinnerPixmap());
    } else {
        painter.fillRect(cellRect(cell).adjusted(edit.width(), 0, 0, 0),
                         palette().color(QPalette::Window));
    }
}

QColor MapCellGrid::overlayFill(GridCell cell, QColor fill) const {
    for (const CellOverlay* overlay : overlays_) {
        if (overlay == nullptr) continue;
        const std::optional<CellMark> mark = overlay->mark(map_, cell);
        if (!mark || !mark->tint) continue;
        const QColor tint = *mark->tint;
        const double share = tint.alpha() == 255 ? 0.5 : tint.alphaF();
        fill = blend(fill, QColor(tint.red(), tint.green(), tint.blue()), share);
    }
    return fill;
}

void MapCellGrid::paintOverlayFrames(QPainter& painter, GridCell cell, QRect edit) const {
    int inset = 1;
    for (const CellOverlay* overlay : overlays_) {
        if (overlay == nullptr) continue;
        const std::optional<CellMark> mark = overlay->mark(map_, cell);
        if (!mark || !mark->frame) continue;
        // Each overlay's frame one ring further in, so two stay apart.
        painter.setPen(QPen(*mark->frame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(edit).adjusted(inset, inset, -inset, -inset));
        inset += 2;
    }
}

void MapCellGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    for (int r = 0; r < model::kMapRows; ++r) {
        if (!isVisibleRow(r)) continue;
        for (int c = 0; c < model::kMapColumns; ++c) {
            const GridCell cell{r, c};
            if (event->region().intersects(cellRect(cell))) paintCell(painter, cell);
        }
    }
}

}  // namespace zelvor::widgets
