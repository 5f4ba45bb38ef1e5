// Thousands of inputs as a person gives them, in a fixed random order, on
// the window connected to the simulated unit: tab clicks, arrow clicks,
// clicks into fields, typed digits, Enter, Tab, wheel notches, Ctrl+Z,
// Ctrl+Alt+Z and F4/F5. After every input the image may differ from before
// only in the fields that input aimed at (and what the range rules derive
// from them), it stays within its ranges, and undo and redo walk exactly the
// states the inputs made. Each round ends by undoing back to its start.
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "../support/real_input.h"
#include "../support/window_fixture.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "editing/undo_ring.h"
#include "editing/widgets/commit_spin_box.h"
#include "model/field_table.h"
#include "model/injection.h"
#include "model/sanitizer.h"

using namespace zelvor;
using model::Field;
using widgets::CommitSpinBox;
using zelvor::testing::WindowUnderTest;

namespace {

constexpr unsigned kRandomStart = 20261209;
constexpr int kRounds = 20;
constexpr int kInputsPerRound = 150;  // fewer changes than the undo history holds

using Bytes = std::set<std::size_t>;

void addField(Bytes& bytes, Field field, std::size_t index) {
    const model::FieldDescriptor& d = model::descriptor(field);
    for (std::size_t b = 0; b < d.elementSize(); ++b) bytes.insert(d.offsetOf(index) + b);
}

// Which image bytes an edit of a control may change, by page.
class AimTable {
  public:
    explicit AimTable(app::TFormHlav& w) : window_(w) {
        for (const editing::Binding& b : editing::allBindings()) {
            if (b.kind != editing::ControlKind::Spinner) continue;
            addField(pageControls_[w.controls().object(b.control, b.element)], b.field,
                     b.fieldIndex);
        }
        cells_ = w.controls().object("MapCells_Uni");
        for (int c = 0; c < model::kMapColumns; ++c)
            axis_[w.controls().object("EditRpm_Uni", c)] = c;
        extras_[w.controls().object("EditBaseAdv_Uni")] = Field::ADVANCE_MISC_BaseAdv;
        extras_[w.controls().object("EditCylKor1_Uni")] = Field::ADVANCE_MISC_CylKor1;
        extras_[w.controls().object("EditCylKor2_Uni")] = Field::ADVANCE_MISC_CylKor2;
    }

    void add(Bytes& bytes, const QObject* control, int page) const {
        if (auto it = pageControls_.find(control); it != pageControls_.end()) {
            bytes.insert(it->second.begin(), it->second.end());
        } else if (control == cells_) {
            // The cells are one widget: any of them.
            addMap(bytes, page);
        } else if (auto axis = axis_.find(control); axis != axis_.end()) {
            addAxis(bytes, page, static_cast<std::size_t>(axis->second));
        } else if (auto extra = extras_.find(control); extra != extras_.end()) {
            addField(bytes, extra->second, 0);
        }
    }

    // Every cell of the page's map: what F4/F5 may step.
    void addMap(Bytes& bytes, int page) const {
        for (std::size_t k = 0; k < model::kMapCells; ++k) addCell(bytes, page, k);
        if (page == editing::kPagePoloha) {
            for (std::size_t i = 0; i < 15; ++i) addField(bytes, Field::POSITION_A_Angle, i);
        }
    }

  private:
    bool coupled() const { return model::isCoupled(window_.image()); }

    void addCell(Bytes& bytes, int page, std::size_t k) const {
        if (page == editing::kPageAdvance) addField(bytes, Field::ADVANCE_Cell, k);
        if (page == editing::kPageJet1A) {
            addField(bytes, Field::JET_1A_Cell, k);
            if (coupled()) addField(bytes, Field::JET_2A_Cell, k);
        }
        if (page == editing::kPageJet2A) addField(bytes, Field::JET_2A_Cell, k);
    }

    // A moved axis point moves the base times, and so the times, of its column.
    void addAxis(Bytes& bytes, int page, std::size_t c) const {
        if (page == editing::kPageAdvance) addField(bytes, Field::RPM_ADV_Rpm, c);
        if (page == editing::kPageJet1A || page == editing::kPageJet2A) {
            const bool both = page == editing::kPageJet1A && coupled();
            if (page == editing::kPageJet1A) addField(bytes, Field::RPM_JET_1A_Rpm, c);
            if (page == editing::kPageJet2A || both) addField(bytes, Field::RPM_JET_2A_Rpm, c);
            for (std::size_t r = 0; r < model::kMapRows; ++r) {
                const std::size_t k = r * model::kMapColumns + c;
                if (page == editing::kPageJet1A) addField(bytes, Field::JET_1A_Cell, k);
                if (page == editing::kPageJet2A || both) addField(bytes, Field::JET_2A_Cell, k);
            }
        }
    }

    app::TFormHlav& window_;
    std::map<const QObject*, Bytes> pageControls_;
    const QObject* cells_ = nullptr;
    std::map<const QObject*, int> axis_;
    std::map<const QObject*, Field> extras_;
};

// The image before, with the aimed bytes taken from after and the range
// rules applied, must be the image after: nothing else may have moved.
bool changedOnlyWhereAimed(const model::ParameterImage& before, const model::ParameterImage& after,
                           const Bytes& aimed) {
    model::ParameterImage expected = before;
    for (std::size_t b : aimed) expected.bytes()[b] = after.bytes()[b];
    model::sanitize(expected);
    return expected == after;
}

QString differences(const model::ParameterImage& a, const model::ParameterImage& b) {
    QStringList offsets;
    for (std::size_t i = 0; i < model::ParameterImage::kSize; ++i) {
        if (a.bytes()[i] != b.bytes()[i]) {
            offsets << QStringLiteral("%1:%2->%3").arg(i).arg(a.bytes()[i]).arg(b.bytes()[i]);
        }
    }
    return offsets.join(QLatin1Char(' '));
}

}  // namespace

class WindowRandomInputTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    enum class Input {
        TabClick,
        ArrowClick,
        ClickText,
        Digits,
        Enter,
        Tab,
        Wheel,
        Undo,
        Redo,
        Tool
    };

  private slots:
    void randomInputChangesOnlyWhatItAims() {
        app::StartOptions options;
        options.simulate = true;
        WindowUnderTest t(folder_.path(), options);
        app::TFormHlav& w = t.window;
        zelvor::testing::showActive(w);
        QVERIFY(w.simulator() != nullptr);
        const AimTable aims(w);
        std::mt19937 random(kRandomStart);
        const auto pick = [&](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(random);
        };
        const int weights[] = {6, 14, 10, 10, 6, 6, 8, 5, 3, 4};
        std::discrete_distribution<int> inputs(std::begin(weights), std::end(weights));

        // Boxes holding typed text not yet taken into the image: a commit of
        // their page takes them, a page change drops them.
        std::set<CommitSpinBox*> typed;
        const auto visibleBoxes = [&] {
            std::vector<CommitSpinBox*> boxes;
            for (CommitSpinBox* box :
                 w.pageControl()->currentWidget()->findChildren<CommitSpinBox*>()) {
                if (box->isVisible() && box->isEnabled() && box->focusPolicy() != Qt::NoFocus) {
                    boxes.push_back(box);
                }
            }
            return boxes;
        };
        const auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
            QWidget* target = QApplication::focusWidget();
            QTest::keyClick(target != nullptr ? target : static_cast<QWidget*>(&w), k, modifiers);
        };

        int total = 0;
        int depth = 0;  // undo steps the window's history should hold
        for (int round = 0; round < kRounds; ++round) {
            const model::ParameterImage roundStart = w.image();
            std::vector<model::ParameterImage> history{roundStart};
            std::size_t position = 0;
            const auto record = [&] {
                if (w.image() == history[position]) return;
                history.resize(position + 1);
                history.push_back(w.image());
                position = history.size() - 1;
                depth = std::min(depth + 1, editing::UndoRing::kSlotCount - 1);
            };
            for (int i = 0; i < kInputsPerRound; ++i, ++total) {
                const model::ParameterImage before = w.image();
                const int page = w.currentPage();
                Bytes aimed;
                for (const CommitSpinBox* box : typed) aims.add(aimed, box, page);
                auto input = static_cast<Input>(inputs(random));
                // Undo with typed text pending has a test of its own; here the
                // history only moves between states this test has seen.
                if (input == Input::Undo && (!typed.empty() || position == 0)) input = Input::Enter;
                if (input == Input::Redo && (!typed.empty() || position + 1 == history.size())) {
                    input = Input::Tab;
                }
                const std::vector<CommitSpinBox*> boxes = visibleBoxes();
                CommitSpinBox* box = boxes.empty() ? nullptr : boxes[pick(int(boxes.size()))];
                QWidget* focus = QApplication::focusWidget();
                // Leaving a field with typed text is a step of its own before
                // the step of a click elsewhere: here it is taken by Tab, so
                // that every input makes at most one step to undo.
                auto* focusBox = qobject_cast<CommitSpinBox*>(focus);
                const bool leaveBox =
                    focusBox != nullptr && focusBox->commitOn() == CommitSpinBox::CommitOn::Leave;
                // (A field left commits its page, with every value typed on it.)
                if (leaveBox && focusBox != box && !typed.empty() &&
                    (input == Input::ArrowClick || input == Input::ClickText)) {
                    input = Input::Tab;
                }
                const int valueBefore = box != nullptr ? box->value() : 0;
                // Whether the input runs a commit of the page (which takes
                // every typed value of the page) or a page change.
                bool takesTyped = false;
                QString what;
                bool walksHistory = false;
                switch (input) {
                    case Input::TabClick: {
                        int next = pick(editing::kPageCount);
                        if (!w.pageControl()->isTabVisible(next)) next = editing::kPageBike;
                        zelvor::testing::clickTab(w.pageControl(), next);
                        what = QStringLiteral("tab %1").arg(next);
                        takesTyped = next != page;  // the tab on show changes nothing
                        break;
                    }
                    case Input::ArrowClick:
                        if (box == nullptr) continue;
                        aims.add(aimed, box, page);
                        zelvor::testing::clickArrow(box, pick(2) == 0);
                        what = QStringLiteral("arrow %1").arg(box->objectName());
                        // An arrow at its limit does nothing; a field left commits.
                        takesTyped = box->value() != valueBefore || (leaveBox && focusBox != box);
                        break;
                    case Input::ClickText:
                        if (box == nullptr) continue;
                        zelvor::testing::clickText(box);
                        what = QStringLiteral("click %1").arg(box->objectName());
                        takesTyped = box->commitOn() == CommitSpinBox::CommitOn::Click ||
                                     (leaveBox && focusBox != box);
                        if (takesTyped) aims.add(aimed, box, page);
                        break;
                    case Input::Digits: {
                        auto* field = qobject_cast<CommitSpinBox*>(focus);
                        if (field == nullptr) continue;
                        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                        const QString digits = QString::number(pick(30000));
                        QTest::keyClicks(field, digits.left(1 + pick(int(digits.size()))));
                        typed.insert(field);
                        what = QStringLiteral("type into %1").arg(field->objectName());
                        break;
                    }
                    case Input::Enter:
                    case Input::Tab:
                        if (focus == nullptr) continue;
                        aims.add(aimed, focus, page);
                        key(input == Input::Enter ? Qt::Key_Return : Qt::Key_Tab);
                        takesTyped = input == Input::Enter ? focusBox != nullptr : leaveBox;
                        if (input == Input::Enter && !takesTyped) {
                            const QString name = focus->objectName();
                            takesTyped = name == QLatin1String("ComboBoxBike") ||
                                         name == QLatin1String("CheckBoxGas") ||
                                         name == QLatin1String("CheckBoxTempDisplay");
                        }
                        what = QStringLiteral("%1 in %2")
                                   .arg(input == Input::Enter ? "Enter" : "Tab")
                                   .arg(focus->objectName());
                        break;
                    case Input::Wheel:
                        if (box == nullptr) continue;
                        if (box->hasFocus()) aims.add(aimed, box, page);
                        zelvor::testing::wheelOver(box,
                                                   pick(2) == 0 ? 1 : -1);  // a notch is a step
                        takesTyped = box->value() != valueBefore;
                        what = QStringLiteral("wheel %1").arg(box->objectName());
                        break;
                    case Input::Undo:
                    case Input::Redo:
                        key(Qt::Key_Z, input == Input::Undo
                                           ? Qt::ControlModifier
                                           : Qt::ControlModifier | Qt::AltModifier);
                        what = input == Input::Undo ? QStringLiteral("Ctrl+Z")
                                                    : QStringLiteral("Ctrl+Alt+Z");
                        walksHistory = true;
                        if (input == Input::Undo) {
                            --position;
                            --depth;
                        } else {
                            ++position;
                            ++depth;
                        }
                        break;
                    case Input::Tool:
                        aims.addMap(aimed, page);
                        key(pick(2) == 0 ? Qt::Key_F4 : Qt::Key_F5);
                        what = QStringLiteral("F4/F5");
                        break;
                }
                t.ticks(1);
                if (takesTyped || w.currentPage() != page) typed.clear();
                const QString where = QStringLiteral("input %1 (%2) on page %3: %4")
                                          .arg(total)
                                          .arg(what)
                                          .arg(page)
                                          .arg(differences(before, w.image()));
                if (qEnvironmentVariableIsSet("ZELVOR_TRACE")) {
                    qInfo("%s [steps %d]", qPrintable(where), w.pipeline().undoSteps());
                }
                model::ParameterImage sanitized = w.image();
                model::sanitize(sanitized);
                QVERIFY2(sanitized == w.image(), qPrintable(where));
                if (walksHistory) {
                    QVERIFY2(w.image() == history[position], qPrintable(where));
                } else {
                    QVERIFY2(changedOnlyWhereAimed(before, w.image(), aimed), qPrintable(where));
                    record();
                }
                // Every input is one step to undo at most (the history keeps
                // the last 199).
                QVERIFY2(w.pipeline().undoSteps() == depth, qPrintable(where));
            }
            // Typed text left standing is taken by leaving the page.
            zelvor::testing::clickTab(w.pageControl(), w.currentPage() == 0 ? 5 : 0);
            record();
            // Back to the start of the round, step by step, and forward again.
            depth -= static_cast<int>(position);
            for (std::size_t p = position; p > 0; --p) {
                key(Qt::Key_Z, Qt::ControlModifier);
                QVERIFY2(w.image() == history[p - 1],
                         qPrintable(QStringLiteral("undo to step %1 of %2 in round %3: %4")
                                        .arg(p - 1)
                                        .arg(position)
                                        .arg(round)
                                        .arg(differences(history[p - 1], w.image()))));
            }
            QVERIFY(w.image() == roundStart);
            for (std::size_t p = 1; p < history.size(); ++p) {
                key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
            }
            QVERIFY(w.image() == history.back());
            depth += static_cast<int>(history.size()) - 1;
            QCOMPARE(w.pipeline().undoSteps(), depth);
        }
    }
};

QTEST_MAIN(WindowRandomInputTest)
#include "window_random_input_test.moc"
