#include "editing/widgets/commit_spin_box.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace zelvor::widgets {

CommitSpinBox::CommitSpinBox(QWidget* parent, CommitOn commitOn)
    : QSpinBox(parent), commitOn_(commitOn) {
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setGroupSeparatorShown(true);
    setAccelerated(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    if (commitOn_ == CommitOn::Click) lineEdit()->installEventFilter(this);
}

int CommitSpinBox::takeValue() {
    if (lineEdit()->isModified() || lineEdit()->text() != textFromValue(value())) interpretText();
    lineEdit()->setModified(false);
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
    QSpinBox::focusOutEvent(event);
    if (commitOn_ == CommitOn::Leave && event->reason() != Qt::PopupFocusReason &&
        event->reason() != Qt::ActiveWindowFocusReason) {
        emit editExit();
    }
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
