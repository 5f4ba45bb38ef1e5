// The window on the screen it starts on: it always starts inside the
// screen's available area, also from settings written on another monitor,
// and on a screen smaller than the window the client area scrolls, so every
// control and the status line stay reachable. Run once per screen size.
#include <QAbstractButton>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include "../support/parameter_images.h"
#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "app/compare_panel.h"
#include "editing/page_index.h"
#include "model/parameter_file_io.h"

using namespace zelvor;
using zelvor::testing::WindowUnderTest;

namespace {

QRect availableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect globalRect(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

void writeSettings(const QString& folder, const QByteArray& basic) {
    QFile file(folder + QStringLiteral("/Zelvor.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[BASIC]\r\n" + basic);
}

// The BASIC values the window wrote for its geometry, as text.
QStringList savedGeometry(const QString& folder) {
    QFile file(folder + QStringLiteral("/Zelvor.ini"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList found;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        for (const char* key : {"Left=", "Top=", "Width=", "Height="}) {
            if (trimmed.startsWith(key)) found << QString::fromLatin1(trimmed);
        }
    }
    return found;
}

void showAndSettle(app::TFormHlav& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
}

QScrollArea* clientScroller(app::TFormHlav& w) {
    return qobject_cast<QScrollArea*>(w.centralWidget());
}

// One wheel notch over an empty spot of the scrolled area.
void wheel(QScrollArea* scroller, QPoint delta) {
    QWidget* viewport = scroller->viewport();
    const QPointF at(2, 2);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &event);
}

// Turns the wheel until the rectangle of the target lies wholly in view;
// false when the wheel cannot bring it there.
bool scrollIntoView(QScrollArea* scroller, const QWidget* target, const QRect& part) {
    QWidget* viewport = scroller->viewport();
    for (int notch = 0; notch < 100; ++notch) {
        const QRect shown(target->mapTo(viewport, part.topLeft()), part.size());
        if (viewport->rect().contains(shown)) return true;
        QPoint delta;
        if (shown.top() < 0) delta.ry() = 120;
        if (shown.bottom() > viewport->rect().bottom()) delta.ry() = -120;
        if (shown.left() < 0) delta.rx() = 120;
        if (shown.right() > viewport->rect().right()) delta.rx() = -120;
        const QPoint before(scroller->horizontalScrollBar()->value(),
                            scroller->verticalScrollBar()->value());
        wheel(scroller, delta);
        const QPoint after(scroller->horizontalScrollBar()->value(),
                           scroller->verticalScrollBar()->value());
        if (after == before) return false;
    }
    return false;
}

// What a person works with: fields, buttons, boxes and the like.
bool isControl(const QWidget* w) {
    return w->isVisible() &&
           (w->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(w) != nullptr);
}

}  // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

    // The whole window, its menu bar and its status line lie on the screen.
    static void expectOnScreen(app::TFormHlav& w) {
        const QRect area = availableArea();
        QVERIFY2(area.contains(w.frameGeometry()),
                 qPrintable(describe(w.frameGeometry()) + " outside " + describe(area)));
        QVERIFY(w.menuBar()->isVisible());
        QVERIFY2(area.contains(globalRect(w.menuBar())),
                 qPrintable(describe(globalRect(w.menuBar()))));
        QVERIFY(w.statusBar()->isVisible());
        QVERIFY2(area.contains(globalRect(w.statusBar())),
                 qPrintable(describe(globalRect(w.statusBar()))));
    }

  private slots:
    void firstStartLiesOnTheScreen() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showAndSettle(w);
        expectOnScreen(w);
        const QRect area = availableArea();
        // Centred in the room there is, as large as the screen allows.
        QVERIFY(qAbs(w.frameGeometry().center().x() - area.center().x()) <= 3);
        QVERIFY(qAbs(w.frameGeometry().center().y() - area.center().y()) <= 3);
    }

    void aLargeScreenKeepsTheDesignedLayout() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showAndSettle(w);
        if (w.frameGeometry().height() >= availableArea().height() - 4)
            QSKIP("the screen is smaller than the designed window");
        QScrollArea* scroller = clientScroller(w);
        QVERIFY(scroller != nullptr);
        QVERIFY(!scroller->verticalScrollBar()->isVisible());
        QVERIFY(!scroller->horizontalScrollBar()->isVisible());
        QCOMPARE(w.width(), 1039);
        QCOMPARE(w.pageControl()->mapTo(&w, QPoint(0, 0)), QPoint(4, w.menuBar()->height() + 46));
        QCOMPARE(w.statusBar()->mapTo(&w, QPoint(0, w.statusBar()->height())).y(), w.height());
    }

    void storedPositionsComeBackOntoTheScreen_data() {
        QTest::addColumn<QByteArray>("basic");
        QTest::newRow("right of the screen") << QByteArray("Left=2500\r\nTop=40\r\n");
        QTest::newRow("left monitor") << QByteArray("Left=-1800\r\nTop=100\r\n");
        QTest::newRow("below, too tall")
            << QByteArray("Left=100\r\nTop=1500\r\nWidth=1039\r\nHeight=1100\r\n");
        QTest::newRow("menu bar above the screen") << QByteArray("Left=0\r\nTop=-30\r\n");
        QTest::newRow("larger than any screen")
            << QByteArray("Left=0\r\nTop=0\r\nWidth=4000\r\nHeight=3000\r\n");
    }

    void storedPositionsComeBackOntoTheScreen() {
        QFETCH(QByteArray, basic);
        QTemporaryDir folder;
        writeSettings(folder.path(), basic);
        WindowUnderTest t(folder.path());
        // Inside already before it is shown, and with its frame after.
        QVERIFY2(availableArea().contains(t.window.frameGeometry()),
                 qPrintable(describe(t.window.frameGeometry())));
        showAndSettle(t.window);
        expectOnScreen(t.window);
    }

    void everyControlOfEveryPageCanBeReached() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        showAndSettle(w);
        QScrollArea* scroller = clientScroller(w);
        QVERIFY(scroller != nullptr);
        QTabBar* tabs = w.pageControl()->tabBar();
        auto* panel = w.findChild<QWidget*>(QStringLiteral("PanelLive"));
        QVERIFY(panel != nullptr);
        int checked = 0;
        for (int page = 0; page < w.pageControl()->count(); ++page) {
            if (!tabs->isTabVisible(page)) continue;
            QVERIFY(scrollIntoView(scroller, tabs, tabs->tabRect(page)));
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
            QCOMPARE(w.pageControl()->currentIndex(), page);
            QList<QWidget*> controls = w.pageControl()->widget(page)->findChildren<QWidget*>();
            controls << panel->findChildren<QWidget*>();
            for (QWidget* control : controls) {
                if (!isControl(control)) continue;
                QVERIFY2(scrollIntoView(scroller, control, control->rect()),
                         qPrintable(QStringLiteral("page %1: %2 out of reach")
                                        .arg(page)
                                        .arg(control->objectName())));
                ++checked;
            }
        }
        QVERIFY(checked > 300);
        expectOnScreen(w);
    }

    void geometryDoesNotCreepOverRestarts() {
        QTemporaryDir folder;
        QRect first;
        QStringList saved;
        for (int run = 0; run < 3; ++run) {
            WindowUnderTest t(folder.path());
            showAndSettle(t.window);
            expectOnScreen(t.window);
            if (run == 0) {
                first = t.window.frameGeometry();
            } else {
                QCOMPARE(t.window.frameGeometry(), first);
            }
            t.window.close();
            if (run == 1) saved = savedGeometry(folder.path());
            if (run == 2) QCOMPARE(savedGeometry(folder.path()), saved);
        }
        QCOMPARE(saved.size(), 4);
    }

    // A panel beside the pages makes the window wider while it is open; the
    // next start shows no panel, so the window comes back at its own size.
    void aPanelOpenAtCloseLeavesTheWindowsOwnSize() {
        QTemporaryDir folder;
        const QString reference = folder.filePath(QStringLiteral("reference.ign"));
        QVERIFY(model::saveParameterFile(reference.toStdString(), zelvor::testing::saneDefaults()));
        QRect first;
        {
            WindowUnderTest t(folder.path());
            app::TFormHlav& w = t.window;
            showAndSettle(w);
            first = w.frameGeometry();
            t.script.openNames.push_back(reference);
            zelvor::testing::clickMenuItem(w, w.controls().find<QMenu>("MenuCompare"),
                                           w.controls().find<QAction>("MenuCompareFile"));
            QVERIFY(w.comparePanel() != nullptr && w.comparePanel()->isVisible());
            if (availableArea().width() > first.width() + w.comparePanel()->width()) {
                QVERIFY2(w.width() > first.width(), "the window grows by the panel");
            }
            w.close();
        }
        WindowUnderTest t(folder.path());
        showAndSettle(t.window);
        QCOMPARE(t.window.frameGeometry(), first);
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
