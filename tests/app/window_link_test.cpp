// The window against the simulated unit on a pseudo-terminal, with the real
// 55 ms tick: Read, Program and a lost connection.
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/page_index.h"
#include "launcher/sim_process.h"
#include "model/sanitizer.h"
#include "sim/default_image.h"

#include <signal.h>

using namespace zelvor;
using zelvor::testing::clickTab;
using zelvor::testing::keyAtFocus;
using zelvor::testing::showActive;
using zelvor::testing::typeOver;
using zelvor::testing::WindowUnderTest;

namespace {

app::StartOptions simulated() {
    app::StartOptions options;
    options.simulate = true;
    return options;
}

QString statusText(app::TFormHlav& w) {
    return w.controls().find<QLabel>("LabelHlaseni")->text();
}

// Picks an item of the Com menu with the mouse, as a person does.
void choose(app::TFormHlav& w, QAction* item) {
    zelvor::testing::clickMenuItem(w, w.controls().find<QMenu>("MenuCom"), item);
}

// The Com items that carry the check mark, by caption.
QStringList checkedPorts(app::TFormHlav& w) {
    QStringList checked;
    for (QAction* a : w.controls().find<QMenu>("MenuCom")->actions()) {
        if (a->isChecked()) checked << a->text();
    }
    return checked;
}

QAction* comItem(app::TFormHlav& w, const QString& objectName) {
    return w.controls().find<QMenu>("MenuCom")->findChild<QAction*>(objectName);
}

QAction* deviceItem(app::TFormHlav& w) {
    for (QAction* a : w.controls().find<QMenu>("MenuCom")->actions()) {
        if (a->objectName() == QStringLiteral("MenuComDevice")) return a;
    }
    return nullptr;
}

bool answering(app::TFormHlav& w, std::uint32_t after, int milliseconds = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (w.unitLink().monitor().framesDecoded() <= after) {
        if (clock.elapsed() > milliseconds) return false;
        QTest::qWait(20);
    }
    return true;
}

}  // namespace

class WindowLinkTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void readFillsThePagesAndEndsWithTheVerify() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        QVERIFY(w.simulator() != nullptr);
        QVERIFY(t.script.messages.isEmpty());  // the simulated port opened
        w.image().set(model::Field::IDLE_IdleHyster, 7);
        w.MenuReadClick();
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Verify: OK"), 15000);
        model::ParameterImage unit = sim::builtInImage();
        model::sanitize(unit);
        QVERIFY(w.image() == unit);
        QCOMPARE(w.currentPage(), editing::kPageIdle);
        QCOMPARE(w.controls().find<QSpinBox>("EditIdleHyster")->value(),
                 w.image().get(model::Field::IDLE_IdleHyster) * 10);
        QVERIFY(w.fileName().isEmpty());
    }

    void programEndsWithSuccessThenSaving() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        w.image().set(model::Field::FAN_Fan1, 99);
        w.MenuProgramClick();
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Saving:"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Program device: OK"), 10000);
        for (int block = 0; block < 10; ++block) QVERIFY(!w.unitLink().transfer().blockFlag(block));
    }

    void programSendsTheValueStillBeingTyped() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageIdle);
        auto* hysteresis = w.controls().find<QSpinBox>("EditIdleHyster");
        const unsigned before = w.image().get(model::Field::IDLE_IdleHyster);
        const unsigned typed = before == 42 ? 43 : 42;
        typeOver(hysteresis, QString::number(typed * 10));
        QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), before);  // not taken yet

        keyAtFocus(Qt::Key_F9);  // the shortcut, with the value still in its field
        QCOMPARE(w.image().get(model::Field::IDLE_IdleHyster), typed);
        QCOMPARE(w.unitLink().transfer().state(), link::TransferState::Program);
        // The unit is verified against the image: it holds the typed value.
        QTRY_COMPARE_WITH_TIMEOUT(statusText(w), QStringLiteral("Program device: OK"), 20000);
        QCOMPARE(hysteresis->value(), static_cast<int>(typed * 10));
    }

    void losingTheUnitShowsNoConnectionAndTheWindowGoesOn() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        auto* noConnection = w.controls().find<QWidget>("LabelSpojeni");
        // The unit answers the monitor poll: no "No Connection".
        QTRY_VERIFY_WITH_TIMEOUT(w.unitLink().monitor().framesDecoded() > 0, 5000);
        QVERIFY(noConnection->isHidden());
        // From here the test counts ticks itself, so a slow machine cannot
        // make the count look longer than it is.
        w.tickTimer().stop();
        w.simulator()->kill();
        int ticks = 0;
        while (noConnection->isHidden() && ticks < 100) {
            w.Timer1Timer();
            ++ticks;
        }
        QVERIFY2(ticks <= 24, qPrintable(QString::number(ticks)));
        // Still usable: an edit and its undo.
        w.image().set(model::Field::FAN_Fan2, 90);
        w.runPipeline();
        w.SpeedButtonZpetClick();
        QCOMPARE(w.image().get(model::Field::FAN_Fan2), 104);
        w.MenuReadClick();  // a transfer on a dead line fails cleanly after 5 sends
        for (int i = 0; i < 6 * 6; ++i) w.Timer1Timer();
        QCOMPARE(statusText(w), QStringLiteral("Read error!"));
    }

    void aSimulatedRunMarksItsUnitAndRestartsItAfterItDied() {
        WindowUnderTest t(folder_.path(), simulated(), false);
        app::TFormHlav& w = t.window;
        w.show();
        QVERIFY(w.simulator() != nullptr);
        const std::string firstDevice = w.simulator()->devicePath();
        QAction* device = deviceItem(w);
        QVERIFY(device != nullptr && device->isVisible());
        QVERIFY(device->text().contains(QString::fromStdString(firstDevice)));
        QCOMPARE(checkedPorts(w), QStringList{device->text()});
        QVERIFY(answering(w, 0));

        // The unit drops out.
        const pid_t first = w.simulator()->pid();
        QCOMPARE(::kill(first, SIGKILL), 0);
        auto* noConnection = w.controls().find<QWidget>("LabelSpojeni");
        QTRY_VERIFY_WITH_TIMEOUT(!noConnection->isHidden(), 5000);

        // Its item again: a new unit, and the link comes back.
        choose(w, device);
        QVERIFY(w.simulator() != nullptr);
        QVERIFY(w.simulator()->pid() != first);
        QVERIFY(w.simulator()->alive());
        QVERIFY(
            deviceItem(w)->text().contains(QString::fromStdString(w.simulator()->devicePath())));
        QCOMPARE(checkedPorts(w), QStringList{deviceItem(w)->text()});
        QVERIFY(answering(w, w.unitLink().monitor().framesDecoded()));
        QTRY_VERIFY_WITH_TIMEOUT(noConnection->isHidden(), 5000);
        QVERIFY(t.script.messages.isEmpty());
    }

    void aComItemLeavesTheRunsDeviceAndItsItemBringsItBack() {
        QTemporaryDir folder;
        std::string error;
        auto unit = sim::SimProcess::start(ZELVOR_SIM_EXECUTABLE, {}, error);
        QVERIFY2(unit.has_value(), error.c_str());
        app::StartOptions options;
        options.portDevice = unit->devicePath();
        // Com 3 names a device that is not there.
        QFile ini(folder.filePath("Zelvor.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[PORTS]\r\nCOM3=" + folder.filePath("absent").toUtf8() + "\r\n");
        ini.close();
        WindowUnderTest t(folder.path(), options, false);
        app::TFormHlav& w = t.window;
        w.show();
        QVERIFY(t.script.messages.isEmpty());
        QAction* device = deviceItem(w);
        QVERIFY(device != nullptr && device->isVisible());
        QCOMPARE(device->text(), QString::fromStdString(unit->devicePath()));
        // Com 1 is not the device in use.
        QCOMPARE(checkedPorts(w), QStringList{device->text()});
        QVERIFY(answering(w, 0));

        choose(w, comItem(w, QStringLiteral("MenuCom3")));
        QCOMPARE(w.portIndex(), 2);
        QCOMPARE(checkedPorts(w), QStringList{QStringLiteral("Com 3")});
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY(t.script.messages.first().contains(folder.filePath("absent")));

        choose(w, device);
        QCOMPARE(checkedPorts(w), QStringList{device->text()});
        QCOMPARE(t.script.messages.size(), 1);
        QVERIFY(answering(w, w.unitLink().monitor().framesDecoded()));
    }
};

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
