#include <array>

#include "i18n/ui_texts.h"

namespace zelvor::i18n {
namespace {

using P = UiProperty;

// Texts of the controls that read the same in every language. Labels that show live
// values are not here (the monitor writes them), except the read-outs whose text stands
// until the first monitor answer. The bike list of the combo box belongs to the default
// sets of the parameter model.
constexpr auto kFixedTexts = std::to_array<FixedUiText>({
    // Bike page. The pin-function items keep their order in every language because the
    // item index is what the image stores.
    {"GroupBoxRpm", P::Caption, "RPM"},
    {"CheckBoxAktRpm", P::Caption, "Tacho/Lambda"},
    {"CheckBoxAktClutchMaster", P::Caption, "Clutch master"},
    {"CheckBoxNoFuelInd", P::Caption, "No fuel indication"},
    {"LabelFan1", P::Caption, "Fan 1 [°C]"},
    {"LabelFan2", P::Caption, "Fan 2 [ °C]"},
    {"RadioGroupPinEngine23", P::Items, "Neutral\nOil"},
    {"RadioGroupPinEngine14", P::Items, "ATS\nNeutral"},
    {"RadioGroupPinBody11", P::Items, "Fan 1\nLambda Heat"},

    // The shared map grid; the row labels are created at run time, row 0 first.
    {"LabelRpm_Uni", P::Caption, "RPM"},
    {"LabelTps_Uni", P::Caption, "TPS"},
    {"LabelTpsRow_Uni", P::Items, "0%\n2%\n5%\n10%\n20%\n30%\n40%\n60%\n80%\n100%"},
    {"CheckBoxTps_Uni", P::Caption, "TPS"},
    {"CheckBoxZobrMs_Uni", P::Caption, "Ms"},

    // Injection-position page.
    {"LabelPolohaA_1", P::Caption, "RPM"},
    {"LabelPolohaA_2", P::Caption, "[°]"},

    // Corrections page: temperature rows of both correction groups, and the read-outs
    // that stand until the monitor writes them.
    {"LabelSyticCas0", P::Caption, "0"},
    {"LabelSyticKorekce4", P::Caption, "100"},
    {"LabelStartJet", P::Caption, "[ms]"},
    {"LabelVoda_10", P::Caption, "-10 °C"},
    {"LabelVoda20", P::Caption, "20 °C"},
    {"LabelVoda50", P::Caption, "50 °C"},
    {"LabelVoda80", P::Caption, "80 °C"},
    {"LabelVoda110", P::Caption, "110 °C"},
    {"Label8", P::Caption, "-10 °C"},
    {"Label4", P::Caption, "20 °C"},
    {"Label7", P::Caption, "50 °C"},
    {"Label5", P::Caption, "80 °C"},
    {"Label6", P::Caption, "110 °C"},
    {"LabelKorVodaJet", P::Caption, "TW correction= -- [%]"},
    {"LabelKorTlak", P::Caption, "AP correction= -- [%]"},
    {"LabelKorVzduch", P::Caption, "AT correction= -- [%]"},
    {"LabelKorSytic", P::Caption, "Starting corr.= -- [%]"},
    {"LabelKorNapeti", P::Caption, "U correction= -- [us]"},
    {"LabelKorVodaIgn", P::Caption, "TW correction= -- [°]"},
    {"LabelIdleKorAdv", P::Caption, "Idle correction= -- [°]"},

    // Sensors page.
    {"GroupBoxCidloTVodaVzduch", P::Caption, "Characteristic of temperature sensors [mV]"},
    {"Label36", P::Caption, "-10 °C"},
    {"Label32", P::Caption, "20 °C"},
    {"Label35", P::Caption, "50 °C"},
    {"Label33", P::Caption, "80 °C"},
    {"Label34", P::Caption, "110 °C"},
    {"Label37", P::Caption, "Water"},
    {"Label38", P::Caption, "Air"},
    {"GroupBoxSetTps", P::Caption, "TPS"},
    {"LabelTps0", P::Caption, "0%  [mV]"},
    {"LabelTps100", P::Caption, "100%  [mv]"},
    {"ButtonTps0", P::Caption, "<- TPS 0 %"},
    {"ButtonTps100", P::Caption, "<- TPS 100 %"},

    // Idle page. The three range labels end in 14 blanks that keep their edits aligned.
    {"LabelIdleRpmMez", P::Caption, "Regul. Range [rpm]              "},
    {"LabelIdleTpsMez", P::Caption, "Regul range TPS [0.1%]              "},
    {"LabelIdleHyster", P::Caption, "Hysteresis [rpm]              "},
    {"RadioGroupIdleMode", P::Caption, "Type of Idle Control"},
    {"RadioGroupIdleMode", P::Items, "No\nStep motor\nAdvance"},
    {"CheckBoxIdleSmerReg", P::Caption, "Inverze direction of regulation"},
    {"GroupBoxIdleRpmPoz", P::Caption, "Idle RPM desired"},
    {"LabelIdleRpmPoz1", P::Caption, "10 °C"},
    {"LabelIdleRpmPoz2", P::Caption, "20 °C"},
    {"LabelIdleRpmPoz3", P::Caption, "30 °C"},
    {"LabelIdleRpmPoz4", P::Caption, "40 °C"},
    {"LabelIdleRpmPoz5", P::Caption, "50 °C"},
    {"LabelIdleRpmPoz6", P::Caption, "60 °C"},

    // Race page.
    {"TabSheet_Race", P::Caption, "Race"},
    {"LabelClutchMinRpm", P::Caption, "Min Clutch RPM"},
    {"LabelClutchJet", P::Caption, "Clutch Jet [%]"},
    {"LabelClutchAdv", P::Caption, "Clutch advance [°]"},
    {"GroupBoxClutch", P::Caption, "Setting per gear"},
    {"LabelRaceGear1", P::Caption, "1 "},
    {"LabelRaceGear2", P::Caption, "2"},
    {"LabelRaceGear3", P::Caption, "3"},
    {"LabelRaceGear4", P::Caption, "4"},
    {"LabelRaceGear5", P::Caption, "5"},
    {"LabelRaceGear6", P::Caption, "6"},
    {"RadioGroupClutchMode", P::Caption, "Clutch mode"},
    {"RadioGroupClutchMode", P::Items, "No ignition\nRetard"},

    // Gear page. The gear-number labels of the correction group follow the other
    // per-gear groups.
    {"LabelPocetGear", P::Caption, "Number of gear"},
    {"RadioGroupGearSystem", P::Caption, "determining of gear"},
    {"RadioGroupGearSystem", P::Items, "Ration Rpm Speed\nAutomat (Ratio Rpm Speed)\nNo"},
    {"GroupBoxRpmSpeedProGear", P::Caption, "Ratio Rpm / Speed"},
    {"LabelPomerRpmSpeed0", P::Caption, "Rpm/Speed x 10"},
    {"LabelPomerRpmSpeed1", P::Caption, "1 "},
    {"LabelPomerRpmSpeed2", P::Caption, "2"},
    {"LabelPomerRpmSpeed3", P::Caption, "3"},
    {"LabelPomerRpmSpeed4", P::Caption, "4"},
    {"LabelPomerRpmSpeed5", P::Caption, "5"},
    {"LabelPomerRpmSpeed6", P::Caption, "6"},
    {"LabelMonPomerRpmSpeed", P::Caption, "Rpm/Speed="},
    {"GroupBoxGearKor", P::Caption, "Correction per gear"},
    {"LabelGearKor1", P::Caption, "1 "},
    {"LabelGearKor2", P::Caption, "2"},
    {"LabelGearKor3", P::Caption, "3"},
    {"LabelGearKor4", P::Caption, "4"},
    {"LabelGearKor5", P::Caption, "5"},
    {"LabelGearKor6", P::Caption, "6"},
    {"Label24", P::Caption, "Advance [°]"},
    {"Label25", P::Caption, "Injection [%]"},
    {"ButtonGear1", P::Caption, "<- Gear 1"},
    {"ButtonGear2", P::Caption, "<- Gear 2"},
    {"ButtonGear3", P::Caption, "<- Gear 3"},
    {"ButtonGear4", P::Caption, "<- Gear 4"},
    {"ButtonGear5", P::Caption, "<- Gear 5"},
    {"ButtonGear6", P::Caption, "<- Gear 6"},
    {"GroupBoxMonAutoGear", P::Caption, "Automat from ratio rpm speed "},
    {"Label51", P::Caption, "Rpm/Speed"},
    {"LabelMonGearAuto1", P::Caption, "1 "},
    {"LabelMonGearAuto2", P::Caption, "2"},
    {"LabelMonGearAuto3", P::Caption, "3"},
    {"LabelMonGearAuto4", P::Caption, "4"},
    {"LabelMonGearAuto5", P::Caption, "5"},
    {"LabelMonGearAuto6", P::Caption, "6"},
    {"LabelGearAutoTime", P::Caption, "Min Time [s]"},
    {"LabelGearAutoRpm", P::Caption, "Min Rpm"},
    {"LabelGearAutoTps", P::Caption, "Min TPS [%]"},
    {"LabelGearAutoBand", P::Caption, "Band [0.1%]"},
    {"GroupBoxPulsuProSpeed", P::Caption, "Setting of speed speedometer"},
    {"RadioGroupSpeedMode", P::Items, "Pulse over 1s for 100 km/hod\nDistance for pulse [mm]"},

    // Monitor page.
    {"TabSheet_Monitor", P::Caption, "Monitor"},
    {"GroupBox1", P::Caption, "Vstřik"},
    {"GroupBox4", P::Caption, "Předstih"},

    // Menus. The port items are created at run time under MenuCom, Com 1 first.
    {"Menu_Jet123Stejny", P::Caption, " 1 = 2"},
    {"MenuToolsMinus", P::Caption, "Minus "},
    {"MenuToolsPlus", P::Caption, "Plus"},
    {"MenuCom", P::Items,
     "Com 1\nCom 2\nCom 3\nCom 4\nCom 5\nCom 6\nCom 7\nCom 8\nCom 9\nCom 10\n"
     "Com 11\nCom 12\nCom 13\nCom 14\nCom 15\nCom 16\nCom 17\nCom 18\nCom 19\nCom 20"},
    {"MenuEnglish", P::Hint, "|Set Englich menu"},
    {"MenuHelp", P::Hint, "Not available jet"},
});

}  // namespace

std::span<const FixedUiText> fixedUiTextTable() {
    return kFixedTexts;
}

}  // namespace zelvor::i18n
