// The small inputs over the grid: the edit of one cell (opened by a digit)
// and the value or percentage of an operation (opened beside the selection).
// Both give the focus back to the grid when they close.
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <optional>

#include "editing/widgets/map_cell_grid.h"

namespace zelvor::widgets {

namespace {

using editing::GridCell;
using editing::MapOperation;

constexpr int kInputWidth = 64;
constexpr int kInputHeight = 22;

// A whole number of steps typed before "+" or "-"; nothing for other text.
std::optional<int> stepCount(const QString& text) {
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (!ok || count < 0) return std::nullopt;
    return count;
}

}  // namespace

void MapCellGrid::openCellEdit(const QString& firstText) {
    closeInput();
    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("cellEdit"));
    input_->setGeometry(editRect(current_));
    // Whole numbers only, as the cells hold them.
    input_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), input_));
    input_->setText(firstText);
    editCell_ = current_;
    input_->installEventFilter(this);
    pending_ = Pending::CellEdit;
    input_->show();
    input_->setFocus(Qt::OtherFocusReason);
}

void MapCellGrid::openOperandInput(MapOperation operation, const QString& prompt) {
    closeInput();
    const QRect first = cellRect({selection_.top, selection_.left});
    const QRect last = cellRect({selection_.top, selection_.right});
    // Beside the selection, to its right where there is room, else to its
    // left, else over its first cell.
    int left = last.right() + 4;
    if (left + kInputWidth > width()) left = first.left() - 4 - kInputWidth;
    if (left < 0) left = first.left();
    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("operandInput"));
    input_->setPlaceholderText(prompt);
    input_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,6}([.,]\\d{0,3})?")), input_));
    input_->setGeometry(left, first.top(), kInputWidth, kInputHeight);
    input_->installEventFilter(this);
    operandOperation_ = operation;
    pending_ = Pending::Operand;
    input_->show();
    input_->setFocus(Qt::OtherFocusReason);
}

void MapCellGrid::closeInput() {
    if (input_ == nullptr) return;
    const bool hadFocus = input_->hasFocus();
    QLineEdit* input = input_;
    input_ = nullptr;
    pending_ = Pending::None;
    input->removeEventFilter(this);
    input->hide();
    input->deleteLater();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
}

bool MapCellGrid::commitPendingEdit() {
    if (pending_ != Pending::CellEdit) return false;
    if (std::optional<editing::MapEdit> edit = takePendingEdit()) emit edited(*edit);
    return true;
}

std::optional<editing::MapEdit> MapCellGrid::takePendingEdit() {
    if (pending_ != Pending::CellEdit) return std::nullopt;
    const QString text = input_->text().trimmed();
    const GridCell cell = editCell_;
    closeInput();
    bool ok = false;
    const int value = text.toInt(&ok);
    // Text that is no number is dropped; the cell shows its value again.
    if (!ok || !acceptsEdits_) return std::nullopt;
    editing::MapCells cells = editing::applyOperation(MapOperation::Set, content_.cells,
                                                      editing::MapSelection::single(cell), value,
                                                      editing::cellLimits(map_));
    if (cells == content_.cells) return std::nullopt;
    return editing::MapEdit{.axis = std::nullopt, .cells = cells};
}

bool MapCellGrid::takeOperand() {
    bool ok = false;
    // A decimal comma reads as a point, whatever the language of the system.
    QString text = input_->text().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const double operand = QLocale::c().toDouble(text, &ok);
    const MapOperation operation = operandOperation_;
    closeInput();
    if (ok) runOperation(operation, operand);
    return ok;
}

bool MapCellGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != input_ || input_ == nullptr) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Typing into the input must never reach a shortcut of the window;
        // other keys (F4, Ctrl+Z) still do.
        const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0 &&
                           !key->text().isEmpty() && key->text().at(0).isPrint();
        if (plain) {
            event->accept();
            return false;
        }
    }
    if (event->type() == QEvent::KeyPress) return handleInputKey(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool MapCellGrid::handleInputKey(QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (pending_ == Pending::CellEdit) {
                commitPendingEdit();
            } else {
                takeOperand();
            }
            return true;
        case Qt::Key_Escape:
            closeInput();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            // Up and down take a typed value and move on, as Enter would;
            // an operation input ignores them.
            if (pending_ == Pending::CellEdit) {
                commitPendingEdit();
                moveCurrent(key->key() == Qt::Key_Up ? -1 : +1, 0, false);
            }
            return true;
        default:
            break;
    }
    // A count typed into the cell edit, then "+" or "-": that many steps of
    // the selection.
    if (pending_ == Pending::CellEdit && (key->text() == "+" || key->text() == "-")) {
        if (const std::optional<int> count = stepCount(input_->text())) {
            const int steps = key->text() == "+" ? *count : -*count;
            closeInput();
            runOperation(MapOperation::Add, steps);
            return true;
        }
    }
    return false;
}

}  // namespace zelvor::widgets
