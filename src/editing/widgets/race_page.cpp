#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <array>
#include <string_view>

#include "editing/widgets/pages.h"
#include "editing/widgets/per_gear_rows.h"

namespace zelvor::widgets {

namespace {

// Column heads of "Setting per gear", centred over the run-time editors of
// their column (pilot light 1 and 2 share one head). They wrap onto two
// lines so that the two clutch-master heads fit over their narrow columns.
struct ColumnHead {
    std::string_view name;
    int left;
    int width;
};

constexpr int kHeadTop = 26;
constexpr int kHeadHeight = 32;
constexpr std::array<ColumnHead, 3> kClutchHeads = {{
    {"LabelPilotLight", 24, 148},
    {"LabelClutchTime", 218, 130},
    {"LabelClutchPause", 358, 130},
}};

constexpr std::array<std::string_view, 6> kRaceGearLabels = {"LabelRaceGear1", "LabelRaceGear2",
                                                             "LabelRaceGear3", "LabelRaceGear4",
                                                             "LabelRaceGear5", "LabelRaceGear6"};

// The clutch-master settings that are not per gear, right of the table.
struct CaptionedEdit {
    std::string_view label;
    std::string_view upDown;
};

constexpr std::array<CaptionedEdit, 3> kClutchSettings = {{
    {"LabelClutchMinRpm", "UpDownClutchMinRpm"},
    {"LabelClutchJet", "UpDownClutchJet"},
    {"LabelClutchAdv", "UpDownClutchAdv"},
}};

constexpr int kSideLeft = 520;

}  // namespace

// The race page: the per-gear table of gear-shift-light speeds and
// clutch-master times on the left (its editors are built at run time into
// GroupBoxClutch at fixed rows), the clutch-master mode and limits on the
// right, and the bike display option below them.
void buildRacePage(QWidget* page, ControlFactory& factory) {
    QWidget* table =
        factory.groupBox(page, "GroupBoxClutch", QRect(8, 8, 496, kPerGearGroupHeight));
    for (const ColumnHead& head : kClutchHeads) {
        QLabel* label =
            factory.label(table, head.name, QRect(head.left, kHeadTop, head.width, kHeadHeight));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setWordWrap(true);
    }
    addGearRowLabels(table, factory, kRaceGearLabels, "UpDownPilotLight1");

    factory.radioGroup(page, "RadioGroupClutchMode", QRect(kSideLeft, 8, 200, 72));
    for (std::size_t i = 0; i < kClutchSettings.size(); ++i) {
        const int top = 90 + static_cast<int>(i) * 30;
        factory.label(page, kClutchSettings[i].label, QRect(kSideLeft, top, 116, 22));
        factory.boundSpinBox(page, kClutchSettings[i].upDown, QRect(kSideLeft + 120, top, 80, 22));
    }

    QWidget* display = factory.groupBox(page, "GroupBoxDisplay", QRect(kSideLeft, 190, 250, 50));
    factory.checkBox(display, "CheckBoxTempDisplay", QRect(10, 22, 234, 20));
}

}  // namespace zelvor::widgets
