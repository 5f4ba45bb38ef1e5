#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <array>
#include <span>
#include <string_view>

#include "editing/widgets/pages.h"

namespace zelvor::widgets {

namespace {

// Live labels inside a group: one column of rows, or two side by side.
constexpr int kRowTop = 22;
constexpr int kRowStep = 24;
constexpr int kRowHeight = 20;
constexpr int kColumnLeft = 10;
constexpr int kColumnWidth = 200;
constexpr int kColumnStep = 208;

// Inputs of the unit that are active when switched to ground.
constexpr auto kInputs = std::to_array<std::string_view>({
    "LabelMonTlStartIn",
    "LabelMonClutchIn",
    "LabelMonNeutral",
    "LabelMonSideStand",
    "LabelMonStartLimiterIn",
    "LabelMonClutchMasterIn",
    "LabelMonRpmLambdaIn",
    "LabelMonPinEngine23In",
    "LabelMonPinBody11In",
    "LabelMonPinEngine14In",
});

// Outputs and limiters in the first column, the unit's other states in the
// second; the fuel gauge closes the second column under the fuel level.
constexpr auto kOutputs = std::to_array<std::string_view>({
    "LabelMonTlStartOut",
    "LabelMonStartLimiterOut",
    "LabelMonIgnLimiter",
    "LabelMonJetLimiter",
    "LabelMonRetardLimiter",
    "LabelMonBlokOut",
    "LabelMonClutchOut",
    "LabelMonRpmLambdaOut",
});
constexpr auto kStates = std::to_array<std::string_view>({
    "LabelMonLambdaHeat",
    "LabelMonFan1",
    "LabelMonFan2",
    "LabelOilOk",
    "LabelSnimacCmps",
    "LabelMonPilotLight",
    "LabelMonFuelMv",
});

constexpr auto kTestLabels = std::to_array<std::string_view>({
    "LabelTest1",
    "LabelTest2",
    "LabelTest3",
    "LabelTest4",
    "LabelTest5",
    "LabelTest6",
    "LabelTest7",
    "LabelTest8",
});

int rowTop(int row) {
    return kRowTop + row * kRowStep;
}

void addColumn(QWidget* group, ControlFactory& factory, std::span<const std::string_view> names,
               int column) {
    factory.valueLabelColumn(
        group, names, QRect(kColumnLeft + column * kColumnStep, kRowTop, kColumnWidth, kRowHeight),
        kRowStep);
}

}  // namespace

// The monitor page: every live input and output state of the unit, the
// injection and advance of both cylinders, the programmed-data error and the
// diagnostic values of test mode. Nothing here is edited.
void buildMonitorPage(QWidget* page, ControlFactory& factory) {
    const int inputHeight = rowTop(static_cast<int>(kInputs.size())) + 6;
    QWidget* inputs = factory.groupBox(page, "GroupBoxMonInput", QRect(8, 8, 220, inputHeight));
    addColumn(inputs, factory, kInputs, 0);

    // Its caption stands until the language pass writes it.
    const int outputHeight = rowTop(static_cast<int>(kOutputs.size())) + 6;
    QGroupBox* outputs =
        factory.groupBox(page, "GroupBoxMonOutput", QRect(236, 8, 428, outputHeight));
    outputs->setTitle(QStringLiteral("Outputs"));
    addColumn(outputs, factory, kOutputs, 0);
    addColumn(outputs, factory, kStates, 1);
    factory.gauge(outputs, "CGaugeFuel",
                  QRect(kColumnLeft + kColumnStep, rowTop(static_cast<int>(kStates.size())) + 2,
                        kColumnWidth, kRowHeight - 4));

    QWidget* injection = factory.groupBox(page, "GroupBox1", QRect(672, 8, 236, rowTop(4) + 2));
    constexpr auto kInjection = std::to_array<std::string_view>(
        {"LabelMon_Jet_1A", "LabelMon_Jet_2A", "LabelMaxInjProcent"});
    factory.valueLabelColumn(injection, kInjection, QRect(kColumnLeft, kRowTop, 216, kRowHeight),
                             kRowStep);
    factory.gauge(injection, "CGaugeDuty", QRect(kColumnLeft, rowTop(3) + 2, 216, kRowHeight - 4));

    QWidget* advance =
        factory.groupBox(page, "GroupBox4", QRect(672, 8 + rowTop(4) + 10, 236, rowTop(2) + 6));
    factory.valueLabel(advance, "LabelMon_Ign1", QRect(kColumnLeft, rowTop(0), 216, kRowHeight));
    factory.valueLabel(advance, "LabelMon_Ign2", QRect(kColumnLeft, rowTop(1), 216, kRowHeight));

    // Shown by the monitor only while the unit reports damaged programmed data.
    QLabel* dataError =
        factory.boldLabel(page, "LabelEeDataErr", QRect(236, outputHeight + 18, 428, 20));
    QPalette palette = dataError->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    dataError->setPalette(palette);
    dataError->hide();

    // Raw diagnostic values, shown in test mode only.
    for (std::size_t i = 0; i < kTestLabels.size(); ++i) {
        QLabel* test = factory.valueLabel(
            page, kTestLabels[i], QRect(8 + static_cast<int>(i) * 112, 424, 104, kRowHeight));
        test->hide();
    }
}

}  // namespace zelvor::widgets
