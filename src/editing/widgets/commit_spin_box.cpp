#include "editing/widgets/commit_spin_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>

namespace zelvor::widgets {

CommitSpinBox::CommitSpinBox(QWidget* parent, CommitOn commitOn)
    : QSpinBox(parent), commitOn_(commitOn) {
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setGroupSeparatorShown(true);
    setAccelerated(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // Clicks and Tab give the focus, the wheel does not.
    setFocusPolicy(Qt::StrongFocus);
    if (commitOn_ == CommitOn::Click) lineEdit()->installEventFilter(this);
}

std::optional<int> CommitSpinBox::typedNumber() const {
    QString text = cleanText();
    bool ok = false;
    int number = locale().toInt(text, &ok);
    if (!ok) {
        // A blank typed as thousands separator where the locale has another.
        text.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QChar(0x202F));
        number = locale().toInt(text, &ok);
    }
    if (!ok) return std::nullopt;
    return number;
}

int CommitSpinBox::takeValue() {
    QLineEdit* edit = lineEdit();
    if (edit->isModified() || edit->text() != textFromValue(value())) {
        // Spin boxes make an empty entry their minimum: here it keeps the
        // value, so clearing a field never commits a number nobody typed.
        if (const std::optional<int> typed = typedNumber()) {
            setValue(std::clamp(*typed, minimum(), maximum()));
        }
        if (edit->text() != textFromValue(value())) edit->setText(textFromValue(value()));
    }
    edit->setModified(false);
    return value();
}

void CommitSpinBox::showPosition(int position) {
    if (value() != position || lineEdit()->text() != textFromValue(value())) setValue(position);
    lineEdit()->setModified(false);
}

void CommitSpinBox::stepBy(int steps) {
    takeValue();
    QSpinBox::stepBy(steps);
    emit arrowClicked();
}

void CommitSpinBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Swallowed: no character, no default button.
        event->accept();
        takeValue();
        emit enterPressed();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void CommitSpinBox::focusOutEvent(QFocusEvent* event) {
    // The typed text is read here first: the spin box's own reading would
    // turn an empty entry into the minimum.
    takeValue();
    QSpinBox::focusOutEvent(event);
    if (commitOn_ == CommitOn::Leave && event->reason() != Qt::PopupFocusReason &&
        event->reason() != Qt::ActiveWindowFocusReason) {
        emit editExit();
    }
}

void CommitSpinBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QSpinBox::wheelEvent(event);
}

bool CommitSpinBox::eventFilter(QObject* watched, QEvent* event) {
    // A click into the text of a table editor takes the page, as leaving a
    // design-time edit does. The arrows are not part of the line edit.
    if (watched == lineEdit() && commitOn_ == CommitOn::Click &&
        event->type() == QEvent::MouseButtonRelease) {
        emit editExit();
    }
    return QSpinBox::eventFilter(watched, event);
}

}  // namespace zelvor::widgets
