#include <QGroupBox>
#include <QLabel>

#include "editing/widgets/pages.h"
#include "editing/widgets/pages_first_layout.h"

namespace zelvor::widgets {

namespace {

// The pressure sensor line through two points: pressures in the left
// column, the voltages at those pressures in the right one.
constexpr LabelledSpin kPressures[] = {
    {"LabelApsTlak1", "UpDownApsTlak1"},
    {"LabelApsTlak2", "UpDownApsTlak2"},
};
constexpr LabelledSpin kPressureVoltages[] = {
    {"LabelApsNapeti1", "UpDownApsNapeti1"},
    {"LabelApsNapeti2", "UpDownApsNapeti2"},
};

// The throttle end points, each with the button that takes the live voltage.
constexpr LabelledSpin kThrottlePoints[] = {
    {"LabelTps0", "UpDownTps0"},
    {"LabelTps100", "UpDownTps100"},
};
constexpr std::string_view kThrottleButtons[] = {"ButtonTps0", "ButtonTps100"};

// Temperature rows of the sensor characteristics, -10 °C first; the editors
// are built from the bindings at 65 + i * 39, water at 85 and air at 165.
constexpr std::string_view kTemperatureRows[] = {"Label36", "Label32", "Label35", "Label33",
                                                 "Label34"};

}  // namespace

void buildSensorsPage(QWidget* page, ControlFactory& factory) {
    QWidget* pressure = factory.groupBox(page, "GroupApsSensor", QRect(8, 8, 400, 84));
    buildLabelledSpins(pressure, factory, kPressures, {10, 24, 100, 72, 28});
    buildLabelledSpins(pressure, factory, kPressureVoltages, {204, 24, 100, 72, 28});

    QWidget* throttle = factory.groupBox(page, "GroupBoxSetTps", QRect(420, 8, 290, 84));
    buildLabelledSpins(throttle, factory, kThrottlePoints, {10, 24, 72, 72, 28});
    int top = 24;
    for (std::string_view name : kThrottleButtons) {
        factory.button(throttle, name, QRect(170, top, 106, kSpinHeight));
        top += 28;
    }

    QWidget* sensors = factory.groupBox(page, "GroupBoxCidloTVodaVzduch", QRect(8, 100, 270, 252));
    for (auto [name, editorLeft] : {std::pair{"Label37", 85}, std::pair{"Label38", 165}}) {
        QLabel* head = factory.label(sensors, name, QRect(editorLeft - 13, 44, 80, kCaptionHeight));
        head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }
    top = 65 + kCaptionDrop;
    for (std::string_view name : kTemperatureRows) {
        factory.label(sensors, name, QRect(10, top, 64, kCaptionHeight));
        top += 39;
    }
}

}  // namespace zelvor::widgets
