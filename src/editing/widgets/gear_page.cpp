#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <array>
#include <string_view>

#include "editing/widgets/pages.h"
#include "editing/widgets/per_gear_rows.h"

namespace zelvor::widgets {

namespace {

using Names = std::array<std::string_view, kGearCount>;

constexpr Names kRatioRowLabels = {"LabelPomerRpmSpeed1", "LabelPomerRpmSpeed2",
                                   "LabelPomerRpmSpeed3", "LabelPomerRpmSpeed4",
                                   "LabelPomerRpmSpeed5", "LabelPomerRpmSpeed6"};
constexpr Names kGearButtons = {"ButtonGear1", "ButtonGear2", "ButtonGear3",
                                "ButtonGear4", "ButtonGear5", "ButtonGear6"};
constexpr Names kAutoRowLabels = {"LabelMonGearAuto1", "LabelMonGearAuto2", "LabelMonGearAuto3",
                                  "LabelMonGearAuto4", "LabelMonGearAuto5", "LabelMonGearAuto6"};
constexpr Names kAutoRatios = {"LabelMonPomerRpmSpeedAuto1", "LabelMonPomerRpmSpeedAuto2",
                               "LabelMonPomerRpmSpeedAuto3", "LabelMonPomerRpmSpeedAuto4",
                               "LabelMonPomerRpmSpeedAuto5", "LabelMonPomerRpmSpeedAuto6"};
constexpr Names kCorrectionRowLabels = {"LabelGearKor1", "LabelGearKor2", "LabelGearKor3",
                                        "LabelGearKor4", "LabelGearKor5", "LabelGearKor6"};

// Every row of the page lines up with the gear rows of the ratio editors.
constexpr std::string_view kRowGuide = "UpDownPomerRpmSpeed";

// The three per-gear groups share their top and height; the extra room at
// the bottom holds the live ratio of the ratio group.
constexpr int kGroupTop = 8;
constexpr int kGroupHeight = kPerGearGroupHeight + 30;
constexpr int kHeadTop = 40;
// The settings column holds "Pulse over 1s for 100 km/hod" with its radio button.
constexpr int kSettingsWidth = 232;
constexpr int kHeadHeight = 20;

QLabel* columnHead(QWidget* group, ControlFactory& factory, std::string_view name, int left,
                   int width) {
    QLabel* head = factory.label(group, name, QRect(left, kHeadTop, width, kHeadHeight));
    head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return head;
}

// Number of gears, how the unit determines the gear, and the speedometer
// input, one above the other.
void buildGearSettings(QWidget* page, ControlFactory& factory) {
    factory.label(page, "LabelPocetGear", QRect(8, 10, 120, 22));
    factory.boundSpinBox(page, "UpDownPocetGear", QRect(132, 10, 56, 22));
    factory.radioGroup(page, "RadioGroupGearSystem", QRect(8, 42, kSettingsWidth, 94));

    QWidget* speed =
        factory.groupBox(page, "GroupBoxPulsuProSpeed", QRect(8, 144, kSettingsWidth, 120));
    factory.radioGroup(speed, "RadioGroupSpeedMode", QRect(6, 18, kSettingsWidth - 12, 62));
    factory.boundSpinBox(speed, "UpDownPulsuProSpeed", QRect(14, 88, 90, 22));

    factory.valueLabel(page, "LabelMonSpeed", QRect(8, 274, kSettingsWidth, 20));
}

// Ratio learning: the stored ratio of each gear, the button that takes the
// live ratio for that gear, and the live ratio itself below.
void buildRatioGroup(QWidget* page, ControlFactory& factory) {
    QWidget* group =
        factory.groupBox(page, "GroupBoxRpmSpeedProGear", QRect(248, kGroupTop, 236, kGroupHeight));
    columnHead(group, factory, "LabelPomerRpmSpeed0", 24, 115);
    addGearRowLabels(group, factory, kRatioRowLabels, kRowGuide);
    for (int i = 0; i < kGearCount; ++i) {
        factory.button(group, kGearButtons[static_cast<std::size_t>(i)],
                       QRect(147, gearRowTop(kRowGuide, i), 80, kGearRowHeight));
    }
    factory.valueLabel(group, "LabelMonPomerRpmSpeed",
                       QRect(24, gearRowTop(kRowGuide, kGearCount - 1) + 36, 203, 20));
}

// Automatic gear detection: the ratio the unit has found for each gear and
// the four conditions under which it learns.
void buildAutomaticGroup(QWidget* page, ControlFactory& factory) {
    QWidget* group =
        factory.groupBox(page, "GroupBoxMonAutoGear", QRect(492, kGroupTop, 280, kGroupHeight));
    columnHead(group, factory, "Label51", 24, 64);
    addGearRowLabels(group, factory, kAutoRowLabels, kRowGuide);
    for (int i = 0; i < kGearCount; ++i) {
        factory.valueLabel(group, kAutoRatios[static_cast<std::size_t>(i)],
                           QRect(24, gearRowTop(kRowGuide, i) + 1, 64, kGearRowHeight - 2));
    }
    constexpr std::array<std::array<std::string_view, 2>, 4> kConditions = {{
        {"LabelGearAutoTime", "UpDownGearAutoTime"},
        {"LabelGearAutoRpm", "UpDownGearAutoRpm"},
        {"LabelGearAutoTps", "UpDownGearAutoTps"},
        {"LabelGearAutoBand", "UpDownGearAutoBand"},
    }};
    for (std::size_t k = 0; k < kConditions.size(); ++k) {
        const int top = gearRowTop(kRowGuide, static_cast<int>(k));
        factory.label(group, kConditions[k][0], QRect(104, top, 84, kGearRowHeight));
        factory.boundSpinBox(group, kConditions[k][1], QRect(192, top, 80, kGearRowHeight));
    }
}

// Advance and injection correction per gear (run-time editors).
void buildCorrectionGroup(QWidget* page, ControlFactory& factory) {
    QWidget* group =
        factory.groupBox(page, "GroupBoxGearKor", QRect(780, kGroupTop, 176, kGroupHeight));
    columnHead(group, factory, "Label24", 9, 76);
    columnHead(group, factory, "Label25", 87, 76);
    addGearRowLabels(group, factory, kCorrectionRowLabels, "UpDownGearKorAdv");
}

}  // namespace

// The gear page: settings on the left, then the three per-gear groups side
// by side with their rows level, so that one gear reads across the page.
void buildGearPage(QWidget* page, ControlFactory& factory) {
    buildGearSettings(page, factory);
    buildRatioGroup(page, factory);
    buildAutomaticGroup(page, factory);
    buildCorrectionGroup(page, factory);
}

}  // namespace zelvor::widgets
