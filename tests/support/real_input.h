#pragma once

// Input as a person gives it: clicks on the tab bar and on spinner arrows,
// keys where the focus is, wheel notches over a widget. Every helper sends
// the events through the application, so focus changes, shortcuts and
// event filters run as they do for a real mouse and keyboard.
#include <QtTest/qtestspontaneevent.h>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <QtTest>

namespace zelvor::testing {

// The window shown and active, so that clicks move the focus.
inline void showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

inline void clickTab(QTabWidget* pages, int index) {
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// The middle of a spinner's up or down arrow, as the style draws it.
inline QPoint arrowPoint(QAbstractSpinBox* box, bool up) {
    QStyleOptionSpinBox option;
    option.initFrom(box);
    option.rect = box->rect();
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame |
                         QStyle::SC_SpinBoxEditField;
    option.buttonSymbols = box->buttonSymbols();
    option.frame = box->hasFrame();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QStyle::SubControl arrow = up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown;
    return box->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, box).center();
}

inline void clickArrow(QAbstractSpinBox* box, bool up) {
    QTest::mouseClick(box, Qt::LeftButton, {}, arrowPoint(box, up));
}

inline QLineEdit* textOf(QAbstractSpinBox* box) {
    return box->findChild<QLineEdit*>();
}

// A click into the text part of a spinner (it takes the focus).
inline void clickText(QAbstractSpinBox* box) {
    QLineEdit* edit = textOf(box);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
}

// Clicks into the text, selects it all and types over it.
inline void typeOver(QAbstractSpinBox* box, const QString& text) {
    clickText(box);
    QTest::keyClick(textOf(box), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(textOf(box), text);
}

// Pops a menu up over the window and clicks one of its items.
inline void clickMenuItem(QWidget& window, QMenu* menu, QAction* item) {
    QVERIFY(menu != nullptr && item != nullptr);
    menu->popup(window.mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QRect where = menu->actionGeometry(item);
    QVERIFY(where.isValid());
    QTest::mouseClick(menu, Qt::LeftButton, {}, where.center());
    QTRY_VERIFY(!menu->isVisible());
}

// A key press where the focus is now.
inline void keyAtFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target != nullptr);
    QTest::keyClick(target, key, modifiers);
}

// Wheel notches over the middle of a widget without clicking it (positive:
// away from the user). The event goes to the widget under the pointer, as
// the window system would send it.
inline void wheelOver(QWidget* widget, int notches) {
    QPoint local = widget->rect().center();
    const QPoint global = widget->mapToGlobal(local);
    QWidget* target = widget->childAt(local);
    if (target == nullptr) target = widget;
    local = target->mapFromGlobal(global);
    for (int i = 0; i < std::abs(notches); ++i) {
        QWheelEvent event(local, global, QPoint(), QPoint(0, notches > 0 ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        // Delivered as the window system delivers it: a wheel the widget
        // under the pointer ignores goes on to its parents.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(target, &event);
    }
}

}  // namespace zelvor::testing
