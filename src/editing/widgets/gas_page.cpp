#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <array>
#include <string_view>

#include "editing/widgets/pages.h"

namespace zelvor::widgets {

namespace {

// A caption with the edit it describes, one row of a parameter group.
struct CaptionedEdit {
    std::string_view label;
    std::string_view upDown;
};

constexpr std::array<CaptionedEdit, 4> kGasRows = {{
    {"LabelGas1", "UpDownGas1"},
    {"LabelGas2", "UpDownGas2"},
    {"LabelGasD", "UpDownGasD"},
    {"LabelGasT", "UpDownGasT"},
}};

constexpr std::array<CaptionedEdit, 4> kRetardRows = {{
    {"LabelRetard1", "UpDownRetard1"},
    {"LabelRetard2", "UpDownRetard2"},
    {"LabelRetardD", "UpDownRetardD"},
    {"LabelRetardT", "UpDownRetardT"},
}};

// Geometry inside each of the two groups: the captions take the left part
// (room for the longest translation, "Snížení předstihu 1 [°]"), the edits
// hold up to "25 500" with their arrows.
constexpr int kGroupWidth = 260;
constexpr int kGroupHeight = 152;
constexpr int kFirstRowTop = 26;
constexpr int kRowStep = 30;
constexpr int kRowHeight = 22;
constexpr int kCaptionLeft = 12;
constexpr int kCaptionWidth = 146;
constexpr int kEditLeft = 164;
constexpr int kEditWidth = 84;

void buildGroup(QWidget* group, ControlFactory& factory, const std::array<CaptionedEdit, 4>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int top = kFirstRowTop + static_cast<int>(i) * kRowStep;
        factory.label(group, rows[i].label, QRect(kCaptionLeft, top, kCaptionWidth, kRowHeight));
        factory.boundSpinBox(group, rows[i].upDown, QRect(kEditLeft, top, kEditWidth, kRowHeight));
    }
}

}  // namespace

// The N2O page: the enabling check box with the live "N2O - YES/NO" output
// beside it, then the two stages side by side: the injection added by the
// nitrous and the ignition retard that goes with it. Both groups are shown
// only while N2O is enabled (view rules).
void buildGasPage(QWidget* page, ControlFactory& factory) {
    factory.checkBox(page, "CheckBoxGas", QRect(16, 12, 160, 20));
    // Shown by the monitor only while N2O is enabled and the unit answers.
    QLabel* output = factory.valueLabel(page, "LabelN2oOn", QRect(184, 12, 84, 20));
    output->hide();

    buildGroup(factory.groupBox(page, "GroupBoxGas", QRect(8, 44, kGroupWidth, kGroupHeight)),
               factory, kGasRows);
    buildGroup(factory.groupBox(page, "GroupBoxRetard", QRect(276, 44, kGroupWidth, kGroupHeight)),
               factory, kRetardRows);
}

}  // namespace zelvor::widgets
