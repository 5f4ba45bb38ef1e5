// Editing through the window: every binding between control and image, the
// commit events, and the change pipeline with its undo history.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "../support/live_answer.h"
#include "../support/window_fixture.h"
#include "editing/conversion.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/radio_group.h"
#include "link/link_frame.h"
#include "model/field_table.h"

using namespace zelvor;
using zelvor::testing::liveAnswer;
using zelvor::testing::WindowUnderTest;

namespace {

widgets::CommitSpinBox* spin(app::TFormHlav& w, const char* name) {
    return w.controls().find<widgets::CommitSpinBox>(name);
}

void showPage(app::TFormHlav& w, int page) {
    w.pageControl()->setCurrentIndex(page);
}

}  // namespace

class WindowEditingTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    // Every bound control of pages 0 and 4..10 carries its value both ways.
    void everyBindingRoundTrips() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        for (const editing::Binding& b : editing::allBindings()) {
            if (b.kind == editing::ControlKind::Memo) continue;
            const QString where = QStringLiteral("%1[%2]")
                                      .arg(QString::fromUtf8(b.control.data(), b.control.size()))
                                      .arg(b.element);
            showPage(w, b.page);
            QObject* control = w.controls().object(b.control, b.element);
            QVERIFY2(control != nullptr, qPrintable(where));
            int first = 0;
            int second = 0;
            if (b.kind == editing::ControlKind::Spinner) {
                auto* box = qobject_cast<QSpinBox*>(control);
                QVERIFY2(box != nullptr, qPrintable(where));
                QCOMPARE(box->minimum(), b.minimum);
                QCOMPARE(box->maximum(), b.maximum);
                QCOMPARE(box->singleStep(), b.step);
                first = b.minimum + b.step;
                second = b.maximum;
                box->setValue(first);
            } else if (b.kind == editing::ControlKind::CheckBox) {
                first = 1;
                qobject_cast<QAbstractButton*>(control)->setChecked(true);
            } else if (b.kind == editing::ControlKind::RadioGroup) {
                first = 1;
                qobject_cast<widgets::RadioGroup*>(control)->setItemIndex(1);
            } else {
                continue;  // the bike combo: see bikeComboKeepsUnknownBike
            }
            w.pageView().collect();
            const unsigned stored = b.kind == editing::ControlKind::Spinner
                                        ? editing::toStored(b, first)
                                        : static_cast<unsigned>(first);
            QVERIFY2(w.image().get(b.field, b.fieldIndex) == stored, qPrintable(where));

            if (b.kind == editing::ControlKind::Spinner) {
                w.image().set(b.field, b.fieldIndex, editing::toStored(b, second));
                w.pageView().refresh();
                QVERIFY2(qobject_cast<QSpinBox*>(control)->value() == second, qPrintable(where));
            } else {
                w.image().set(b.field, b.fieldIndex, 0);
                w.pageView().refresh();
                const bool cleared =
                    b.kind == editing::ControlKind::CheckBox
                        ? !qobject_cast<QAbstractButton*>(control)->isChecked()
                        : qobject_cast<widgets::RadioGroup*>(control)->itemIndex() == 0;
                QVERIFY2(cleared, qPrintable(where));
            }
        }
    }

    // A value outside the control's range is shown limited by the control,
    // and stays in the image as it is until the user changes the control.
    void spinnerLimitsOnlyWhatTheUserChanges() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);
        w.image().set(model::Field::FAN_Fan1, 200);
        w.pageView().refresh();
        QCOMPARE(spin(w, "EditFan1")->value(), 150);
        w.pageView().collect();
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 200);
        spin(w, "EditFan1")->setValue(149);
        w.pageView().collect();
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 149);
    }

    void typingAloneDoesNotCommitButEnterDoes() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        w.show();
        QApplication::setActiveWindow(&w);
        showPage(w, editing::kPageBike);
        auto* fan = spin(w, "EditFan2");
        fan->setFocus();
        auto* edit = fan->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("110"));
        QCOMPARE(w.image().get(model::Field::FAN_Fan2), 104);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.image().get(model::Field::FAN_Fan2), 110);
        QVERIFY(!fan->hasFocus());  // Enter moved on like Tab
        QVERIFY(w.pipeline().canUndo());
    }

    void undoAndRedoWalkTheHistory() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        auto* undo = w.controls().find<QAbstractButton>("SpeedButtonZpet");
        auto* redo = w.controls().find<QAbstractButton>("SpeedButtonZnovu");
        showPage(w, editing::kPageBike);
        spin(w, "EditFan1")->stepBy(1);
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        showPage(w, editing::kPageGear);
        spin(w, "EditPocetGear")->stepBy(1);

        w.SpeedButtonZpetClick();
        // The restored state was recorded on the bike page: undo shows it.
        QCOMPARE(w.pageControl()->currentIndex(), editing::kPageBike);
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 103);
        QVERIFY(redo->isEnabled());
        w.SpeedButtonZnovuClick();
        QCOMPARE(w.image().get(model::Field::GEAR_PocetGear), 2);

        w.SpeedButtonZpetClick();
        w.SpeedButtonZpetClick();
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), 102);
        QVERIFY(!undo->isEnabled());
        // A change after an undo drops the redo states.
        showPage(w, editing::kPageBike);
        spin(w, "EditFan2")->stepBy(1);
        QVERIFY(!redo->isEnabled());
    }

    void twoHundredFiftyChangesAllowOneHundredNinetyNineUndos() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);
        auto* fan = spin(w, "EditFan1");
        for (int i = 0; i < 250; ++i) fan->stepBy(i % 2 == 0 ? 1 : -1);
        int undone = 0;
        while (w.pipeline().canUndo()) {
            w.SpeedButtonZpetClick();
            ++undone;
        }
        QCOMPARE(undone, 199);
        const model::ParameterImage oldest = w.image();
        w.SpeedButtonZpetClick();
        QVERIFY(w.image() == oldest);
    }

    void anEditTheSanitizerReversesRecordsNothing() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageGas);
        w.image().set(model::Field::N2O_Gas1, 60);  // equal to stage 2
        w.runPipeline();
        QVERIFY(w.pipeline().canUndo());
        w.SpeedButtonZpetClick();
        QVERIFY(!w.pipeline().canUndo());
        w.SpeedButtonZnovuClick();
        spin(w, "EditGas1")->stepBy(1);  // 61 > stage 2: lowered back to 60
        QCOMPARE(w.image().get(model::Field::N2O_Gas1), 60);
        QVERIFY(!w.pipeline().canRedo());
        w.SpeedButtonZpetClick();
        QCOMPARE(w.image().get(model::Field::N2O_Gas1), 20);  // one step back, not two
    }

    void programmingAfterChangeSendsTheChangedBlockOnly() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageIdle);
        w.controls().find<QAbstractButton>("CheckBoxProgHned")->setChecked(true);
        spin(w, "EditIdleHyster")->stepBy(1);  // image byte 237: block 2
        const link::TransferEngine& engine = w.unitLink().transfer();
        QCOMPARE(engine.state(), link::TransferState::Program);
        QCOMPARE(engine.currentBlock(), 2);
        for (int block = 0; block < 10; ++block) QCOMPARE(engine.blockFlag(block), block == 2);
    }

    void injectionPositionStepsOneOrAllAngles() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPagePoloha);
        w.image().set(model::Field::POSITION_A_Angle, 3, 144);
        w.runPipeline();
        // Engine stopped: the position index is 0.
        w.ButtonPlusClick_PolohaA();
        QCOMPARE(w.image().get(model::Field::POSITION_A_Angle, 0), 55);
        QCOMPARE(w.image().get(model::Field::POSITION_A_Angle, 1), 55);
        w.controls().find<QAbstractButton>("CheckBoxAll_PolohaA")->setChecked(true);
        w.ButtonMinusClick_PolohaA();
        QCOMPARE(w.image().get(model::Field::POSITION_A_Angle, 0), 54);
        QCOMPARE(w.image().get(model::Field::POSITION_A_Angle, 3), 143);
        w.ButtonPlusClick_PolohaA();
        w.ButtonPlusClick_PolohaA();
        QCOMPARE(w.image().get(model::Field::POSITION_A_Angle, 3), 144);  // 720 degrees at most
        // The step acts on the column nearest to the running engine.
        w.controls().find<QAbstractButton>("CheckBoxAll_PolohaA")->setChecked(false);
        liveAnswer(w, {{48, 5000}});
        t.ticks(1);
        const unsigned before = w.image().get(model::Field::POSITION_A_Angle, 4);
        w.MenuToolsMinusClick();
        QCOMPARE(w.image().get(model::Field::POSITION_A_Angle, 4), before - 1);
    }

    void throttleCalibrationTakesTheLiveVoltageInsideItsWindow() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        liveAnswer(w, {{56, 2500}});
        w.ButtonTps0Click();
        QCOMPARE(w.image().get(model::Field::TPS_Tps0), 250);
        w.ButtonTps100Click();
        QCOMPARE(w.image().get(model::Field::TPS_Tps100), 0);
        liveAnswer(w, {{56, 4900}});
        w.ButtonTps100Click();
        QCOMPARE(w.image().get(model::Field::TPS_Tps100), 240);
        liveAnswer(w, {{56, 299}});
        w.ButtonTps0Click();  // outside 300..2500 mV: nothing
        QCOMPARE(w.image().get(model::Field::TPS_Tps0), 250);
    }

    void gearButtonsLearnTheLiveRatioOnlyByRatio() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageGear);
        liveAnswer(w, {{120, 1234}});
        w.ButtonGearClick(3);
        QCOMPARE(w.image().word(166), 1234);
        w.image().set(model::Field::GEAR_GearSystem, 1);
        w.runPipeline();
        liveAnswer(w, {{120, 999}});
        w.ButtonGearClick(3);
        QCOMPARE(w.image().word(166), 1234);
    }

    void bikeComboKeepsUnknownBike() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageBike);
        w.image().set(model::Field::BIKE_BikeType, 9);
        const qsizetype before = t.script.messages.size();
        w.runPipeline();
        QCoreApplication::processEvents();
        QCOMPARE(w.controls().find<QComboBox>("ComboBoxBike")->currentIndex(), 8);
        QCOMPARE(t.script.messages.size(), before + 1);  // one box for the two refreshes
        QVERIFY(t.script.messages.last().contains(QStringLiteral("not for required bike")));
        w.pageView().collect();
        QCOMPARE(w.image().get(model::Field::BIKE_BikeType), 9);
    }
};

QTEST_MAIN(WindowEditingTest)
#include "window_editing_test.moc"
