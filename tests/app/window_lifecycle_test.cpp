// Start-up, close and restart of the window with its settings folder.
#include <QAbstractButton>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/page_index.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

using namespace zelvor;
using zelvor::testing::clickTab;
using zelvor::testing::showActive;
using zelvor::testing::WindowUnderTest;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A click on a check box's indicator.
void clickBox(app::TFormHlav& w, const char* name) {
    auto* box = w.controls().find<QAbstractButton>(name);
    QVERIFY(box != nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

model::ParameterImage startImage() {
    model::ParameterImage image;
    model::loadDefaultSet(image);
    model::sanitize(image);
    return image;
}

}  // namespace

class WindowLifecycleTest : public QObject {
    Q_OBJECT

  private slots:
    void firstStartWithoutFiles() {
        QTemporaryDir folder;
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        QCOMPARE(w.portIndex(), 0);  // COM1
        QCOMPARE(w.language(), 0);   // English
        QCOMPARE(w.currentPage(), editing::kPageIdle);
        QCOMPARE(w.pageControl()->currentIndex(), editing::kPageIdle);
        QVERIFY(w.image() == startImage());
        QVERIFY(!w.testMode());
        QVERIFY(w.controls().find<QWidget>("LabelTest1")->isHidden());
        QVERIFY(!w.controls().find<QAbstractButton>("SpeedButtonZpet")->isEnabled());
        QVERIFY(!w.controls().find<QAbstractButton>("SpeedButtonZnovu")->isEnabled());
        // COM1 has no device here: one message, and the program goes on.
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY(t.script.messages.first().startsWith(QStringLiteral("Com opening error!")));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(w.x(), screen.x() + (screen.width() - w.width()) / 2);
        QCOMPARE(w.y(), screen.y() + (screen.height() - w.height()) / 2);
        // "No Connection" appears from the 7th tick when the unit is silent.
        t.ticks(6);
        QVERIFY(w.controls().find<QWidget>("LabelSpojeni")->isHidden());
        t.ticks(1);
        QVERIFY(!w.controls().find<QWidget>("LabelSpojeni")->isHidden());
    }

    void closeAndRestartRestoresEverything() {
        QTemporaryDir folder;
        model::ParameterImage expected;
        {
            WindowUnderTest t(folder.path());
            app::TFormHlav& w = t.window;
            w.resize(1100, 850);
            w.move(40, 30);
            w.MenuCom1Click(4);
            w.SetLanguage(3);
            w.controls().find<QAbstractButton>("CheckBoxExtMonitor")->setChecked(true);
            w.pageControl()->setCurrentIndex(editing::kPageGear);
            // Typed but never committed: close collects the visible page.
            auto* gears = w.controls().find<QSpinBox>("EditPocetGear");
            QVERIFY(gears != nullptr);
            gears->findChild<QLineEdit*>()->setText(QStringLiteral("4"));
            w.close();
            QCOMPARE(w.image().get(model::Field::GEAR_PocetGear), 4);
            expected = w.image();
        }
        QVERIFY(QFile::exists(folder.filePath("Zelvor.ini")));
        QVERIFY(QFile::exists(folder.filePath("_Zelvor.ini")));

        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        QCOMPARE(w.portIndex(), 4);
        QCOMPARE(w.language(), 3);
        QCOMPARE(w.currentPage(), editing::kPageGear);
        QCOMPARE(w.size(), QSize(1100, 850));
        QCOMPARE(w.pos(), QPoint(40, 30));
        QVERIFY(w.controls().find<QAbstractButton>("CheckBoxExtMonitor")->isChecked());
        QVERIFY(w.image() == expected);
        QCOMPARE(w.controls().find<QSpinBox>("EditPocetGear")->value(), 4);
    }

    // The boxes a person ticks, with the mouse or the space key, are the
    // window state the next start comes up with; "Programming after change"
    // is not kept.
    void boxesTickedByHandAreKeptAsWindowState() {
        QTemporaryDir folder;
        {
            WindowUnderTest t(folder.path());
            app::TFormHlav& w = t.window;
            showActive(w);
            clickTab(w.pageControl(), editing::kPagePoloha);
            clickBox(w, "CheckBoxAll_PolohaA");
            clickTab(w.pageControl(), editing::kPageJet1A);
            clickBox(w, "CheckBoxZobrMs_Uni");
            auto* extended = w.controls().find<QAbstractButton>("CheckBoxExtMonitor");
            extended->setFocus();
            QTest::keyClick(extended, Qt::Key_Space);
            clickBox(w, "CheckBoxProgHned");
            const editing::WindowState& state = w.windowState();
            QVERIFY(state.allPosition);
            QVERIFY(state.msDisplay);
            QVERIFY(state.extendedMonitor);
            QVERIFY(state.programAfterChange);
            QCOMPARE(state.currentPage, editing::kPageJet1A);
            w.close();
        }
        WindowUnderTest t(folder.path());
        app::TFormHlav& w = t.window;
        const editing::WindowState& state = w.windowState();
        QVERIFY(state.allPosition && state.msDisplay && state.extendedMonitor);
        QVERIFY(!state.programAfterChange);
        QCOMPARE(state.currentPage, editing::kPageJet1A);
        for (const char* name :
             {"CheckBoxAll_PolohaA", "CheckBoxZobrMs_Uni", "CheckBoxExtMonitor"}) {
            QVERIFY2(w.controls().find<QAbstractButton>(name)->isChecked(), name);
        }
        QVERIFY(!w.controls().find<QAbstractButton>("CheckBoxProgHned")->isChecked());
    }

    void partialDumpAndWideNumbers() {
        QTemporaryDir folder;
        QByteArray dump;
        for (int k = 0; k < 100; ++k) dump += k == 20 ? "300 " : (k >= 15 && k <= 24 ? "7 " : "0 ");
        writeFile(folder.filePath("_Zelvor.ini"), dump);
        WindowUnderTest t(folder.path());
        const model::ParameterImage& image = t.window.image();
        QCOMPARE(image.byte(15), 7);   // reserved bytes come from the dump
        QCOMPARE(image.byte(20), 44);  // 300 keeps its low 8 bits
        // Beyond the dump the default set stays.
        QCOMPARE(image.get(model::Field::GEAR_AUTO_GearAutoTime), 3);
        // Inside it, the dump's zeros were taken (then brought into range).
        QCOMPARE(image.get(model::Field::LIMITER_StartLimiter), 0);
    }

    void testModeAndLanguageArgument() {
        QTemporaryDir folder;
        writeFile(folder.filePath("test_tolvek.txt"), "test DIAG_SWITCH\n");
        writeFile(folder.filePath("Zelvor.ini"), "[BASIC]\nLanguage=3\nComPort=25\n");
        {
            app::StartOptions options;
            options.language = 1;  // DEUTSCH
            WindowUnderTest t(folder.path(), options);
            QVERIFY(t.window.testMode());
            QVERIFY(!t.window.controls().find<QWidget>("LabelTest8")->isHidden());
            QCOMPARE(t.window.language(), 1);
            QCOMPARE(t.window.portIndex(), 0);  // 25 is out of range
            QVERIFY(t.window.windowTitle().startsWith(QStringLiteral("Programmierung")));
            t.window.close();
        }
        const app::StartOptions lower = app::parseStartOptions({QStringLiteral("deutsch")});
        QVERIFY(!lower.language.has_value());
        WindowUnderTest t(folder.path(), lower);
        QCOMPARE(t.window.language(), 1);  // kept from the last close
    }
};

QTEST_MAIN(WindowLifecycleTest)
#include "window_lifecycle_test.moc"
