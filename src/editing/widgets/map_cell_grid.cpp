#include "editing/widgets/map_cell_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "editing/map_clipboard.h"
#include "editing/map_grid_layout.h"
#include "editing/widgets/map_cell_shading.h"

namespace zelvor::widgets {

namespace {

namespace layout = editing::grid_layout;
using editing::GridCell;
using editing::MapOperation;
using editing::MapSelection;

constexpr int kCellHeight = 22;  // the height of today's cell fields
constexpr int kLastRow = model::kMapRows - 1;
constexpr int kLastColumn = model::kMapColumns - 1;

bool sameCell(GridCell a, GridCell b) {
    return a.row == b.row && a.column == b.column;
}

}  // namespace

MapCellGrid::MapCellGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
    content_ = editing::readMapContent(map_, image_);
}

QPoint MapCellGrid::cellsOrigin() {
    return {layout::columnLeft(0), layout::cellTop(0)};
}

QSize MapCellGrid::sizeHint() const {
    return {layout::columnLeft(kLastColumn) + layout::kEditWidth + layout::kSpinnerWidth -
                layout::columnLeft(0),
            layout::cellTop(kLastRow) + kCellHeight - layout::cellTop(0)};
}

void MapCellGrid::showMap(editing::MapId map, const model::ParameterImage& image) {
    closeInput();
    map_ = map;
    image_ = image;
    content_ = editing::readMapContent(map, image_);
    acceptsEdits_ = editing::mapAcceptsEdits(map, image_);
    const auto [low, high] = std::minmax_element(content_.cells.begin(), content_.cells.end());
    lowest_ = *low;
    highest_ = *high;
    update();
    emit mapShown();
}

void MapCellGrid::setMsDisplay(bool ms) {
    if (msDisplay_ == ms) return;
    if (ms && pending_ == Pending::CellEdit) closeInput();  // no percent typed into times
    msDisplay_ = ms;
    update();
    emit mapShown();
}

void MapCellGrid::setSingleRow(bool single) {
    if (singleRow_ == single) return;
    closeInput();
    singleRow_ = single;
    if (single) {
        current_.row = kLastRow;
        anchor_.row = kLastRow;
    }
    setSelection(MapSelection::spanning(anchor_, current_));
    update();
    emit mapShown();
}

bool MapCellGrid::isVisibleRow(int row) const {
    return !singleRow_ || row == kLastRow;
}

int MapCellGrid::rowTop(int row) const {
    const int shownRow = singleRow_ ? 0 : row;
    return layout::cellTop(shownRow) - layout::cellTop(0);
}

QRect MapCellGrid::editRect(GridCell cell) const {
    return {layout::columnLeft(cell.column) - layout::columnLeft(0), rowTop(cell.row),
            layout::kEditWidth, kCellHeight};
}

QRect MapCellGrid::spinnerRect(GridCell cell) const {
    const QRect edit = editRect(cell);
    return {edit.right() + 1, edit.top(), layout::kSpinnerWidth, layout::kSpinnerHeight};
}

QRect MapCellGrid::cellRect(GridCell cell) const {
    return editRect(cell).united(spinnerRect(cell));
}

std::optional<GridCell> MapCellGrid::cellAt(QPoint point) const {
    for (int r = 0; r < model::kMapRows; ++r) {
        if (!isVisibleRow(r)) continue;
        if (point.y() < rowTop(r) || point.y() >= rowTop(r) + kCellHeight) continue;
        for (int c = 0; c < model::kMapColumns; ++c) {
            if (cellRect({r, c}).contains(point)) return GridCell{r, c};
        }
    }
    return std::nullopt;
}

void MapCellGrid::setLiveCell(std::optional<GridCell> cell) {
    // A cell outside the map (a garbled live value) lights nothing.
    if (cell &&
        (cell->row < 0 || cell->row > kLastRow || cell->column < 0 || cell->column > kLastColumn)) {
        cell.reset();
    }
    if (live_.has_value() == cell.has_value() && (!cell || sameCell(*live_, *cell))) return;
    if (live_) update(cellRect(*live_));
    live_ = cell;
    if (live_) update(cellRect(*live_));
    emit liveCellChanged();
}

void MapCellGrid::setSpinnersShown(bool shown) {
    if (spinnersShown_ == shown) return;
    spinnersShown_ = shown;
    update();
}

void MapCellGrid::setShading(bool on) {
    if (shading_ == on) return;
    shading_ = on;
    update();
    emit shadingChanged(on);
}

QToolButton* MapCellGrid::createShadingToggle(QWidget* parent) {
    auto* toggle = new QToolButton(parent);
    toggle->setCheckable(true);
    toggle->setChecked(shading_);
    toggle->setFocusPolicy(Qt::NoFocus);  // the focus stays on the cells
    toggle->setFixedSize(18, 18);
    // A glyph of the scale itself: low, middle and high stripes.
    QPixmap glyph(12, 12);
    QPainter painter(&glyph);
    for (int stripe = 0; stripe < 3; ++stripe) {
        painter.fillRect(stripe * 4, 0, 4, 12, shadeOf(stripe, 0, 2).darker(115));
    }
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 11, 11);
    painter.end();
    toggle->setIcon(QIcon(glyph));
    connect(toggle, &QToolButton::toggled, this, &MapCellGrid::setShading);
    connect(this, &MapCellGrid::shadingChanged, toggle, &QToolButton::setChecked);
    return toggle;
}

void MapCellGrid::changeEvent(QEvent* event) {
    // Laid-out numbers follow the font, the drawn spinner the palette.
    if (event->type() == QEvent::FontChange) textsValid_ = false;
    if (event->type() == QEvent::PaletteChange) spinner_ = QPixmap();
    QWidget::changeEvent(event);
}

// ---- Current cell and selection ----

void MapCellGrid::setSelection(MapSelection selection) {
    selection = selection.normalized();
    if (singleRow_) selection.top = selection.bottom = kLastRow;
    if (selection == selection_) return;
    selection_ = selection;
    update();
    emit selectionChanged();
}

void MapCellGrid::setCurrent(GridCell cell, bool extend) {
    if (singleRow_) cell.row = kLastRow;
    if (!sameCell(cell, current_)) update();
    current_ = cell;
    if (!extend) anchor_ = cell;
    setSelection(MapSelection::spanning(anchor_, current_));
}

void MapCellGrid::moveCurrent(int rows, int columns, bool extend) {
    const GridCell next{std::clamp(current_.row + rows, 0, kLastRow),
                        std::clamp(current_.column + columns, 0, kLastColumn)};
    setCurrent(next, extend);
}

// ---- Mouse ----

void MapCellGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    // Clicking into a cell takes a typed value, as clicking into a field
    // always has; an operation input is given up.
    if (pending_ == Pending::CellEdit) commitPendingEdit();
    if (pending_ == Pending::Operand) closeInput();
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const std::optional<GridCell> cell = cellAt(point);
    if (!cell) return;
    const QRect spinner = spinnerRect(*cell);
    if (spinner.contains(point) && acceptsEdits_ && spinnersShown_) {
        setCurrent(*cell, false);
        stepCell(*cell, point.y() < spinner.center().y() ? +1 : -1);
        return;
    }
    setCurrent(*cell, event->modifiers().testFlag(Qt::ShiftModifier));
    dragging_ = true;
}

void MapCellGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return QWidget::mouseMoveEvent(event);
    const QPoint point = event->position().toPoint();
    // Between cells the nearest column and row still count, so a drag does
    // not stop on the gaps.
    GridCell cell{current_.row, current_.column};
    for (int c = 0; c < model::kMapColumns; ++c) {
        if (point.x() >= editRect({0, c}).left() - 6) cell.column = c;
    }
    for (int r = 0; r < model::kMapRows; ++r) {
        if (isVisibleRow(r) && point.y() >= rowTop(r) - 8) cell.row = r;
    }
    if (!sameCell(cell, current_)) setCurrent(cell, true);
}

void MapCellGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

// ---- Keys ----

void MapCellGrid::setOverlay(OverlayRole role, const CellOverlay* overlay) {
    overlays_[static_cast<std::size_t>(role)] = overlay;
    update();
}

QString MapCellGrid::overlayToolTip(editing::GridCell cell) const {
    QStringList lines;
    for (const CellOverlay* overlay : overlays_) {
        if (overlay == nullptr) continue;
        const std::optional<CellMark> mark = overlay->mark(map_, cell);
        if (mark && !mark->toolTip.isEmpty()) lines << mark->toolTip;
    }
    return lines.join(QLatin1Char('\n'));
}

bool MapCellGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<editing::GridCell> cell = cellAt(help->pos());
        const QString text = cell && isVisibleRow(cell->row) ? overlayToolTip(*cell) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this, cellRect(*cell));
        }
        return true;
    }
    // Keys the grid acts on go to it before any shortcut of the window: F4/F5
    // only with a block selected (otherwise the window's tools step the live
    // cell), copy, paste, select all, and the plain keys of the operations.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool stepKey = key->key() == Qt::Key_F4 || key->key() == Qt::Key_F5;
        const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0 &&
                           !key->text().isEmpty() && key->text().at(0).isPrint();
        if ((stepKey && selection_.cellCount() > 1 && acceptsEdits_) ||
            key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
            key->matches(QKeySequence::SelectAll) || plain) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void MapCellGrid::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    if (event->matches(QKeySequence::SelectAll)) {
        // The current cell goes to the top left, where a paste lands.
        anchor_ = {kLastRow, kLastColumn};
        setCurrent({singleRow_ ? kLastRow : 0, 0}, true);
        return;
    }
    if (event->matches(QKeySequence::Copy)) return copySelection();
    if (event->matches(QKeySequence::Paste)) return paste();
    switch (event->key()) {
        case Qt::Key_Up:
            return moveCurrent(-1, 0, shift);
        case Qt::Key_Down:
            return moveCurrent(+1, 0, shift);
        case Qt::Key_Left:
            return moveCurrent(0, -1, shift);
        case Qt::Key_Right:
            return moveCurrent(0, +1, shift);
        case Qt::Key_F4:
        case Qt::Key_F5:
            if (selection_.cellCount() > 1 && acceptsEdits_) {
                return runOperation(MapOperation::Add, event->key() == Qt::Key_F5 ? +1 : -1);
            }
            return QWidget::keyPressEvent(event);
        default:
            break;
    }
    const QString text = event->text();
    // G shows or hides the graph of the map, editable or not.
    if (text.size() == 1 && text.at(0).toUpper() == QLatin1Char('G')) {
        emit graphKeyPressed();
        return;
    }
    if (text.size() != 1 || !acceptsEdits_) return QWidget::keyPressEvent(event);
    const QChar typed = text.at(0);
    if (typed.isDigit()) {
        if (!msDisplay_) openCellEdit(text);
        return;
    }
    switch (typed.toUpper().unicode()) {
        case '=':
            // Times in ms are no value to set percentages to.
            if (msDisplay_ && map_ != editing::MapId::Advance) return;
            return openOperandInput(MapOperation::Set, QStringLiteral("="));
        case '*':
            return openOperandInput(MapOperation::Scale, QStringLiteral("*"));
        case '+':
            return runOperation(MapOperation::Add, +1);
        case '-':
            return runOperation(MapOperation::Add, -1);
        case '/':
            return runOperation(MapOperation::Interpolate, 0);
        case 'H':
            return runOperation(MapOperation::InterpolateRows, 0);
        case 'V':
            return runOperation(MapOperation::InterpolateColumns, 0);
        case 'S':
            return runOperation(MapOperation::Smooth, 0);
        default:
            return QWidget::keyPressEvent(event);
    }
}

void MapCellGrid::wheelEvent(QWheelEvent* event) {
    // The wheel steps the current cell only while the grid has the focus and
    // the pointer is on that cell; anywhere else it goes on to the page, so
    // scrolling past the grid never changes a map.
    const std::optional<GridCell> cell = cellAt(event->position().toPoint());
    const int notches = event->angleDelta().y() / 120;
    if (!hasFocus() || !acceptsEdits_ || !cell || !sameCell(*cell, current_) || notches == 0 ||
        pending_ != Pending::None) {
        event->ignore();
        return;
    }
    event->accept();
    stepCell(*cell, notches);
}

// ---- Changes ----

void MapCellGrid::runOperation(MapOperation operation, double operand) {
    if (!acceptsEdits_) return;
    emitCells(editing::applyOperation(operation, content_.cells, selection_, operand,
                                      editing::cellLimits(map_)));
}

void MapCellGrid::stepCell(GridCell cell, int direction) {
    if (!acceptsEdits_) return;
    emitCells(editing::applyOperation(MapOperation::Add, content_.cells, MapSelection::single(cell),
                                      direction, editing::cellLimits(map_)));
}

void MapCellGrid::emitCells(const editing::MapCells& cells) {
    if (cells == content_.cells) return;
    emit edited(editing::MapEdit{.axis = std::nullopt, .cells = cells});
}

void MapCellGrid::copySelection() const {
    const std::string text = editing::formatMapText(map_, content_, selection_, msDisplay_);
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

void MapCellGrid::paste() {
    // A map that follows map 1 is refused with its reason by the paste
    // itself, so the user learns why nothing happens.
    const std::string text = QApplication::clipboard()->text().toStdString();
    auto result =
        editing::pasteMapText(text, map_, image_, selection_, selection_.topLeft(), msDisplay_);
    if (const auto* error = std::get_if<editing::PasteError>(&result)) {
        emit pasteRefused(QString::fromStdString(editing::describePasteError(*error)));
        return;
    }
    auto& edit = std::get<editing::MapEdit>(result);
    if (edit.axis && *edit.axis == content_.axis) edit.axis.reset();
    if (!edit.axis && edit.cells == content_.cells) return;
    emit edited(edit);
}

}  // namespace zelvor::widgets
