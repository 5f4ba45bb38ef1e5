// Builds every page the way the window does and checks the bike, position,
// corrections, sensors and idle pages: every bound control exists with its
// kind, range and page, the table editors sit where their placements say,
// every text and live label finds its control on its page, nothing overlaps
// or sticks out, and captions, values and live texts fit in all four
// languages. Also the memo's length limit and the two-arrow spin button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../support/built_pages.h"
#include "editing/monitor_presenter.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "editing/widgets/bike_memo.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/mouse_up_check_box.h"
#include "editing/widgets/pages.h"
#include "editing/widgets/position_spin_button.h"
#include "editing/widgets/radio_group.h"
#include "i18n/messages.h"
#include "i18n/ui_texts.h"
#include "link/link_frame.h"
#include "link/monitor_decoder.h"
#include "model/default_set.h"
#include "model/parameter_image.h"

namespace zelvor::widgets {
namespace {

using editing::Binding;
using editing::ControlKind;
using testing::BuiltPages;
using testing::byParent;
using testing::expectInsideAndApart;
using testing::nameOf;

constexpr int kPagesUnderTest[] = {editing::kPageBike, editing::kPagePoloha, editing::kPageKorekce,
                                   editing::kPageCidla, editing::kPageIdle};

// Controls that show a caption, hint or items from the text tables.
const std::map<int, std::vector<std::string>> kTextControls = {
    {editing::kPageBike,
     {"GroupBoxBike",
      "LabelFile1",
      "LabelMemo",
      "GroupBoxOmez",
      "LabelStartLimiter",
      "LabelIgnLimiter",
      "LabelJetLimiter",
      "LabelRetardLimiterRpm",
      "LabelRetardLimiterAdv",
      "GroupBoxActivation",
      "CheckBoxAktStartLimiter",
      "CheckBoxAktClutchMaster",
      "CheckBoxAktRpm",
      "CheckBoxNoFuelInd",
      "GroupBoxChlazeni",
      "LabelFan1",
      "LabelFan2",
      "GroupBoxRpm",
      "LabelRpmPulsu",
      "LabelRpmKorekce",
      "RadioGroupPinEngine23",
      "RadioGroupPinEngine14",
      "RadioGroupPinBody11",
      "LabelVerze1",
      "LabelVerze2",
      "LabelVerze3"}},
    {editing::kPagePoloha,
     {"GroupBoxPolohaA", "LabelPolohaA_1", "LabelPolohaA_2", "RadioGroupPolohaA",
      "CheckBoxAll_PolohaA"}},
    {editing::kPageKorekce,
     {"GroupBoxSytic",
      "LabelSyticCas",
      "LabelSyticKorekce",
      "GroupBoxKorVodaVzduch",
      "LabelVoda2",
      "LabelVzduch2",
      "LabelVoda3",
      "GroupBoxIgnVoda",
      "GroupBoxAkcel",
      "LabelAkcelPrah",
      "LabelAkcelJet",
      "GroupBoxStartJet",
      "LabelStartJet",
      "LabelVoda_10",
      "LabelVoda20",
      "LabelVoda50",
      "LabelVoda80",
      "LabelVoda110",
      "Label8",
      "Label4",
      "Label7",
      "Label5",
      "Label6"}},
    {editing::kPageCidla,
     {"GroupApsSensor", "LabelApsTlak1", "LabelApsTlak2", "LabelApsNapeti1", "LabelApsNapeti2",
      "GroupBoxCidloTVodaVzduch", "Label36", "Label32", "Label35", "Label33", "Label34", "Label37",
      "Label38", "GroupBoxSetTps", "LabelTps0", "LabelTps100", "ButtonTps0", "ButtonTps100"}},
    {editing::kPageIdle,
     {"LabelIdleRpmMez", "LabelIdleTpsMez", "LabelIdleHyster", "LabelIdleStepPerioda",
      "LabelIdleAdvNaRpm", "LabelIdleAdvNaCas", "LabeldleMaxAdv", "RadioGroupIdleMode",
      "CheckBoxIdleSmerReg", "GroupBoxIdleRpmPoz", "LabelIdleRpmPoz1", "LabelIdleRpmPoz2",
      "LabelIdleRpmPoz3", "LabelIdleRpmPoz4", "LabelIdleRpmPoz5", "LabelIdleRpmPoz6"}},
};

// Labels that show live values (monitor read-outs, the unit's own data, the
// two fixed points of the starting correction that light up): they need a
// filled background to show their colours.
const std::map<int, std::vector<std::string>> kValueLabels = {
    {editing::kPageBike, {"LabelVerze1", "LabelVerze2", "LabelVerze3", "LabelPocetProgramovani"}},
    {editing::kPagePoloha, {"LabelMon_PolohaA"}},
    {editing::kPageKorekce,
     {"LabelSyticCas0", "LabelSyticKorekce4", "LabelKorVodaJet", "LabelKorTlak", "LabelKorVzduch",
      "LabelKorSytic", "LabelKorNapeti", "LabelKorVodaIgn", "LabelIdleKorAdv"}},
};

class PagesFirstTest : public ::testing::Test {
  protected:
    // The pages are built once for all tests and shown offscreen.
    static void SetUpTestSuite() {
        built_ = new BuiltPages;
        built_->window.show();
        built_->applyTexts(i18n::Language::English);
    }
    static void TearDownTestSuite() {
        delete built_;
        built_ = nullptr;
    }
    void SetUp() override { built_->applyTexts(i18n::Language::English); }

    // The registered widgets on a page, each once.
    static std::vector<QWidget*> controlsOn(int page) {
        return built_->registeredWidgetsIn({built_->pages->widget(page)});
    }

    static BuiltPages* built_;
};
BuiltPages* PagesFirstTest::built_ = nullptr;

TEST_F(PagesFirstTest, BoundControlsHaveTheirKindRangeAndPage) {
    for (int page : kPagesUnderTest) {
        for (const Binding& b : editing::pageBindings(page)) {
            SCOPED_TRACE(std::string(b.control) + "[" + std::to_string(b.element) + "]");
            QWidget* w = built_->widget(std::string(b.control), b.element);
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(built_->pages->widget(page)->isAncestorOf(w));
            switch (b.kind) {
                case ControlKind::Spinner: {
                    auto* box = qobject_cast<CommitSpinBox*>(w);
                    ASSERT_NE(box, nullptr);
                    EXPECT_EQ(built_->widget(std::string(b.edit), b.element), w);
                    EXPECT_EQ(box->minimum(), b.minimum);
                    EXPECT_EQ(box->maximum(), b.maximum);
                    EXPECT_EQ(box->singleStep(), b.step);
                    break;
                }
                case ControlKind::CheckBox:
                    EXPECT_NE(qobject_cast<MouseUpCheckBox*>(w), nullptr);
                    break;
                case ControlKind::RadioGroup: {
                    auto* group = qobject_cast<RadioGroup*>(w);
                    ASSERT_NE(group, nullptr);
                    EXPECT_EQ(group->items().size(), b.maximum + 1);
                    break;
                }
                case ControlKind::ComboBox: {
                    auto* combo = qobject_cast<QComboBox*>(w);
                    ASSERT_NE(combo, nullptr);
                    ASSERT_EQ(combo->count(), b.maximum + 1);
                    for (int i = 0; i < combo->count(); ++i) {
                        EXPECT_EQ(combo->itemText(i).toStdString(),
                                  model::kBikeNames[static_cast<std::size_t>(i)]);
                    }
                    break;
                }
                case ControlKind::Memo:
                    EXPECT_NE(qobject_cast<MemoEdit*>(w), nullptr);
                    break;
            }
        }
    }
}

TEST_F(PagesFirstTest, TableEditorsSitWhereTheirPlacementsSay) {
    for (int page : kPagesUnderTest) {
        for (const Binding& b : editing::pageBindings(page)) {
            if (!b.placement) continue;
            const editing::EditorPlacement& at = *b.placement;
            SCOPED_TRACE(std::string(b.control) + "[" + std::to_string(b.element) + "]");
            EXPECT_FALSE(built_->missingContainers.contains(QString::fromUtf8(at.parent.data())));
            QWidget* editor = built_->widget(std::string(b.control), b.element);
            QWidget* parent = built_->widget(std::string(at.parent));
            ASSERT_NE(editor, nullptr);
            ASSERT_NE(parent, nullptr);
            EXPECT_EQ(editor->parentWidget(), parent);
            int top = at.top;
            if (!at.topAnchor.empty()) {
                QWidget* anchor = built_->widget(std::string(at.topAnchor));
                ASSERT_NE(anchor, nullptr);
                EXPECT_EQ(anchor->parentWidget(), parent);
                top += anchor->y();
            }
            EXPECT_EQ(editor->pos(), QPoint(at.left, top));
            EXPECT_EQ(editor->width(), at.spinnerLeft + editing::kSpinnerWidth - at.left);
        }
    }
}

TEST_F(PagesFirstTest, TextControlsAndLiveLabelsAreOnTheirPages) {
    for (const auto& [page, names] : kTextControls) {
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            QWidget* w = built_->widget(name);
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(built_->pages->widget(page)->isAncestorOf(w));
        }
    }
    for (const auto& [page, names] : kValueLabels) {
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            auto* label = qobject_cast<QLabel*>(built_->widget(name));
            ASSERT_NE(label, nullptr);
            EXPECT_TRUE(built_->pages->widget(page)->isAncestorOf(label));
            EXPECT_TRUE(label->autoFillBackground());
        }
    }
    for (const char* name :
         {"LabelPocetProgramovani", "LabelMon_PolohaA", "LabelKorVodaJet", "LabelIdleKorAdv"}) {
        EXPECT_TRUE(editing::findMonitorLabel(name).has_value()) << name;
    }
    EXPECT_NE(built_->registry.find<TwoArrowSpinButton>("CSpinButtonPolohaA"), nullptr);
    EXPECT_NE(built_->registry.find<QLabel>("LabelFile2"), nullptr);
}

TEST_F(PagesFirstTest, SiblingsNeitherOverlapNorStickOut) {
    for (int page : kPagesUnderTest) {
        for (const auto& [parent, children] : byParent(controlsOn(page))) {
            const bool isPage = parent == built_->pages->widget(page);
            const QRect room = isPage                             ? QRect(QPoint(), kPageClientSize)
                               : qobject_cast<QGroupBox*>(parent) ? parent->contentsRect()
                                                                  : parent->rect();
            expectInsideAndApart(parent, children, room);
        }
    }
}

// Whether a widget's text fits it; a caption whose last blanks only pad it
// counts without them.
void expectTextFits(QWidget* w) {
    const std::string name = nameOf(w);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap()) {
            const QFontMetrics metrics(label->font());
            for (const QString& word : label->text().split(QLatin1Char(' '))) {
                EXPECT_LE(metrics.horizontalAdvance(word), label->contentsRect().width()) << name;
            }
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
        } else {
            EXPECT_LE(label->sizeHint().width(), label->width())
                << name << ": " << label->text().toStdString();
            EXPECT_LE(label->sizeHint().height(), label->height()) << name;
        }
    } else if (qobject_cast<QGroupBox*>(w) != nullptr) {
        EXPECT_LE(w->minimumSizeHint().width(), w->width()) << name;
        EXPECT_LE(w->minimumSizeHint().height(), w->height()) << name;
    } else if (qobject_cast<QAbstractButton*>(w) != nullptr) {
        EXPECT_LE(w->sizeHint().width(), w->width()) << name;
    }
}

TEST_F(PagesFirstTest, CaptionsAndItemsFitInEveryLanguage) {
    for (int language = 0; language < static_cast<int>(i18n::kLanguageCount); ++language) {
        SCOPED_TRACE("language " + std::to_string(language));
        built_->applyTexts(static_cast<i18n::Language>(language));
        for (int page : kPagesUnderTest) {
            built_->show(page);
            for (QWidget* w : controlsOn(page)) expectTextFits(w);
        }
    }
}

TEST_F(PagesFirstTest, SpinBoxesShowTheirWidestValue) {
    for (int page : kPagesUnderTest) {
        built_->show(page);
        for (QWidget* w : controlsOn(page)) {
            auto* box = qobject_cast<QSpinBox*>(w);
            if (box == nullptr) continue;
            auto* edit = box->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            const QFontMetrics metrics(edit->font());
            for (int value : {box->minimum(), box->maximum()}) {
                const QString text = box->locale().toString(value);
                // The line edit keeps 2 px free at each side.
                EXPECT_LE(metrics.horizontalAdvance(text) + 4, edit->width())
                    << nameOf(box) << " cuts " << text.toStdString();
            }
        }
    }
}

TEST_F(PagesFirstTest, LiveTextsFitTheirLabels) {
    std::vector<std::string> live;
    for (const auto& entry : kValueLabels) {
        for (const std::string& name : entry.second) {
            if (editing::findMonitorLabel(name)) live.push_back(name);
        }
    }
    model::ParameterImage image;
    link::LinkFrame lowest = link::LinkFrame::make(link::LinkFrame::kMonitorAnswer);
    std::array<std::uint8_t, link::LinkFrame::kDataSize> high{};
    high.fill(0xFF);
    link::LinkFrame highest = link::LinkFrame::make(link::LinkFrame::kMonitorAnswer, high);
    for (int language = 0; language < static_cast<int>(i18n::kLanguageCount); ++language) {
        const i18n::MessageTable messages(static_cast<i18n::Language>(language));
        link::MonitorDecoder decoder;
        editing::MonitorPresenter presenter(image, messages);
        std::vector<editing::MonitorView> views;
        for (const link::LinkFrame* frame : {&lowest, &highest}) {
            ASSERT_TRUE(decoder.decode(frame->bytes()));
            presenter.present(decoder);
            views.push_back(presenter.view());
        }
        editing::applyNoConnectionPlaceholders(views.emplace_back(), messages);
        for (const editing::MonitorView& view : views) {
            for (const std::string& name : live) {
                const std::string& text = view[*editing::findMonitorLabel(name)].text;
                if (text.empty()) continue;
                auto* label = built_->registry.find<QLabel>(name);
                label->setText(QString::fromStdString(text));
                EXPECT_LE(label->sizeHint().width(), label->width()) << name << ": " << text;
            }
        }
    }
    // The unit's identification (up to 30 characters), date and time.
    const std::pair<const char*, const char*> unit[] = {
        {"LabelVerze1", "ZELVOR IGNITION N3 LAMBDA V.63"},
        {"LabelVerze2", "31.12.2008"},
        {"LabelVerze3", "23:59:59"}};
    for (const auto& [name, text] : unit) {
        auto* label = built_->registry.find<QLabel>(name);
        label->setText(QString::fromLatin1(text));
        EXPECT_LE(label->sizeHint().width(), label->width()) << name;
    }
}

TEST_F(PagesFirstTest, TabPassesThePositionRadioGroupByButMouseStillPicks) {
    QWidget* page = built_->show(editing::kPagePoloha);
    auto* group = built_->registry.find<RadioGroup>("RadioGroupPolohaA");
    ASSERT_NE(group, nullptr);
    QApplication::setActiveWindow(&built_->window);
    QWidget* first = nullptr;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && !group->isAncestorOf(w)) {
            first = w;
            break;
        }
    }
    ASSERT_NE(first, nullptr);
    first->setFocus(Qt::OtherFocusReason);
    // Round the whole window's focus chain, forwards and back.
    std::set<QWidget*> visited;
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        for (int press = 0; press < 400; ++press) {
            QWidget* focused = built_->window.focusWidget();
            ASSERT_NE(focused, nullptr);
            visited.insert(focused);
            EXPECT_FALSE(group->isAncestorOf(focused))
                << "Tab reached a " << focused->metaObject()->className();
            QTest::keyClick(focused, key);
        }
    }
    EXPECT_GT(visited.size(), 20u);  // the chain was really walked

    const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    // On the round indicator: a radio button takes clicks on it and its text only.
    QApplication::processEvents();
    QTest::mouseClick(buttons[2], Qt::LeftButton, {}, QPoint(8, buttons[2]->height() / 2));
    EXPECT_EQ(group->itemIndex(), 2);
}

TEST_F(PagesFirstTest, MemoShowsThirteenLinesBeforeItScrolls) {
    built_->show(editing::kPageBike);
    auto* memo = built_->registry.find<MemoEdit>("Memo1");
    ASSERT_NE(memo, nullptr);
    QStringList lines;
    for (int i = 1; i <= 13; ++i) lines << QStringLiteral("Line %1").arg(i);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    QApplication::processEvents();
    EXPECT_EQ(memo->verticalScrollBar()->maximum(), 0);
    memo->setPlainText(lines.join(QLatin1Char('\n')) + QStringLiteral("\nLine 14"));
    QApplication::processEvents();
    EXPECT_GT(memo->verticalScrollBar()->maximum(), 0);
    memo->clear();
}

TEST(MemoEditTest, PastedTextIsCutToWhatTheImageHolds) {
    MemoEdit memo;
    memo.insertPlainText(QString(250, QLatin1Char('a')));
    EXPECT_EQ(memo.toPlainText(), QString(199, QLatin1Char('a')));

    // A line break takes two bytes (CR LF) in the image.
    memo.clear();
    const QString lines = QStringLiteral("x") + QStringLiteral("ab\n").repeated(50);
    memo.insertPlainText(lines);
    EXPECT_EQ(MemoEdit::storedLength(memo.toPlainText()), 199);
    EXPECT_TRUE(lines.startsWith(memo.toPlainText()));
}

TEST(MemoEditTest, InsertingAtTheLimitKeepsTheTextAroundIt) {
    MemoEdit memo;
    const QString full = QString(100, QLatin1Char('a')) + QString(98, QLatin1Char('b'));
    memo.setPlainText(full);
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(100);
    memo.setTextCursor(cursor);
    memo.insertPlainText(QStringLiteral("XYZ"));
    EXPECT_EQ(memo.toPlainText(),
              QString(100, QLatin1Char('a')) + QStringLiteral("X") + QString(98, QLatin1Char('b')));
    QTest::keyClicks(&memo, QStringLiteral("more"));
    EXPECT_EQ(MemoEdit::storedLength(memo.toPlainText()), 199);
    EXPECT_TRUE(memo.toPlainText().endsWith(QString(98, QLatin1Char('b'))));
    // Undo takes back the insertion and its cut as one step.
    memo.undo();
    EXPECT_LE(MemoEdit::storedLength(memo.toPlainText()), 199);
}

TEST(MemoEditTest, ReportsAKeyBeforeApplyingIt) {
    MemoEdit memo;
    memo.setPlainText(QStringLiteral("ab"));
    memo.moveCursor(QTextCursor::End);
    QStringList seen;
    QObject::connect(&memo, &MemoEdit::keyPressed, [&] { seen << memo.toPlainText(); });
    QTest::keyClicks(&memo, QStringLiteral("cd"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("ab"), QStringLiteral("abc")}));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("abcd"));
}

TEST(MemoEditTest, CharactersTheCodePageLacksAreRefusedHoweverTheyArrive) {
    MemoEdit memo;
    memo.setCodePage(editing::CodePage::Windows1252);
    QStringList refused;
    QObject::connect(&memo, &MemoEdit::charactersRefused,
                     [&](const QString& characters) { refused << characters; });
    memo.setPlainText(QStringLiteral("ab"));
    memo.moveCursor(QTextCursor::End);
    EXPECT_TRUE(refused.isEmpty());

    // An input method commits its text without a key press.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("č\U0001F600é"));
    QApplication::sendEvent(&memo, &commit);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("abé"));
    EXPECT_EQ(refused, QStringList{QStringLiteral("č\U0001F600")});

    const auto typeR = [&memo] {
        QTest::sendKeyEvent(QTest::Click, &memo, static_cast<Qt::Key>(0x158), QStringLiteral("ř"),
                            Qt::NoModifier);
    };
    typeR();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("abé"));
    EXPECT_EQ(refused.last(), QStringLiteral("ř"));
    memo.setCodePage(editing::CodePage::Windows1250);
    typeR();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("abéř"));
    EXPECT_EQ(refused.size(), 2);
}

TEST(TwoArrowSpinButtonTest, ArrowsSignalTheirDirection) {
    TwoArrowSpinButton steps;
    steps.setGeometry(0, 0, 20, 30);
    steps.show();
    int ups = 0;
    int downs = 0;
    QObject::connect(&steps, &TwoArrowSpinButton::up, [&] { ++ups; });
    QObject::connect(&steps, &TwoArrowSpinButton::down, [&] { ++downs; });
    EXPECT_LT(steps.upButton()->geometry().bottom(), steps.downButton()->geometry().top());
    QTest::mouseClick(steps.upButton(), Qt::LeftButton);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 0);
    QTest::mouseClick(steps.downButton(), Qt::LeftButton);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 1);
}

// A lookup by a name nobody registered says so, so that a table naming a
// control that was never built shows up; asking whether a control was built
// stays silent.
TEST(ControlRegistry, ReportsALookupOfAMissingName) {
    static QStringList warnings;
    warnings.clear();
    ControlRegistry registry;
    QLabel label;
    registry.add("LabelKnown", &label);
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtWarningMsg) warnings << text;
        });
    EXPECT_EQ(registry.find<QLabel>("LabelKnown"), &label);
    EXPECT_EQ(registry.objectIfAny("LabelMissing"), nullptr);
    EXPECT_EQ(registry.objectIfAny("LabelKnown", 0), nullptr);
    const bool silentSoFar = warnings.isEmpty();
    EXPECT_EQ(registry.object("LabelMissing"), nullptr);
    EXPECT_EQ(registry.find<QLabel>("LabelKnown", 3), nullptr);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(silentSoFar);
    EXPECT_EQ(warnings,
              (QStringList{QStringLiteral("Control registry: no control named LabelMissing"),
                           QStringLiteral("Control registry: no control named LabelKnown[3]")}));
}

}  // namespace
}  // namespace zelvor::widgets

int main(int argc, char** argv) {
    return zelvor::testing::runTestsInApplication(argc, argv);
}
