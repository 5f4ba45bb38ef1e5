#include <QGroupBox>

#include "editing/widgets/pages.h"
#include "editing/widgets/pages_first_layout.h"

namespace zelvor::widgets {

namespace {

// The idle controller settings, top to bottom; the check box that inverts
// the direction of regulation comes between the two ranges and the step
// motor period.
constexpr LabelledSpin kRanges[] = {
    {"LabelIdleRpmMez", "UpDownIdleRpmMez"},
    {"LabelIdleTpsMez", "UpDownIdleTpsMez"},
};
constexpr LabelledSpin kRegulation[] = {
    {"LabelIdleStepPerioda", "UpDownIdleStepPerioda"},
    {"LabelIdleHyster", "UpDownIdleHyster"},
    {"LabelIdleAdvNaRpm", "UpDownIdleAdvNaRpm"},
    {"LabelIdleAdvNaCas", "UpDownIdleAdvNaCas"},
    {"LabeldleMaxAdv", "UpDowndleMaxAdv"},
};
constexpr int kListLeft = 224;
constexpr int kListTop = 12;
constexpr int kListPitch = 28;
constexpr int kListLabelWidth = 196;

// Desired idle speed at 10 .. 60 °C. The editors are built from the bindings
// at x 30, each 4 px above the top of its row label, so the temperatures
// stand to the right of the editors.
constexpr std::string_view kDesiredRows[] = {"LabelIdleRpmPoz1", "LabelIdleRpmPoz2",
                                             "LabelIdleRpmPoz3", "LabelIdleRpmPoz4",
                                             "LabelIdleRpmPoz5", "LabelIdleRpmPoz6"};

}  // namespace

void buildIdlePage(QWidget* page, ControlFactory& factory) {
    factory.radioGroup(page, "RadioGroupIdleMode", QRect(8, 8, 200, 92));

    buildLabelledSpins(page, factory, kRanges,
                       {kListLeft, kListTop, kListLabelWidth, 72, kListPitch});
    factory.checkBox(
        page, "CheckBoxIdleSmerReg",
        QRect(kListLeft, kListTop + 2 * kListPitch + 2, kListLabelWidth + 76, kCheckBoxHeight));
    buildLabelledSpins(page, factory, kRegulation,
                       {kListLeft, kListTop + 3 * kListPitch, kListLabelWidth, 72, kListPitch});

    QWidget* desired = factory.groupBox(page, "GroupBoxIdleRpmPoz", QRect(520, 8, 160, 256));
    int top = 34;
    for (std::string_view name : kDesiredRows) {
        factory.label(desired, name, QRect(96, top, 50, 15));
        top += 39;
    }
}

}  // namespace zelvor::widgets
