#include <QGroupBox>
#include <QLabel>
#include <array>

#include "editing/widgets/pages.h"
#include "editing/widgets/pages_first_layout.h"

namespace zelvor::widgets {

namespace {

// The starting correction: four time points after the start (the first
// point, 0 s, is fixed) and the correction at -10 °C at each point, falling
// to a fixed 100 % at the end. Each row shows five columns.
struct StartCell {
    std::string_view name;
    bool fixed;  // a label showing the fixed value, else a bound spin box
};
constexpr std::array<StartCell, 5> kStartTimes = {{
    {"LabelSyticCas0", true},
    {"UpDownSyticCas1", false},
    {"UpDownSyticCas2", false},
    {"UpDownSyticCas3", false},
    {"UpDownSyticCas4", false},
}};
constexpr std::array<StartCell, 5> kStartCorrections = {{
    {"UpDownSyticKorekce0", false},
    {"UpDownSyticKorekce1", false},
    {"UpDownSyticKorekce2", false},
    {"UpDownSyticKorekce3", false},
    {"LabelSyticKorekce4", true},
}};
constexpr int kStartColumnLeft = 160;
constexpr int kStartColumnPitch = 62;
constexpr int kStartCellWidth = 56;

constexpr LabelledSpin kAcceleration[] = {
    {"LabelAkcelPrah", "UpDownAkcelPrah"},
    {"LabelAkcelJet", "UpDownAkcelJet"},
};

// Temperature rows of both correction tables, -10 °C first; their editors
// are built from the bindings at 65 + i * 39.
constexpr std::string_view kInjectionRows[] = {"LabelVoda_10", "LabelVoda20", "LabelVoda50",
                                               "LabelVoda80", "LabelVoda110"};
constexpr std::string_view kAdvanceRows[] = {"Label8", "Label4", "Label7", "Label5", "Label6"};
constexpr int kFirstRowTop = 65;
constexpr int kRowPitch = 39;

// The corrections the unit applies right now: injection first, then advance.
constexpr std::string_view kInjectionReadouts[] = {
    "LabelKorVodaJet", "LabelKorVzduch", "LabelKorTlak", "LabelKorSytic", "LabelKorNapeti"};
constexpr std::string_view kAdvanceReadouts[] = {"LabelKorVodaIgn", "LabelIdleKorAdv"};

void buildStartRow(QWidget* group, ControlFactory& factory, std::span<const StartCell> cells,
                   int top) {
    int left = kStartColumnLeft;
    for (const StartCell& cell : cells) {
        const QRect rect(left, top, kStartCellWidth, kSpinHeight);
        if (cell.fixed) {
            factory.valueLabel(group, cell.name, rect);
        } else {
            factory.boundSpinBox(group, cell.name, rect);
        }
        left += kStartColumnPitch;
    }
}

// A column head over the editors of a correction table, centred on the
// editor column whose left edge is editorLeft; long heads wrap to two lines.
void columnHead(QWidget* group, ControlFactory& factory, std::string_view name, int editorLeft) {
    QLabel* head = factory.label(group, name, QRect(editorLeft - 13, 24, 80, 36));
    head->setWordWrap(true);
    head->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
}

void rowLabels(QWidget* group, ControlFactory& factory, std::span<const std::string_view> names) {
    int top = kFirstRowTop + kCaptionDrop;
    for (std::string_view name : names) {
        factory.label(group, name, QRect(10, top, 64, kCaptionHeight));
        top += kRowPitch;
    }
}

void readouts(QWidget* page, ControlFactory& factory, std::span<const std::string_view> names,
              int top) {
    factory.valueLabelColumn(page, names, QRect(552, top, 210, kReadoutHeight), 26);
}

}  // namespace

void buildCorrectionsPage(QWidget* page, ControlFactory& factory) {
    QWidget* start = factory.groupBox(page, "GroupBoxSytic", QRect(8, 8, 476, 84));
    factory.label(start, "LabelSyticCas", QRect(10, 24 + kCaptionDrop, 145, kCaptionHeight));
    buildStartRow(start, factory, kStartTimes, 24);
    factory.label(start, "LabelSyticKorekce", QRect(10, 52 + kCaptionDrop, 145, kCaptionHeight));
    buildStartRow(start, factory, kStartCorrections, 52);

    QWidget* acceleration = factory.groupBox(page, "GroupBoxAkcel", QRect(496, 8, 250, 84));
    buildLabelledSpins(acceleration, factory, kAcceleration, {10, 24, 150, 68, 28});

    QWidget* startJet = factory.groupBox(page, "GroupBoxStartJet", QRect(758, 8, 257, 84));
    factory.boundSpinBox(startJet, "UpDownStartJet", QRect(10, 24, 56, kSpinHeight));
    factory.label(startJet, "LabelStartJet", QRect(70, 24 + kCaptionDrop, 40, kCaptionHeight));

    QWidget* injection = factory.groupBox(page, "GroupBoxKorVodaVzduch", QRect(8, 100, 260, 252));
    columnHead(injection, factory, "LabelVoda2", 85);
    columnHead(injection, factory, "LabelVzduch2", 165);
    rowLabels(injection, factory, kInjectionRows);

    QWidget* advance = factory.groupBox(page, "GroupBoxIgnVoda", QRect(280, 100, 260, 252));
    columnHead(advance, factory, "LabelVoda3", 85);
    rowLabels(advance, factory, kAdvanceRows);

    readouts(page, factory, kInjectionReadouts, 112);
    readouts(page, factory, kAdvanceReadouts, 252);
}

}  // namespace zelvor::widgets
