#pragma once

#include <array>
#include <string_view>

namespace zelvor::print {

// How print mode takes a control out of the picture.
enum class PrintHide {
    Control,  // the whole control is hidden
    Arrows,   // only the up/down arrows of an edit with its spinner
};

// A control (or a run-time array of count controls, name[0..count-1]) that
// print mode hides: the editing aids that mean nothing on paper.
struct PrintModeControl {
    std::string_view name;
    int count;  // 0: a single control
    PrintHide hide;
};

// Every control print mode hides, by the names the window registers.
inline constexpr std::array<PrintModeControl, 54> kPrintModeControls{{
    // The window: tool bar, status bar, headings of the live panel and its gauges.
    {"StatusBar1", 0, PrintHide::Control},
    {"GroupBoxToolBar", 0, PrintHide::Control},
    {"LabelSpojeni", 0, PrintHide::Control},
    {"Label1", 0, PrintHide::Control},
    {"Label2", 0, PrintHide::Control},
    {"Label3", 0, PrintHide::Control},
    {"CheckBoxExtMonitor", 0, PrintHide::Control},
    {"CGaugeRpm", 0, PrintHide::Control},
    {"CGaugeTps", 0, PrintHide::Control},
    {"CGaugeLambda", 0, PrintHide::Control},
    {"CGaugeVoda", 0, PrintHide::Control},
    // The map grid.
    {"UpDownRpm_Uni", 15, PrintHide::Arrows},
    {"UpDownCell_Uni", 150, PrintHide::Arrows},
    {"CSpinButtonCol_Uni", 15, PrintHide::Control},
    {"CSpinButtonTools_Uni", 0, PrintHide::Control},
    {"CheckBoxAll_Uni", 0, PrintHide::Control},
    {"CheckBoxTps_Uni", 0, PrintHide::Control},
    {"CheckBoxZobrMs_Uni", 0, PrintHide::Control},
    {"ButtonShading_Uni", 0, PrintHide::Control},
    {"ButtonMapGraph_Uni", 0, PrintHide::Control},
    {"UpDownBaseAdv_Uni", 0, PrintHide::Arrows},
    {"UpDownCylKor1_Uni", 0, PrintHide::Arrows},
    {"UpDownCylKor2_Uni", 0, PrintHide::Arrows},
    // The injection position page.
    {"CSpinButtonPolohaA", 0, PrintHide::Control},
    {"CheckBoxAll_PolohaA", 0, PrintHide::Control},
    {"UpDownPolohaARpm", 15, PrintHide::Arrows},
    {"UpDownPolohaAAngle", 15, PrintHide::Arrows},
    // The corrections page.
    {"UpDownStartJet", 0, PrintHide::Arrows},
    {"UpDownAkcelPrah", 0, PrintHide::Arrows},
    {"UpDownAkcelJet", 0, PrintHide::Arrows},
    {"UpDownSyticCas1", 0, PrintHide::Arrows},
    {"UpDownSyticCas2", 0, PrintHide::Arrows},
    {"UpDownSyticCas3", 0, PrintHide::Arrows},
    {"UpDownSyticCas4", 0, PrintHide::Arrows},
    {"UpDownSyticKorekce0", 0, PrintHide::Arrows},
    {"UpDownSyticKorekce1", 0, PrintHide::Arrows},
    {"UpDownSyticKorekce2", 0, PrintHide::Arrows},
    {"UpDownSyticKorekce3", 0, PrintHide::Arrows},
    {"UpDownKorVoda", 5, PrintHide::Arrows},
    {"UpDownKorVzduch", 5, PrintHide::Arrows},
    // The sensors page.
    {"UpDownTps0", 0, PrintHide::Arrows},
    {"UpDownTps100", 0, PrintHide::Arrows},
    {"ButtonTps0", 0, PrintHide::Control},
    {"ButtonTps100", 0, PrintHide::Control},
    // The bike page.
    {"UpDownFan1", 0, PrintHide::Arrows},
    {"UpDownFan2", 0, PrintHide::Arrows},
    // The N2O page.
    {"UpDownGas1", 0, PrintHide::Arrows},
    {"UpDownGas2", 0, PrintHide::Arrows},
    {"UpDownGasD", 0, PrintHide::Arrows},
    {"UpDownGasT", 0, PrintHide::Arrows},
    {"UpDownRetard1", 0, PrintHide::Arrows},
    {"UpDownRetard2", 0, PrintHide::Arrows},
    {"UpDownRetardD", 0, PrintHide::Arrows},
    {"UpDownRetardT", 0, PrintHide::Arrows},
}};

// The map grid's row labels, which print mode puts on white.
inline constexpr std::string_view kPrintRowLabels = "LabelTpsRow_Uni";
inline constexpr int kPrintRowLabelCount = 10;

}  // namespace zelvor::print
