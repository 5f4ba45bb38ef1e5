// Random mouse and key input on the map cells through the window: whatever
// is clicked, dragged and typed, only cells of the map on show change (and
// map 2's with map 1 while they are coupled), every change is exactly one
// undo step, and redo brings it back.
#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QtTest>
#include <random>
#include <set>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/map_content.h"
#include "editing/page_index.h"
#include "editing/widgets/map_cell_grid.h"
#include "model/field_table.h"

using namespace zelvor;
using editing::GridCell;
using model::Field;
using zelvor::testing::WindowUnderTest;

namespace {

constexpr unsigned kRandomStart = 20261209;
constexpr int kInputs = 400;

widgets::MapCellGrid* cells(app::TFormHlav& w) {
    return w.controls().find<widgets::MapCellGrid>("MapCells_Uni");
}

// The image bytes the cells of a map page may change.
std::set<std::size_t> cellBytes(int page, bool coupled) {
    std::set<std::size_t> bytes;
    const auto add = [&bytes](Field field) {
        const model::FieldDescriptor& d = model::descriptor(field);
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            for (std::size_t b = 0; b < d.elementSize(); ++b) bytes.insert(d.offsetOf(k) + b);
        }
    };
    if (page == editing::kPageAdvance) add(Field::ADVANCE_Cell);
    if (page == editing::kPageJet1A) add(Field::JET_1A_Cell);
    if (page == editing::kPageJet2A || (page == editing::kPageJet1A && coupled)) {
        add(Field::JET_2A_Cell);
    }
    return bytes;
}

std::set<std::size_t> changedBytes(const model::ParameterImage& a, const model::ParameterImage& b) {
    std::set<std::size_t> changed;
    for (std::size_t i = 0; i < model::ParameterImage::kSize; ++i) {
        if (a.bytes()[i] != b.bytes()[i]) changed.insert(i);
    }
    return changed;
}

}  // namespace

class WindowMapRandomTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void randomInputChangesOnlyTheShownMapOneStepAtATime() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        std::mt19937 random(kRandomStart);
        const auto pick = [&random](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(random);
        };
        const auto anyCell = [&pick] { return GridCell{pick(model::kMapRows), pick(15)}; };
        const auto point = [&w](GridCell cell) { return cells(w)->editRect(cell).center(); };
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), k, modifiers);
        };
        const auto type = [](const QString& text) {
            for (QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        };
        const bool coupled = pick(2) == 1;
        w.image().set(Field::JET1_MISC_Jet123Mode, coupled ? 1u : 0u);
        w.runPipeline();
        testing::clickTab(w.pageControl(), editing::kPageAdvance);

        int changes = 0;
        for (int i = 0; i < kInputs; ++i) {
            // Arrow keys on the tab bar may have left the map pages.
            if (!editing::mapOfPage(w.currentPage())) {
                testing::clickTab(w.pageControl(), editing::kPageAdvance);
            }
            const int page = w.currentPage();
            const model::ParameterImage before = w.image();
            QString what;
            switch (pick(12)) {
                case 0:
                    testing::clickTab(w.pageControl(), editing::kPageAdvance + pick(3));
                    what = QStringLiteral("tab");
                    break;
                case 1: {
                    const GridCell cell = anyCell();
                    QTest::mouseClick(cells(w), Qt::LeftButton,
                                      pick(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier,
                                      point(cell));
                    what = QStringLiteral("click %1,%2").arg(cell.row).arg(cell.column);
                    break;
                }
                case 2: {
                    const GridCell from = anyCell();
                    const GridCell to = anyCell();
                    QTest::mousePress(cells(w), Qt::LeftButton, {}, point(from));
                    QTest::mouseMove(cells(w), point(to));
                    QTest::mouseRelease(cells(w), Qt::LeftButton, {}, point(to));
                    what = QStringLiteral("drag");
                    break;
                }
                case 3: {
                    const QRect arrows = cells(w)->spinnerRect(anyCell());
                    const bool up = pick(2) == 0;
                    QTest::mouseClick(
                        cells(w), Qt::LeftButton, {},
                        {arrows.center().x(), up ? arrows.top() + 4 : arrows.bottom() - 4});
                    what = QStringLiteral("arrow");
                    break;
                }
                case 4: {
                    const Qt::Key arrows[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left,
                                              Qt::Key_Right};
                    key(arrows[pick(4)], pick(2) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
                    what = QStringLiteral("arrow key");
                    break;
                }
                case 5:
                    type(QString::number(pick(120)));
                    key(pick(4) == 0 ? Qt::Key_Escape : Qt::Key_Return);
                    what = QStringLiteral("typed cell");
                    break;
                case 6: {
                    const char operations[] = {'=', '*'};
                    QTest::keyClick(QApplication::focusWidget(), operations[pick(2)]);
                    type(QString::number(50 + pick(100)));
                    key(pick(4) == 0 ? Qt::Key_Escape : Qt::Key_Return);
                    what = QStringLiteral("operation with a value");
                    break;
                }
                case 7: {
                    const char operations[] = {'+', '-', '/', 'H', 'V', 'S'};
                    QTest::keyClick(QApplication::focusWidget(), operations[pick(6)]);
                    what = QStringLiteral("operation");
                    break;
                }
                case 8:
                    key(pick(2) == 0 ? Qt::Key_F4 : Qt::Key_F5);
                    what = QStringLiteral("step key");
                    break;
                case 9:
                    key(Qt::Key_C, Qt::ControlModifier);
                    QTest::mouseClick(cells(w), Qt::LeftButton, {}, point(anyCell()));
                    key(Qt::Key_V, Qt::ControlModifier);
                    what = QStringLiteral("copy and paste");
                    break;
                case 10:
                    key(Qt::Key_A, Qt::ControlModifier);
                    what = QStringLiteral("select all");
                    break;
                default:
                    QTest::mouseClick(cells(w), Qt::LeftButton, {}, point(anyCell()));
                    key(Qt::Key_Escape);
                    what = QStringLiteral("click and Escape");
                    break;
            }
            const QByteArray context =
                QStringLiteral("input %1 (%2) on page %3").arg(i).arg(what).arg(page).toUtf8();
            if (w.image() == before) continue;
            ++changes;
            // Only cells of the page the input was made on.
            const std::set<std::size_t> allowed = cellBytes(page, coupled);
            for (std::size_t byte : changedBytes(before, w.image())) {
                QVERIFY2(allowed.contains(byte), context.constData());
            }
            // One step back gives the image before the input, one forward
            // the image after it.
            const model::ParameterImage after = w.image();
            w.SpeedButtonZpetClick();
            QVERIFY2(w.image() == before, context.constData());
            w.SpeedButtonZnovuClick();
            QVERIFY2(w.image() == after, context.constData());
            testing::showActive(w);
            if (w.currentPage() >= editing::kPageAdvance &&
                w.currentPage() <= editing::kPageJet2A) {
                cells(w)->setFocus();
            }
        }
        qInfo("%d of %d inputs changed the image (maps coupled: %d)", changes, kInputs, coupled);
        // The inputs did change something now and then.
        QVERIFY2(changes > kInputs / 10, qPrintable(QString::number(changes)));
    }
};

QTEST_MAIN(WindowMapRandomTest)
#include "window_map_random_test.moc"
