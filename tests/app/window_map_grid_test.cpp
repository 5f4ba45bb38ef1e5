// The map grid through the window: collect and refresh of the three map
// pages, coupling modes, ms display, single-row mode, the map tools at the
// live cell, the lit cell, and what survives a restart.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <map>

#include "../support/live_answer.h"
#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/map_grid_model.h"
#include "editing/page_index.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/map_cell_grid.h"
#include "editing/widgets/position_spin_button.h"
#include "link/link_frame.h"

using namespace zelvor;
using model::Field;
using zelvor::testing::liveAnswer;
using zelvor::testing::WindowUnderTest;

namespace {

constexpr int kEngineSpeedWord = 48;
constexpr int kThrottleByte = 9;

widgets::MapCellGrid* cells(app::TFormHlav& w) {
    return w.controls().find<widgets::MapCellGrid>("MapCells_Uni");
}
editing::GridCell at(int k) {
    return {k / 15, k % 15};
}
// The value a cell shows (degrees or percent).
int shown(app::TFormHlav& w, int k) {
    return cells(w)->content().cells[static_cast<std::size_t>(k)];
}
void clickCell(app::TFormHlav& w, int k, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(cells(w), Qt::LeftButton, modifiers, cells(w)->editRect(at(k)).center());
}
// A click on the upper or lower half of a cell's spinner.
void clickCellArrow(app::TFormHlav& w, int k, bool up) {
    const QRect spinner = cells(w)->spinnerRect(at(k));
    QTest::mouseClick(cells(w), Qt::LeftButton, {},
                      QPoint(spinner.center().x(), up ? spinner.top() + 4 : spinner.bottom() - 4));
}
// Keys typed one by one where the focus is (the first digit opens the
// cell's edit, which takes the rest).
void typeAtFocus(const QString& text) {
    for (QChar typed : text) QTest::keyClick(QApplication::focusWidget(), typed.toLatin1());
}
// Clicks a cell and types a value into it, Enter included.
void typeIntoCell(app::TFormHlav& w, int k, int value) {
    clickCell(w, k);
    typeAtFocus(QString::number(value));
    testing::keyAtFocus(Qt::Key_Return);
}
widgets::CommitSpinBox* axis(app::TFormHlav& w, int c) {
    return w.controls().find<widgets::CommitSpinBox>("EditRpm_Uni", c);
}
QWidget* widget(app::TFormHlav& w, const char* name, int element = -1) {
    return w.controls().find<QWidget>(name, element);
}
QAbstractButton* box(app::TFormHlav& w, const char* name) {
    return w.controls().find<QAbstractButton>(name);
}
editing::Colour colour(app::TFormHlav& w, const char* name, int element) {
    return widgets::currentBackground(widget(w, name, element));
}

void showPage(app::TFormHlav& w, int page) {
    w.pageControl()->setCurrentIndex(page);
}

void setMode(app::TFormHlav& w, int mode) {
    w.image().set(Field::JET1_MISC_Jet123Mode, static_cast<unsigned>(mode));
    w.runPipeline();
}

// The engine at speed rpm and throttle %, seen by one tick.
void engineAt(WindowUnderTest& t, int rpm, int throttle) {
    liveAnswer(t.window, {{kEngineSpeedWord, rpm}, {kThrottleByte, throttle}});
    t.ticks(1);
}

// The base times the window works with, computed from its image.
model::InjectionScaling scalingOf(const model::ParameterImage& image) {
    model::InjectionScaling scaling;
    scaling.computeBaseTables(image);
    scaling.computeBaseTimes(image);
    return scaling;
}

double luminance(QRgb pixel) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) +
           0.0722 * linear(qBlue(pixel));
}

// Contrast of the darkest pixel (the text) against the most common colour
// inside the frame (the field's background), as the accessibility rules
// count it: 1 for none, 21 for black on white.
double textContrast(const QImage& picture) {
    std::map<QRgb, int> counts;
    double darkest = 1.0;
    for (int y = 3; y < picture.height() - 3; ++y) {
        for (int x = 3; x < picture.width() - 3; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            ++counts[pixel];
            darkest = std::min(darkest, luminance(pixel));
        }
    }
    const auto background =
        std::max_element(counts.begin(), counts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    return (luminance(background->first) + 0.05) / (darkest + 0.05);
}

// The colour most of a picture shows (a field's background).
QRgb commonColour(const QImage& picture) {
    std::map<QRgb, int> counts;
    for (int y = 3; y < picture.height() - 3; ++y) {
        for (int x = 3; x < picture.width() - 3; ++x) ++counts[picture.pixel(x, y)];
    }
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

bool isLit(app::TFormHlav& w, int k) {
    const auto live = cells(w)->liveCell();
    return live && live->row == at(k).row && live->column == at(k).column;
}

void setUseTps(app::TFormHlav& w, unsigned value) {
    w.image().set(Field::ADVANCE_MISC_UseTps, value);
}

// An axis of 1000, 1500, ... 8000 rpm.
void setEvenAxis(app::TFormHlav& w, Field field) {
    for (std::size_t c = 0; c < 15; ++c) w.image().set(field, c, 10 + 5 * c);
}

}  // namespace

class WindowMapGridTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

  private slots:
    void init() {
        // Every test starts without the settings and dump of the one before.
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.path());
    }

    // Every axis point and cell typed into the grid reaches the image and
    // comes back, on each map page.
    void everyCellAndAxisEditRoundTrips() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        setMode(w, 0);
        for (int page = editing::kPageAdvance; page <= editing::kPageJet2A; ++page) {
            testing::clickTab(w.pageControl(), page);
            QCOMPARE(widget(w, "GroupBoxUni")->parentWidget(), w.pageControl()->widget(page));
            for (int c = 0; c < 15; ++c) axis(w, c)->setValue((10 + page + 4 * c) * 100);
            w.UpDownClick();
            // Every cell at once: a block of 10 x 15 numbers pasted at the
            // top left cell.
            QString block;
            for (int r = 0; r < 10; ++r) {
                for (int c = 0; c < 15; ++c) {
                    block += QString::number((r * 15 + c) % 50 + page) + (c < 14 ? "\t" : "\n");
                }
            }
            QApplication::clipboard()->setText(block);
            clickCell(w, 0);
            testing::keyAtFocus(Qt::Key_V, Qt::ControlModifier);

            const model::Field axisField = editing::mapDescriptor(page)->axis;
            for (int c = 0; c < 15; ++c) {
                QCOMPARE(int(w.image().get(axisField, c)), 10 + page + 4 * c);
                QCOMPARE(axis(w, c)->value(), (10 + page + 4 * c) * 100);
            }
            const model::InjectionScaling scaling = scalingOf(w.image());
            for (int k = 0; k < 150; ++k) {
                const int typed = k % 50 + page;
                QCOMPARE(shown(w, k), typed);
                if (page == editing::kPageAdvance) {
                    QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, k)), typed);
                } else {
                    // The time gives the percentage shown.
                    const auto map = *editing::mapDescriptor(page)->injection;
                    QCOMPARE(model::percentFromWord(static_cast<std::uint16_t>(w.image().get(
                                                        editing::mapDescriptor(page)->cells, k)),
                                                    scaling.baseTimes(map)[k]),
                             static_cast<std::uint16_t>(typed));
                }
            }
        }
        QVERIFY(w.pipeline().canUndo());
    }

    void advanceExtrasRoundTrip() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        w.image().set(Field::ADVANCE_MISC_CylKor1, 100);
        w.image().set(Field::ADVANCE_MISC_CylKor2, 85);
        showPage(w, editing::kPageAdvance);
        auto* cylinder1 = w.controls().find<widgets::CommitSpinBox>("EditCylKor1_Uni");
        auto* cylinder2 = w.controls().find<widgets::CommitSpinBox>("UpDownCylKor2_Uni");
        auto* baseAdvance = w.controls().find<widgets::CommitSpinBox>("EditBaseAdv_Uni");
        QCOMPARE(cylinder1->value(), 0);
        QCOMPARE(cylinder2->value(), -15);
        QVERIFY(!cylinder1->isHidden());
        cylinder1->setValue(15);
        baseAdvance->setValue(30);
        cylinder2->stepBy(-1);  // at its minimum: stays, and the page is taken
        QCOMPARE(int(w.image().get(Field::ADVANCE_MISC_CylKor1)), 115);
        QCOMPARE(int(w.image().get(Field::ADVANCE_MISC_CylKor2)), 85);
        QCOMPARE(int(w.image().get(Field::ADVANCE_MISC_BaseAdv)), 30);
        QCOMPARE(qobject_cast<QLabel*>(widget(w, "LabelBaseAdv_Uni"))->text(),
                 QStringLiteral("Base advance [°]"));
        showPage(w, editing::kPageJet1A);
        QVERIFY(cylinder1->isHidden());
        QVERIFY(widget(w, "CheckBoxTps_Uni")->isHidden());
    }

    // Typed into a cell and never taken: a page change shows the image again.
    void typingIntoACellAndChangingPageDiscardsTheValue() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        const unsigned stored = w.image().get(Field::ADVANCE_Cell, 20);
        clickCell(w, 20);
        typeAtFocus(QStringLiteral("7"));
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
        testing::clickTab(w.pageControl(), editing::kPageJet1A);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        QCOMPARE(w.image().get(Field::ADVANCE_Cell, 20), stored);
        QCOMPARE(shown(w, 20), int(stored));
        for (const QLineEdit* input : cells(w)->findChildren<QLineEdit*>()) {
            QVERIFY(input->isHidden());
        }
        QVERIFY(!w.pipeline().canUndo());
    }

    // Enter in a cell takes the page, as a click into another cell does.
    void enterInACellTakesThePage() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        typeIntoCell(w, 33, 44);
        QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, 33)), 44);
        QCOMPARE(shown(w, 33), 44);
        clickCell(w, 34);
        typeAtFocus(QStringLiteral("45"));
        clickCell(w, 50);
        QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, 34)), 45);
        // An axis value typed and not yet taken goes with a cell's edit.
        testing::typeOver(axis(w, 2), QStringLiteral("2600"));
        typeIntoCell(w, 51, 12);
        QCOMPARE(int(w.image().get(Field::RPM_ADV_Rpm, 2)), 26);
        QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, 51)), 12);
        // One undo takes back that cell and the axis point together.
        w.SpeedButtonZpetClick();
        QVERIFY(w.image().get(Field::RPM_ADV_Rpm, 2) != 26);
        QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, 34)), 45);
    }

    void coupledMapsThroughTheWindow() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        setMode(w, 0);
        showPage(w, editing::kPageJet2A);
        QVERIFY(widget(w, "GroupBoxUni")->isEnabled());
        w.Menu_Jet123ModeClick(1);
        QVERIFY(w.controls().find<QAction>("Menu_Jet123Coupled")->isChecked());
        QVERIFY(!w.controls().find<QAction>("Menu_Jet123Normal")->isChecked());
        QVERIFY(!widget(w, "GroupBoxUni")->isEnabled());
        QVERIFY(widget(w, "CSpinButtonCol_Uni", 0)->isHidden());
        QVERIFY(widget(w, "CSpinButtonTools_Uni")->isHidden());
        QVERIFY(widget(w, "CheckBoxAll_Uni")->isHidden());
        QVERIFY(widget(w, "CheckBoxZobrMs_Uni")->isHidden());
        QVERIFY(!cells(w)->acceptsEdits());
        QVERIFY(!widget(w, "LabelJet12_Uni")->isHidden());
        QCOMPARE(colour(w, "LabelJet12_Uni", -1), editing::Colour::Yellow);
        for (std::size_t c = 0; c < 15; ++c) {
            QCOMPARE(w.image().get(Field::RPM_JET_2A_Rpm, c),
                     w.image().get(Field::RPM_JET_1A_Rpm, c));
        }
        const int map2Before = shown(w, 40);
        const unsigned axis2Before = w.image().get(Field::RPM_JET_2A_Rpm, 6);

        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageJet1A);
        QVERIFY(widget(w, "GroupBoxUni")->isEnabled());
        typeIntoCell(w, 40, shown(w, 40) - 5);
        axis(w, 6)->stepBy(1);
        QCOMPARE(w.image().get(Field::RPM_JET_2A_Rpm, 6), axis2Before + 1);
        showPage(w, editing::kPageJet2A);
        QCOMPARE(shown(w, 40), map2Before - 5);
    }

    // Map 2 coupled to map 1 cannot be edited, but its numbers must still be
    // read at the bench: dark text on the disabled cells.
    void coupledMapTwoStaysDisabledAndReadable() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        setMode(w, 0);
        w.controls().find<QAction>("Menu_Jet123Coupled")->trigger();
        QTabBar* tabs = w.pageControl()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(editing::kPageJet2A).center());
        QCOMPARE(w.currentPage(), editing::kPageJet2A);
        QVERIFY(!cells(w)->isEnabled());
        for (int k : {0, 77, 149}) {
            const double ratio = textContrast(cells(w)->grab(cells(w)->editRect(at(k))).toImage());
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("cell %1: %2").arg(k).arg(ratio)));
        }
        // The axis is shown the same way.
        QVERIFY(!axis(w, 3)->isEnabled());
        QVERIFY(textContrast(axis(w, 3)->grab().toImage()) >= 4.5);
    }

    void sameMapsThroughTheWindow() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        setMode(w, 0);
        showPage(w, editing::kPageJet2A);
        w.Menu_Jet123ModeClick(2);
        QCOMPARE(w.currentPage(), editing::kPageJet1A);
        QCOMPARE(w.pageControl()->currentIndex(), editing::kPageJet1A);
        QVERIFY(!w.pageControl()->isTabVisible(editing::kPageJet2A));
        QCOMPARE(widget(w, "GroupBoxUni")->parentWidget(),
                 w.pageControl()->widget(editing::kPageJet1A));
        QVERIFY(!widget(w, "GroupBoxUni")->isHidden());
        QCOMPARE(qobject_cast<QLabel*>(widget(w, "LabelJet12_Uni"))->text(),
                 QStringLiteral("  1 = 2  "));
        QCOMPARE(colour(w, "LabelJet12_Uni", -1), editing::Colour::Aqua);
        testing::showActive(w);
        typeIntoCell(w, 77, 131);
        axis(w, 2)->stepBy(1);
        for (std::size_t k = 0; k < 150; ++k) {
            QCOMPARE(w.image().get(Field::JET_2A_Cell, k), w.image().get(Field::JET_1A_Cell, k));
        }
        QCOMPARE(w.image().get(Field::RPM_JET_2A_Rpm, 2), w.image().get(Field::RPM_JET_1A_Rpm, 2));
        // Undo (the axis point, the cell, the mode) shows the separate maps
        // with the tab again.
        for (int step = 0; step < 3; ++step) w.SpeedButtonZpetClick();
        QVERIFY(w.pageControl()->isTabVisible(editing::kPageJet2A));
        QVERIFY(w.controls().find<QAction>("Menu_Jet123Normal")->isChecked());
    }

    // An image with "1 = 2" arriving while map 2 is shown puts map 1 there.
    void sameMapsArrivingOnMapTwoShowMapOne() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        setMode(w, 0);
        showPage(w, editing::kPageJet2A);
        setMode(w, 2);
        QCOMPARE(w.pageControl()->currentIndex(), editing::kPageJet1A);
        QCOMPARE(w.currentPage(), editing::kPageJet1A);
        QCOMPARE(widget(w, "GroupBoxUni")->parentWidget(),
                 w.pageControl()->widget(editing::kPageJet1A));
    }

    void msDisplayShowsTheTimesOfTheInjectionPages() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        setMode(w, 0);
        testing::clickTab(w.pageControl(), editing::kPageJet1A);
        QTest::mouseClick(box(w, "CheckBoxZobrMs_Uni"), Qt::LeftButton);
        QVERIFY(cells(w)->msDisplay());
        QVERIFY(!widget(w, "GroupBoxUni")->isHidden());
        w.image().set(Field::JET_1A_Cell, 5, 60000);
        w.runPipeline();
        QCOMPARE(cells(w)->cellText(at(5)), QStringLiteral("60.000 "));
        for (int k = 0; k < 150; ++k) {
            QCOMPARE(cells(w)->cellText(at(k)).toStdString(),
                     editing::msText(w.image().get(Field::JET_1A_Cell, k)));
        }
        // The arrows stay; stepping a cell shows its new time at once.
        const unsigned before = w.image().get(Field::JET_1A_Cell, 6);
        clickCellArrow(w, 6, true);
        QVERIFY(w.image().get(Field::JET_1A_Cell, 6) > before);
        QCOMPARE(cells(w)->cellText(at(6)).toStdString(),
                 editing::msText(w.image().get(Field::JET_1A_Cell, 6)));
        // The advance map has no ms display, whatever the box says.
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        QVERIFY(!cells(w)->msDisplay());
        QVERIFY(widget(w, "CheckBoxZobrMs_Uni")->isHidden());
        QVERIFY(box(w, "CheckBoxZobrMs_Uni")->isChecked());
    }

    void singleRowModeShowsOnlyTheFullThrottleRow() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        testing::clickTab(w.pageControl(), editing::kPageAdvance);
        w.image().set(Field::ADVANCE_Cell, 3, 17);
        w.runPipeline();
        QTest::mouseClick(box(w, "CheckBoxTps_Uni"), Qt::LeftButton);
        QCOMPARE(int(w.image().get(Field::ADVANCE_MISC_UseTps)), 0);
        QVERIFY(cells(w)->singleRow());
        for (int c = 0; c < 15; ++c) {
            // Row 9 in row 0's place, and nothing else there.
            const QRect place = cells(w)->editRect(at(135 + c));
            QCOMPARE(place.top(), 0);
            QCOMPARE(cells(w)->cellAt(place.center())->row, 9);
        }
        QVERIFY(widget(w, "LabelTpsRow_Uni", 0)->isHidden());
        QVERIFY(widget(w, "LabelTps_Uni")->isHidden());
        QVERIFY(widget(w, "CSpinButtonCol_Uni", 7)->isHidden());
        const unsigned before = w.image().get(Field::ADVANCE_Cell, 140);
        clickCellArrow(w, 140, true);
        QCOMPARE(w.image().get(Field::ADVANCE_Cell, 140), before + 1);
        QCOMPARE(int(w.image().get(Field::ADVANCE_Cell, 3)), 17);  // hidden rows kept

        QTest::mouseClick(box(w, "CheckBoxTps_Uni"), Qt::LeftButton);
        QVERIFY(!cells(w)->singleRow());
        QVERIFY(cells(w)->editRect(at(140)).y() > cells(w)->editRect(at(5)).y());
        QVERIFY(!widget(w, "CSpinButtonCol_Uni", 7)->isHidden());
    }

    void litCellFollowsTheEngine() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        setUseTps(w, 1);
        setEvenAxis(w, Field::RPM_ADV_Rpm);
        w.runPipeline();
        showPage(w, editing::kPageAdvance);
        engineAt(t, 1250, 3);  // half-way between 1000 and 1500: the higher column
        QCOMPARE(colour(w, "EditRpm_Uni", 1), editing::Colour::Lime);
        QCOMPARE(colour(w, "EditRpm_Uni", 0), editing::Colour::Window);
        QCOMPARE(colour(w, "LabelTpsRow_Uni", 1), editing::Colour::Lime);
        QVERIFY(isLit(w, 16));
        QCOMPARE(w.currentCell(), (link::CurrentCell{1, 1}));
        engineAt(t, 1249, 4);
        QCOMPARE(colour(w, "EditRpm_Uni", 0), editing::Colour::Lime);
        QCOMPARE(colour(w, "EditRpm_Uni", 1), editing::Colour::Window);
        QCOMPARE(colour(w, "LabelTpsRow_Uni", 2), editing::Colour::Lime);
        QCOMPARE(colour(w, "LabelTpsRow_Uni", 1), editing::Colour::ButtonFace);
        QVERIFY(isLit(w, 30));

        // Without the throttle the label follows it, the cell is in row 9.
        setUseTps(w, 0);
        w.runPipeline();
        engineAt(t, 1000, 0);
        QCOMPARE(colour(w, "LabelTpsRow_Uni", 0), editing::Colour::Lime);
        QVERIFY(isLit(w, 135));

        // Engine stopped: no cell and no axis point, but the row label.
        setUseTps(w, 1);
        w.runPipeline();
        engineAt(t, 0, 60);
        QVERIFY(!cells(w)->liveCell());
        for (int c = 0; c < 15; ++c) QCOMPARE(colour(w, "EditRpm_Uni", c), editing::Colour::Window);
        QCOMPARE(colour(w, "LabelTpsRow_Uni", 7), editing::Colour::Lime);
    }

    // The lit cell is painted lime in ms display too, the others keep the
    // field colour.
    void litCellIsPaintedInMsDisplay() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        testing::showActive(w);
        setMode(w, 0);
        setEvenAxis(w, Field::RPM_JET_1A_Rpm);
        w.runPipeline();
        testing::clickTab(w.pageControl(), editing::kPageJet1A);
        QTest::mouseClick(box(w, "CheckBoxZobrMs_Uni"), Qt::LeftButton);
        engineAt(t, 2000, 100);
        QVERIFY(isLit(w, 9 * 15 + 2));
        const auto fill = [&w](int k) {
            return QColor(commonColour(cells(w)->grab(cells(w)->editRect(at(k))).toImage()));
        };
        QCOMPARE(fill(9 * 15 + 2), widgets::toQColor(editing::Colour::Lime));
        QVERIFY(fill(0) != widgets::toQColor(editing::Colour::Lime));
    }

    void toolsActAtTheLiveCell() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageAdvance);
        setUseTps(w, 1);
        setEvenAxis(w, Field::RPM_ADV_Rpm);
        w.runPipeline();
        const model::ParameterImage before = w.image();

        // Engine stopped: a single cell is not stepped, nothing is recorded.
        engineAt(t, 0, 20);
        w.MenuToolsPlusClick();
        QVERIFY(w.image() == before);
        w.SpeedButtonZpetClick();  // takes back the axis, the last change recorded
        QVERIFY(w.image().get(Field::RPM_ADV_Rpm, 1) != 15);
        w.SpeedButtonZnovuClick();
        QVERIFY(w.image() == before);

        engineAt(t, 3000, 20);  // column 4, row 4
        const std::size_t lit = 4 * 15 + 4;
        w.MenuToolsPlusClick();
        QCOMPARE(w.image().get(Field::ADVANCE_Cell, lit), before.get(Field::ADVANCE_Cell, lit) + 1);
        QCOMPARE(shown(w, int(lit)), int(before.get(Field::ADVANCE_Cell, lit)) + 1);
        qobject_cast<widgets::TwoArrowSpinButton*>(widget(w, "CSpinButtonTools_Uni"))
            ->downButton()
            ->click();
        QCOMPARE(w.image().get(Field::ADVANCE_Cell, lit), before.get(Field::ADVANCE_Cell, lit));

        // All: the whole map, through the All box and the mouse.
        box(w, "CheckBoxAll_Uni")->setChecked(true);
        w.CheckBoxMouseUp();
        QVERIFY(w.allFlags()[editing::kPageAdvance]);
        w.MenuToolsMinusClick();
        for (std::size_t k = 0; k < 150; ++k) {
            const unsigned was = before.get(Field::ADVANCE_Cell, k);
            QCOMPARE(w.image().get(Field::ADVANCE_Cell, k), was == 0 ? 0u : was - 1);
        }
    }

    void toolsOnTheInjectionPages() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        setMode(w, 1);
        setEvenAxis(w, Field::RPM_JET_1A_Rpm);
        w.runPipeline();
        showPage(w, editing::kPageJet1A);
        engineAt(t, 0, 0);
        const model::ParameterImage stopped = w.image();
        w.MenuToolsMinusClick();
        QVERIFY(w.image() == stopped);

        engineAt(t, 8000, 100);  // column 14, row 9
        const int k = 9 * 15 + 14;
        const int map1 = shown(w, k);
        showPage(w, editing::kPageJet2A);
        const int map2 = shown(w, k);
        w.MenuToolsPlusClick();  // map 2 alone cannot be stepped while coupled
        QCOMPARE(shown(w, k), map2);
        showPage(w, editing::kPageJet1A);
        t.ticks(1);
        w.MenuToolsPlusClick();
        QCOMPARE(shown(w, k), map1 + 1);
        showPage(w, editing::kPageJet2A);
        QCOMPARE(shown(w, k), map2 + 1);
    }

    void columnButtonsStepTheirColumn() {
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        showPage(w, editing::kPageAdvance);
        const model::ParameterImage before = w.image();
        auto* button =
            qobject_cast<widgets::TwoArrowSpinButton*>(widget(w, "CSpinButtonCol_Uni", 3));
        QVERIFY(button != nullptr);
        button->upButton()->click();
        for (std::size_t k = 0; k < 150; ++k) {
            const unsigned step = k % 15 == 3 ? 1 : 0;
            const unsigned expected = std::min(60u, before.get(Field::ADVANCE_Cell, k) + step);
            QCOMPARE(w.image().get(Field::ADVANCE_Cell, k), expected);
        }
    }

    // The All flags travel in the dump, the Ms box in the settings.
    void allFlagsAndMsBoxSurviveARestart() {
        {
            WindowUnderTest t(folder_.path());
            app::TFormHlav& w = t.window;
            showPage(w, editing::kPageJet1A);
            box(w, "CheckBoxAll_Uni")->setChecked(true);
            w.CheckBoxMouseUp();
            box(w, "CheckBoxZobrMs_Uni")->setChecked(true);
            w.CheckBoxTps_UniMouseUp();
            showPage(w, editing::kPageAdvance);
            QVERIFY(!box(w, "CheckBoxAll_Uni")->isChecked());
            w.close();
        }
        WindowUnderTest t(folder_.path());
        app::TFormHlav& w = t.window;
        QVERIFY(w.allFlags()[editing::kPageJet1A]);
        QVERIFY(!w.allFlags()[editing::kPageAdvance]);
        QVERIFY(box(w, "CheckBoxZobrMs_Uni")->isChecked());
        QCOMPARE(w.currentPage(), editing::kPageAdvance);
        showPage(w, editing::kPageJet1A);
        QVERIFY(box(w, "CheckBoxAll_Uni")->isChecked());
    }
};

QTEST_MAIN(WindowMapGridTest)
#include "window_map_grid_test.moc"
