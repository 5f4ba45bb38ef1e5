// The real dialogs give the keyboard back to the window they were modal to:
// without a window manager, nothing else would, and the window's menus and
// shortcuts would stop answering after a dialog closed.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QtTest>

#include "../support/real_input.h"
#include "app/dialogs.h"

using namespace zelvor;

class DialogsKeyboardTest : public QObject {
    Q_OBJECT

    // Closes the dialog that is up with Escape, as soon as it shows.
    static void escapeTheDialog() {
        QTimer::singleShot(50, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog != nullptr) QTest::keyClick(dialog, Qt::Key_Escape);
        });
    }

  private slots:
    void everyDialogHandsTheKeyboardBack() {
        QMainWindow window;
        testing::showActive(window);
        app::QtDialogs dialogs(&window);

        escapeTheDialog();
        QVERIFY(dialogs.openRideLogs({}).isEmpty());
        QTRY_COMPARE(QApplication::activeWindow(), &window);

        escapeTheDialog();
        QVERIFY(dialogs.openParameterFile({}, {}).isEmpty());
        QTRY_COMPARE(QApplication::activeWindow(), &window);

        escapeTheDialog();
        dialogs.message(QStringLiteral("A message"));
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }
};

QTEST_MAIN(DialogsKeyboardTest)
#include "dialogs_keyboard_test.moc"
