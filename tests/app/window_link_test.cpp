// The window against the simulated unit on a pseudo-terminal, with the real
// 55 ms tick: Read, Program and a lost connection.
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "../support/window_fixture.h"
#include "editing/page_index.h"
#include "model/sanitizer.h"
#include "sim/default_image.h"
#include "sim/sim_process.h"

using namespace zelvor;
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
        w.pipeline().run();
        w.SpeedButtonZpetClick();
        QCOMPARE(w.image().get(model::Field::FAN_Fan2), 104);
        w.MenuReadClick();  // a transfer on a dead line fails cleanly after 5 sends
        for (int i = 0; i < 6 * 6; ++i) w.Timer1Timer();
        QCOMPARE(statusText(w), QStringLiteral("Read error!"));
    }
};

QTEST_MAIN(WindowLinkTest)
#include "window_link_test.moc"
