#include <QLabel>
#include <QWidget>
#include <array>
#include <string_view>

#include "editing/widgets/colours.h"
#include "editing/widgets/pages.h"

namespace zelvor::widgets {

namespace {

// The engine read-outs stand in three columns of rows under a heading each.
constexpr int kHeadingTop = 4;
constexpr int kHeadingHeight = 14;
constexpr int kRowTop = 22;
constexpr int kRowStep = 28;
constexpr int kRowHeight = 22;

struct ReadOut {
    std::string_view label;
    std::string_view gauge;  // empty when the value has no bar
};

// Engine state with bars: the longest text is the coolant with its sensor
// voltage or fault ("Températur moteur = error = 4500 mV").
constexpr std::array<ReadOut, 4> kEngineColumn = {{
    {"LabelRpm", "CGaugeRpm"},
    {"LabelTpsMon", "CGaugeTps"},
    {"LabelLambda", "CGaugeLambda"},
    {"LabelVoda", "CGaugeVoda"},
}};
constexpr int kEngineLeft = 8;
constexpr int kEngineWidth = 244;
constexpr int kGaugeLeft = 258;
constexpr int kGaugeWidth = 160;

// Air pressure, air temperature and supply voltage.
constexpr std::array<std::string_view, 3> kSensorColumn = {"LabelTlak", "LabelVzduch",
                                                           "LabelNapeti"};
constexpr int kSensorLeft = 440;

// What the unit does with it: advance, injection time, gear.
constexpr std::array<std::string_view, 3> kUnitColumn = {"LabelMon_Ign", "LabelMon_Jet_A",
                                                         "LabelGear"};
constexpr int kUnitLeft = 684;
constexpr int kColumnWidth = 220;

int rowTop(std::size_t row) {
    return kRowTop + static_cast<int>(row) * kRowStep;
}

// The headings are hidden in the printout; their English captions stand
// until the language pass writes them.
void addHeading(QWidget* panel, ControlFactory& factory, std::string_view name, int left,
                const char* caption) {
    QLabel* heading =
        factory.boldLabel(panel, name, QRect(left, kHeadingTop, kColumnWidth, kHeadingHeight));
    heading->setText(QString::fromLatin1(caption));
}

}  // namespace

// The live panel below the pages: the engine read-outs in three columns,
// the detail option for them, and at the bottom the connection and version
// warnings and the status row where transfers report their progress.
void buildLivePanel(QWidget* panel, ControlFactory& factory) {
    addHeading(panel, factory, "Label1", kEngineLeft, "Engine");
    addHeading(panel, factory, "Label2", kSensorLeft, "Sensors");
    addHeading(panel, factory, "Label3", kUnitLeft, "Ignition unit");

    for (std::size_t row = 0; row < kEngineColumn.size(); ++row) {
        const int top = rowTop(row);
        factory.valueLabel(panel, kEngineColumn[row].label,
                           QRect(kEngineLeft, top, kEngineWidth, kRowHeight));
        factory.gauge(panel, kEngineColumn[row].gauge,
                      QRect(kGaugeLeft, top + 3, kGaugeWidth, kRowHeight - 6));
    }
    factory.valueLabelColumn(panel, kSensorColumn,
                             QRect(kSensorLeft, kRowTop, kColumnWidth, kRowHeight), kRowStep);
    factory.valueLabelColumn(panel, kUnitColumn,
                             QRect(kUnitLeft, kRowTop, kColumnWidth, kRowHeight), kRowStep);
    const int belowReadOuts = rowTop(kEngineColumn.size());
    factory.checkBox(panel, "CheckBoxExtMonitor", QRect(kEngineLeft, belowReadOuts + 4, 240, 20));

    // The two warnings take turns: "no connection" while the unit is silent,
    // the version label once it answers. Both start hidden.
    constexpr int kWarningTop = 186;
    factory.checkBox(panel, "CheckBoxProgHned", QRect(kEngineLeft, kWarningTop, 240, 20));
    QLabel* noConnection =
        factory.valueLabel(panel, "LabelSpojeni", QRect(256, kWarningTop, 176, 20));
    setBackground(noConnection, editing::Colour::Red);
    noConnection->hide();
    QLabel* version = factory.valueLabel(panel, "LabelVersion", QRect(440, kWarningTop, 583, 20));
    version->hide();

    constexpr int kStatusTop = 214;
    factory.valueLabel(panel, "LabelHlaseni", QRect(kEngineLeft, kStatusTop, 700, 24));
    factory.gauge(panel, "CGaugeProgram", QRect(716, kStatusTop + 4, 307, 16), 10);
}

}  // namespace zelvor::widgets
