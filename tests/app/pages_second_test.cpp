// Builds every page and the live panel the way the window does and checks the
// N2O, race, gear and monitor pages and the live panel: every bound control
// exists with its kind and range, the table editors find their group boxes,
// every text finds its control, nothing overlaps or sticks out, and every
// caption and every live text fits in all four languages.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../support/built_pages.h"
#include "editing/monitor_presenter.h"
#include "editing/page_bindings.h"
#include "editing/page_index.h"
#include "editing/view_rules.h"
#include "editing/widgets/colours.h"
#include "editing/widgets/commit_spin_box.h"
#include "editing/widgets/mouse_up_check_box.h"
#include "editing/widgets/pages.h"
#include "editing/widgets/radio_group.h"
#include "editing/widgets/ui_text_applier.h"
#include "i18n/messages.h"
#include "i18n/ui_texts.h"
#include "link/link_frame.h"
#include "link/monitor_decoder.h"
#include "model/parameter_image.h"

namespace zelvor::widgets {
namespace {

using editing::Binding;
using editing::ControlKind;
using testing::byParent;
using testing::expectInsideAndApart;
using testing::nameOf;

constexpr const char* kLivePanel = "live panel";

// The window's pages and live panel, built once for all tests.
struct BuiltWindow : testing::BuiltPages {
    QWidget* panel = nullptr;

    BuiltWindow() {
        panel = new QWidget(&window);
        panel->setGeometry(4, 532, kLivePanelSize.width(), kLivePanelSize.height());
        buildLivePanel(panel, factory);
        applyUiTexts(registry, i18n::fixedUiTexts());
        // A spin box lays out its line edit only once it is shown: show every
        // page once.
        window.show();
        for (int i = 0; i < pages->count(); ++i) show(i);
    }
};

QString qs(std::string_view text) {
    return ControlRegistry::toQString(text);
}

std::vector<std::string> numbered(std::string_view stem, int first, int last) {
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i) names.push_back(std::string(stem) + std::to_string(i));
    return names;
}

// The controls of these pages that take a caption, a title or items from
// the text tables, by the page (or the live panel) they must sit on.
std::map<std::string, std::vector<std::string>> textedControls() {
    std::map<std::string, std::vector<std::string>> byContainer = {
        {"TabSheet_Gas",
         {"CheckBoxGas", "GroupBoxGas", "LabelGas1", "LabelGas2", "LabelGasD", "LabelGasT",
          "GroupBoxRetard", "LabelRetard1", "LabelRetard2", "LabelRetardD", "LabelRetardT"}},
        {"TabSheet_Race",
         {"GroupBoxClutch", "LabelPilotLight", "LabelClutchTime", "LabelClutchPause",
          "RadioGroupClutchMode", "LabelClutchMinRpm", "LabelClutchJet", "LabelClutchAdv",
          "GroupBoxDisplay", "CheckBoxTempDisplay"}},
        {"TabSheet_Gear",
         {"LabelPocetGear", "RadioGroupGearSystem", "GroupBoxRpmSpeedProGear",
          "LabelPomerRpmSpeed0", "LabelMonPomerRpmSpeed", "GroupBoxGearKor", "Label24", "Label25",
          "GroupBoxMonAutoGear", "Label51", "LabelGearAutoTime", "LabelGearAutoRpm",
          "LabelGearAutoTps", "LabelGearAutoBand", "GroupBoxPulsuProSpeed", "RadioGroupSpeedMode"}},
        {"TabSheet_Monitor",
         {"GroupBoxMonInput", "GroupBox1", "GroupBox4", "LabelEeDataErr", "LabelMonPilotLight"}},
        {kLivePanel, {"LabelSpojeni", "CheckBoxProgHned", "CheckBoxExtMonitor"}},
    };
    for (const auto& stem : {"LabelRaceGear"}) {
        for (auto& name : numbered(stem, 1, 6)) byContainer["TabSheet_Race"].push_back(name);
    }
    for (const auto& stem :
         {"LabelPomerRpmSpeed", "LabelGearKor", "ButtonGear", "LabelMonGearAuto"}) {
        for (auto& name : numbered(stem, 1, 6)) byContainer["TabSheet_Gear"].push_back(name);
    }
    return byContainer;
}

// Monitor labels that sit on the other pages (bike, position, corrections,
// idle); every other monitor control lives on these pages or the panel.
const std::set<std::string_view> kMonitorLabelsElsewhere = {
    "LabelPocetProgramovani", "LabelMon_PolohaA", "LabelKorVodaJet",
    "LabelKorTlak",           "LabelKorVzduch",   "LabelKorSytic",
    "LabelKorNapeti",         "LabelKorVodaIgn",  "LabelIdleKorAdv"};

// Live texts at their widest: every state bit set and clear, large but
// possible readings, sensor faults, a unit of another version, in normal
// and detailed display, and the placeholders shown without a connection.
std::vector<editing::MonitorView> liveTextSamples(i18n::Language language) {
    std::vector<editing::MonitorView> views;
    model::ParameterImage image;
    image.bytes()[29] = 250;  // full scale of the engine speed gauge
    const i18n::MessageTable messages(language);
    editing::MonitorView placeholders;
    editing::applyNoConnectionPlaceholders(placeholders, messages);
    views.push_back(placeholders);

    for (bool extended : {false, true}) {
        for (std::uint8_t bits : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
            for (std::uint8_t temperatures : {std::uint8_t{0}, std::uint8_t{255}}) {
                link::LinkFrame frame = link::LinkFrame::make(link::LinkFrame::kMonitorAnswer);
                auto& b = frame.bytes();
                for (std::size_t i = 1; i <= 4; ++i) b[i] = bits;
                b[9] = 100;
                b[10] = b[11] = 60;
                b[14] = b[15] = 255;
                b[23] = b[24] = temperatures;
                b[25] = 6;
                b[27] = 1;
                b[28] = 9;
                for (std::size_t at : {44, 46, 50, 56, 58, 60, 62}) frame.setWord(at, 4999);
                frame.setWord(48, 25000);
                frame.setWord(52, 2500);
                frame.setWord(64, 19999);
                for (std::size_t at = 76; at <= 92; at += 2) frame.setWord(at, 65535);
                frame.setWord(116, 399);
                for (std::size_t at = 120; at <= 132; at += 2) frame.setWord(at, 32000);
                b[150] = 255;
                frame.seal();
                link::MonitorDecoder decoder;
                editing::MonitorPresenter presenter(image, messages);
                presenter.setOptions({.extendedMonitor = extended, .gasTicked = true});
                // Twice, so the duty uses a previous engine speed.
                decoder.decode(frame.bytes());
                decoder.decode(frame.bytes());
                presenter.present(decoder);
                views.push_back(presenter.view());
            }
        }
    }
    return views;
}

constexpr std::array<i18n::Language, 4> kLanguages = {
    i18n::Language::English, i18n::Language::German, i18n::Language::French, i18n::Language::Czech};

// Why a label's text does not fit, or empty when it fits.
std::string labelOverflow(const QLabel* label) {
    const QString text = label->text();
    if (text.isEmpty()) return {};
    const QFontMetrics metrics(label->font());
    QRect room = label->contentsRect();
    const int margin = label->margin();
    room.adjust(margin, margin, -margin, -margin);
    int indent = label->indent();
    if (indent < 0)
        indent = label->frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    room.setWidth(room.width() - indent);
    const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, text);
    if (needed.width() <= room.width() && needed.height() <= room.height()) return {};
    return nameOf(label) + " \"" + text.toStdString() + "\" needs " +
           std::to_string(needed.width()) + "x" + std::to_string(needed.height()) + ", has " +
           std::to_string(room.width()) + "x" + std::to_string(room.height());
}

std::string spinOverflow(const QSpinBox* box) {
    const QLineEdit* edit = box->findChild<QLineEdit*>();
    // A line edit keeps two pixels free on each side of its text.
    const int room = edit->contentsRect().width() - 4;
    const QFontMetrics metrics(edit->font());
    for (int value : {box->minimum(), box->maximum()}) {
        const QString text = box->locale().toString(value);
        if (metrics.horizontalAdvance(text) > room) {
            return nameOf(box) + " \"" + text.toStdString() + "\" needs " +
                   std::to_string(metrics.horizontalAdvance(text)) + ", has " +
                   std::to_string(room);
        }
    }
    return {};
}

class SecondPagesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { built = std::make_unique<BuiltWindow>(); }
    static void TearDownTestSuite() { built.reset(); }

    static QWidget* page(int index) { return built->pages->widget(index); }
    static QWidget* container(const std::string& name) {
        return name == kLivePanel ? built->panel : built->registry.find<QWidget>(name);
    }
    static std::vector<QWidget*> containers() {
        return {page(editing::kPageGas), page(editing::kPageRace), page(editing::kPageGear),
                page(editing::kPageMonitor), built->panel};
    }
    // Inside one of the pages or the panel (not the page itself).
    static bool onThesePages(const QWidget* widget) {
        for (QWidget* c : containers()) {
            if (c != widget && c->isAncestorOf(widget)) return true;
        }
        return false;
    }
    // Every registered widget on these pages and the panel, once each.
    static std::vector<QWidget*> registeredWidgets() {
        return built->registeredWidgetsIn(containers());
    }
    static void applyLanguage(i18n::Language language) { built->applyTexts(language); }

    static std::unique_ptr<BuiltWindow> built;
};

std::unique_ptr<BuiltWindow> SecondPagesTest::built;

TEST_F(SecondPagesTest, BoundControlsHaveTheirKindRangeAndPage) {
    for (int pageIndex : {editing::kPageGas, editing::kPageRace, editing::kPageGear}) {
        for (const Binding& binding : editing::pageBindings(pageIndex)) {
            const std::string name =
                std::string(binding.control) + "[" + std::to_string(binding.element) + "]";
            QObject* object = built->registry.object(binding.control, binding.element);
            ASSERT_NE(object, nullptr) << name;
            EXPECT_TRUE(page(pageIndex)->isAncestorOf(qobject_cast<QWidget*>(object))) << name;
            switch (binding.kind) {
                case ControlKind::Spinner: {
                    auto* box = qobject_cast<CommitSpinBox*>(object);
                    ASSERT_NE(box, nullptr) << name;
                    EXPECT_EQ(box->minimum(), binding.minimum) << name;
                    EXPECT_EQ(box->maximum(), binding.maximum) << name;
                    EXPECT_EQ(box->singleStep(), binding.step) << name;
                    EXPECT_EQ(built->registry.object(binding.edit, binding.element), object)
                        << name;
                    if (binding.startPosition) {
                        EXPECT_EQ(box->value(), *binding.startPosition) << name;
                    }
                    break;
                }
                case ControlKind::CheckBox:
                    EXPECT_NE(qobject_cast<MouseUpCheckBox*>(object), nullptr) << name;
                    break;
                case ControlKind::RadioGroup: {
                    auto* group = qobject_cast<RadioGroup*>(object);
                    ASSERT_NE(group, nullptr) << name;
                    EXPECT_EQ(group->items().size(), binding.maximum + 1) << name;
                    break;
                }
                default:
                    ADD_FAILURE() << name << " is bound as a kind these pages do not have";
            }
        }
    }
}

TEST_F(SecondPagesTest, TableEditorsFindTheirGroupBoxes) {
    int editors = 0;
    for (int pageIndex : {editing::kPageRace, editing::kPageGear}) {
        for (const Binding& binding : editing::pageBindings(pageIndex)) {
            if (!binding.placement) continue;
            ++editors;
            const std::string parentName(binding.placement->parent);
            EXPECT_FALSE(built->missingContainers.contains(qs(parentName))) << parentName;
            auto* parent = built->registry.find<QGroupBox>(parentName);
            ASSERT_NE(parent, nullptr) << parentName;
            EXPECT_TRUE(page(pageIndex)->isAncestorOf(parent)) << parentName;
            auto* editor = built->registry.find<QWidget>(binding.control, binding.element);
            ASSERT_NE(editor, nullptr) << binding.control << binding.element;
            EXPECT_EQ(editor->parentWidget(), parent) << binding.control << binding.element;
        }
    }
    EXPECT_EQ(editors, 4 * 6 + 3 * 6);
}

TEST_F(SecondPagesTest, EveryTextOfThesePagesFindsItsControl) {
    const auto expected = textedControls();
    for (i18n::Language language : kLanguages) {
        std::vector<i18n::UiTextEntry> entries = i18n::fixedUiTexts();
        for (auto& entry : i18n::translatedUiTexts(language, true)) entries.push_back(entry);
        std::set<std::string> textNames;
        for (const auto& entry : entries) textNames.insert(std::string(entry.control));
        for (const auto& [containerName, names] : expected) {
            QWidget* home = container(containerName);
            ASSERT_NE(home, nullptr) << containerName;
            for (const std::string& name : names) {
                // The list must name controls the tables really address.
                EXPECT_TRUE(textNames.contains(name)) << name << " has no text";
                auto* control = built->registry.find<QWidget>(name);
                ASSERT_NE(control, nullptr) << name;
                EXPECT_TRUE(home->isAncestorOf(control)) << name << " is not on " << containerName;
            }
        }
    }
}

TEST_F(SecondPagesTest, SiblingsDoNotOverlapAndStayInsideTheirParent) {
    for (const auto& [parent, children] : byParent(registeredWidgets())) {
        QSize bounds = parent->size();
        if (parent == built->panel) bounds = kLivePanelSize;
        for (QWidget* c : containers()) {
            if (parent == c && parent != built->panel) bounds = kPageClientSize;
        }
        expectInsideAndApart(parent, children, QRect(QPoint(0, 0), bounds));
    }
}

TEST_F(SecondPagesTest, CaptionsFitInEveryLanguage) {
    for (i18n::Language language : kLanguages) {
        applyLanguage(language);
        const auto lang = " (language " + std::to_string(static_cast<int>(language)) + ")";
        for (QWidget* widget : registeredWidgets()) {
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                const std::string overflow = labelOverflow(label);
                EXPECT_TRUE(overflow.empty()) << overflow << lang;
            } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
                EXPECT_LE(box->sizeHint().width(), box->width()) << nameOf(box) << lang;
            } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
                // Covers the title and, for radio groups, every item.
                const QSize needed = group->minimumSizeHint();
                EXPECT_LE(needed.width(), group->width()) << nameOf(group) << lang;
                if (qobject_cast<RadioGroup*>(group) != nullptr) {
                    EXPECT_LE(needed.height(), group->height()) << nameOf(group) << lang;
                }
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                // The button of the gear the unit runs in gets a bold caption.
                QFont bold = button->font();
                bold.setBold(true);
                EXPECT_LE(QFontMetrics(bold).horizontalAdvance(button->text()) + 12,
                          button->width())
                    << nameOf(button) << lang;
            } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
                const std::string overflow = spinOverflow(spin);
                EXPECT_TRUE(overflow.empty()) << overflow;
            }
        }
    }
    applyLanguage(i18n::Language::English);
}

TEST_F(SecondPagesTest, LiveTextsFitInEveryLanguage) {
    int checked = 0;
    for (i18n::Language language : kLanguages) {
        for (const editing::MonitorView& view : liveTextSamples(language)) {
            for (std::size_t i = 0; i < editing::kMonitorLabelCount; ++i) {
                const std::string_view name =
                    editing::controlName(static_cast<editing::MonitorLabel>(i));
                if (kMonitorLabelsElsewhere.contains(name) || view.labels[i].text.empty()) continue;
                auto* label = built->registry.find<QLabel>(name);
                ASSERT_NE(label, nullptr) << name;
                label->setText(QString::fromStdString(view.labels[i].text));
                const std::string overflow = labelOverflow(label);
                EXPECT_TRUE(overflow.empty()) << overflow;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST_F(SecondPagesTest, MonitorControlsExistHereWithTheirKind) {
    for (std::size_t i = 0; i < editing::kMonitorLabelCount; ++i) {
        const std::string_view name = editing::controlName(static_cast<editing::MonitorLabel>(i));
        if (kMonitorLabelsElsewhere.contains(name)) continue;
        auto* label = built->registry.find<QLabel>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(onThesePages(label)) << name;
    }
    for (std::size_t i = 0; i < editing::kMonitorGaugeCount; ++i) {
        const std::string_view name = editing::controlName(static_cast<editing::MonitorGauge>(i));
        auto* gauge = built->registry.find<QProgressBar>(name);
        ASSERT_NE(gauge, nullptr) << name;
        EXPECT_TRUE(onThesePages(gauge)) << name;
    }
    auto* program = built->registry.find<QProgressBar>("CGaugeProgram");
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->maximum(), 10);
    ASSERT_NE(built->registry.find<QLabel>("LabelHlaseni"), nullptr);
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        auto* heading = built->registry.find<QLabel>(name);
        ASSERT_NE(heading, nullptr) << name;
        EXPECT_FALSE(heading->text().isEmpty()) << name;
    }
}

TEST_F(SecondPagesTest, WarningsAndDiagnosticsStartHidden) {
    std::vector<std::string> hidden = {"LabelSpojeni", "LabelVersion", "LabelEeDataErr",
                                       "LabelN2oOn"};
    for (auto& name : numbered("LabelTest", 1, 8)) hidden.push_back(name);
    for (const std::string& name : hidden) {
        auto* label = built->registry.find<QLabel>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(label->isHidden()) << name;
    }
    EXPECT_EQ(currentBackground(built->registry.find<QWidget>("LabelSpojeni")),
              editing::Colour::Red);
    for (const char* name : {"CheckBoxProgHned", "CheckBoxExtMonitor"}) {
        EXPECT_NE(built->registry.find<MouseUpCheckBox>(name), nullptr) << name;
    }
}

TEST_F(SecondPagesTest, ViewRulesFindTheirControls) {
    for (const editing::ViewRule& rule : editing::pageViewRules()) {
        // The bike page's controls are built elsewhere.
        const Binding* binding = editing::findBinding(rule.control, rule.element);
        if (binding != nullptr && binding->page == editing::kPageBike) continue;
        QObject* control = built->registry.object(rule.control, rule.element);
        ASSERT_NE(control, nullptr) << rule.control << "[" << rule.element << "]";
        EXPECT_TRUE(onThesePages(qobject_cast<QWidget*>(control))) << rule.control;
    }
}

}  // namespace
}  // namespace zelvor::widgets

int main(int argc, char** argv) {
    return zelvor::testing::runTestsInApplication(argc, argv);
}
