// The window driven as a person drives it: tab clicks, arrow clicks, typing,
// Enter, Ctrl+Z and wheel notches, with the focus where it really is. Every
// case checks that the image changed exactly where the input aimed.
#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/page_index.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/map_cell_grid.h"
#include "model/field_table.h"

using namespace zelvor;
using zelvor::testing::clickArrow;
using zelvor::testing::clickTab;
using zelvor::testing::clickText;
using zelvor::testing::keyAtFocus;
using zelvor::testing::showActive;
using zelvor::testing::textOf;
using zelvor::testing::typeOver;
using zelvor::testing::wheelOver;
using zelvor::testing::WindowUnderTest;

namespace {

widgets::CommitSpinBox* spin(app::TFormHlav& w, const char* name, int element = -1) {
    return w.controls().find<widgets::CommitSpinBox>(name, element);
}

// Offsets of the bytes that differ between two images.
widgets::MapCellGrid* mapCells(app::TFormHlav& w) {
    return w.controls().find<widgets::MapCellGrid>("MapCells_Uni");
}

void clickMapCell(app::TFormHlav& w, int k) {
    QTest::mouseClick(mapCells(w), Qt::LeftButton, {},
                      mapCells(w)->editRect({k / 15, k % 15}).center());
}

std::vector<std::size_t> changedBytes(const model::ParameterImage& a,
                                      const model::ParameterImage& b) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < model::ParameterImage::kSize; ++i) {
        if (a.bytes()[i] != b.bytes()[i]) changed.push_back(i);
    }
    return changed;
}

std::size_t offsetOf(model::Field field, std::size_t index = 0) {
    return model::descriptor(field).offsetOf(index);
}

}  // namespace

class WindowInputTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    // An arrow click leaves the focus in the field; the tab clicks that
    // follow must not collect the pages they open.
    void arrowClickThenTabClicksChangeOnlyThatField() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageBike);
        const model::ParameterImage before = w.image();
        clickArrow(spin(w, "EditFan1"), true);
        QVERIFY(spin(w, "EditFan1")->hasFocus());
        for (int page : {editing::kPageKorekce, editing::kPageGear, editing::kPageAdvance,
                         editing::kPageJet1A, editing::kPageBike}) {
            clickTab(w.pageControl(), page);
            QCOMPARE(w.currentPage(), page);
        }
        const auto changed = changedBytes(before, w.image());
        QCOMPARE(changed.size(), std::size_t{1});
        QCOMPARE(changed.front(), offsetOf(model::Field::FAN_Fan1));
        QCOMPARE(w.image().get(model::Field::FAN_Fan1), before.get(model::Field::FAN_Fan1) + 1);
    }

    // A typed value is taken for the page it was typed on, before the
    // switch; the page being opened is only shown.
    void typedValueIsTakenForItsOwnPageOnTabClick() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageAdvance);  // the grid shows the advance map
        clickTab(w.pageControl(), editing::kPageBike);
        const model::ParameterImage before = w.image();
        typeOver(spin(w, "EditFan2"), QStringLiteral("110"));
        clickTab(w.pageControl(), editing::kPageJet1A);
        const auto changed = changedBytes(before, w.image());
        QCOMPARE(changed.size(), std::size_t{1});
        QCOMPARE(w.image().get(model::Field::FAN_Fan2), 110u);
        // Undo shows the page of the state it returns to, the page shown
        // when the window started.
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.currentPage(), editing::kPageIdle);
        QVERIFY(w.image() == before);
    }

    // Undo and redo switch pages; the field with the focus on the page left
    // must not write its stale value over the restored image.
    void undoAndRedoAcrossPagesRestoreExactly() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageBike);
        const model::ParameterImage start = w.image();
        clickArrow(spin(w, "EditFan1"), true);
        const model::ParameterImage afterFan = w.image();
        clickTab(w.pageControl(), editing::kPageGear);
        clickArrow(spin(w, "EditPocetGear"), true);
        const model::ParameterImage afterGear = w.image();
        QVERIFY(spin(w, "EditPocetGear")->hasFocus());

        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == afterFan);
        QCOMPARE(w.currentPage(), editing::kPageBike);
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == start);
        QVERIFY(!w.pipeline().canUndo());

        keyAtFocus(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(w.image() == afterGear);
        QCOMPARE(w.currentPage(), editing::kPageGear);
        QVERIFY(!w.pipeline().canRedo());
    }

    // Ctrl+Z belongs to the window's undo also while a number field or the
    // memo has the focus; text typed in the memo is one step.
    void ctrlZUndoesFromNumberFieldAndMemo() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageBike);
        const model::ParameterImage start = w.image();
        clickArrow(spin(w, "EditFan1"), true);
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == start);

        // Undo went back to the page the window started on.
        QCOMPARE(w.currentPage(), editing::kPageIdle);
        clickTab(w.pageControl(), editing::kPageBike);
        auto* memo = w.controls().find<QPlainTextEdit>("Memo1");
        const QString memoBefore = memo->toPlainText();
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(memo, QStringLiteral("ab"));
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(w.image() == start);
        // The state undone to was recorded on the page the window started on.
        QCOMPARE(w.currentPage(), editing::kPageIdle);
        clickTab(w.pageControl(), editing::kPageBike);
        QCOMPARE(memo->toPlainText(), memoBefore);
        keyAtFocus(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.currentPage(), editing::kPageBike);
        QCOMPARE(memo->toPlainText(), memoBefore + QStringLiteral("ab"));
    }

    // An emptied or unreadable entry keeps the field's value: nothing is
    // committed, nothing recorded.
    void emptiedFieldKeepsItsValue() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageBike);
        const model::ParameterImage before = w.image();
        auto* limiter = spin(w, "EditIgnLimiter");
        const int shown = limiter->value();
        typeOver(limiter, QString());
        keyAtFocus(Qt::Key_Backspace);
        QVERIFY(textOf(limiter)->text().isEmpty());
        keyAtFocus(Qt::Key_Return);
        QVERIFY(w.image() == before);
        QCOMPARE(limiter->value(), shown);
        QCOMPARE(textOf(limiter)->text(), limiter->locale().toString(shown));

        auto* correction = spin(w, "EditRpmKorekce");
        typeOver(correction, QStringLiteral("-"));
        keyAtFocus(Qt::Key_Tab);
        QVERIFY(w.image() == before);
        QVERIFY(!w.pipeline().canUndo());

        // A number outside the range is still limited, as the spinner does.
        typeOver(limiter, QStringLiteral("500"));
        keyAtFocus(Qt::Key_Return);
        QCOMPARE(w.image().get(model::Field::LIMITER_IgnLimiter), 9u);
    }

    // A wheel over a field or map cell without the focus changes nothing;
    // once clicked into, a notch is an arrow step.
    void wheelChangesOnlyAFieldWithTheFocus() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        clickTab(w.pageControl(), editing::kPageBike);
        const model::ParameterImage before = w.image();
        wheelOver(spin(w, "EditFan2"), 3);
        wheelOver(w.controls().find<QWidget>("ComboBoxBike"), -2);
        QVERIFY(w.image() == before);
        QVERIFY(t.script.questions.isEmpty());

        clickTab(w.pageControl(), editing::kPageAdvance);
        wheelOver(mapCells(w), -3);
        wheelOver(spin(w, "EditRpm_Uni", 3), 2);
        QVERIFY(w.image() == before);

        clickTab(w.pageControl(), editing::kPageBike);
        clickText(spin(w, "EditFan2"));
        wheelOver(spin(w, "EditFan2"), 1);
        QCOMPARE(w.image().get(model::Field::FAN_Fan2), before.get(model::Field::FAN_Fan2) + 1);
        QCOMPARE(changedBytes(before, w.image()).size(), std::size_t{1});
    }

    // Collecting an injection page rebuilds only the words whose shown
    // percentage changed: the "Ms" box, "All" and Enter in an unchanged cell
    // keep every time exactly as the unit sent it.
    void injectionCollectKeepsTheWordsOfUntouchedCells() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showActive(w);
        // Times that are no whole percent of their base time, as a Read brings.
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            w.image().set(model::Field::JET_1A_Cell, k, 900 + static_cast<unsigned>(k) * 7);
        }
        w.runPipeline();
        clickTab(w.pageControl(), editing::kPageJet1A);
        const model::ParameterImage before = w.image();
        auto* ms = w.controls().find<QAbstractButton>("CheckBoxZobrMs_Uni");
        QTest::mouseClick(ms, Qt::LeftButton, {}, QPoint(5, ms->height() / 2));
        QVERIFY(ms->isChecked());
        QTest::mouseClick(ms, Qt::LeftButton, {}, QPoint(5, ms->height() / 2));
        QVERIFY(!ms->isChecked());
        QVERIFY(w.image() == before);

        clickMapCell(w, 20);
        keyAtFocus(Qt::Key_Return);
        QVERIFY(w.image() == before);
        // The value it shows typed again: nothing changes either.
        for (QChar digit : QString::number(mapCells(w)->content().cells[20])) {
            QTest::keyClick(QApplication::focusWidget(), digit.toLatin1());
        }
        keyAtFocus(Qt::Key_Return);
        QVERIFY(w.image() == before);

        // A changed cell changes its own word only.
        const QRect arrows = mapCells(w)->spinnerRect({2, 3});
        QTest::mouseClick(mapCells(w), Qt::LeftButton, {}, {arrows.center().x(), arrows.top() + 4});
        const auto changed = changedBytes(before, w.image());
        QVERIFY(!changed.empty());
        // Coupled maps: map 2's cell moves with map 1's.
        for (std::size_t offset : changed) {
            QCOMPARE((offset - offsetOf(model::Field::JET_1A_Cell)) / 2 % model::kMapCells,
                     std::size_t{33});
        }
    }
};

QTEST_MAIN(WindowInputTest)
#include "window_input_test.moc"
