#include "model/parameter_file_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/parameter_images.h"
#include "model/field_table.h"
#include "model/sanitizer.h"

namespace zelvor::model {
namespace {

using zelvor::testing::saneDefaults;

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

void setMemo(ParameterImage& image, std::string_view text) {
    const std::size_t start = descriptor(Field::MEMO_Text).offset;
    for (std::size_t i = 0; i < 199; ++i) {
        image.setByte(start + i, i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

// Everything from the given section's leading line break to the end.
std::string fromSection(const std::string& file, const std::string& name) {
    const std::size_t at = file.find("\r\n" + name + " ");
    return at == std::string::npos ? std::string() : file.substr(at);
}

TEST(ParameterFileWriter, DefaultSetStartsExactlyAsKnownFiles) {
    const std::string expected = joinLines({
        "ZARBOLIK_KEY    63 ",
        "",
        "BIKE             0 ",
        "             ",
        "APS             55  2247   105  4744 ",
        "WATER_TEMP_SENSOR   4505  3159  1665   741   331 ",
        "AIR_TEMP_SENSOR     4505  3159  1665   741   331 ",
        "INPUTS           1     1     0     1     1     1 ",
        "LIMITER       7000 10800 11100 10600    20 ",
        "TPS            340  4730 ",
        "FAN            102   104 ",
        "RPM              2     0 ",
        "NO_FUEL_IND            0 ",
        "",
        "ADVANCE_MISC     1     0     0     0 ",
        "RPM_ADV       1000  2000  3000  4000  5000  5500  6000  6500  7000  7500  8000  9000 "
        "10000 11000 12000 ",
        "ADVANCE          9    19    30    36    36    35    34    34    34    34    34    34    "
        "34    34    34 ",
    });
    const std::string file = formatParameterFile(saneDefaults());
    EXPECT_EQ(file.substr(0, expected.size()), expected);
}

TEST(ParameterFileWriter, MapsHaveOneRowPerLineAndEndWithAContinuation) {
    ParameterImage image = saneDefaults();
    for (unsigned k = 0; k < 150; ++k) image.set(Field::JET_2A_Cell, k, 60000 - k);
    const std::string section = fromSection(formatParameterFile(image), "JET_2A");
    const std::string firstLine =
        "JET_2A       60000 59999 59998 59997 59996 59995 59994 59993 "
        "59992 59991 59990 59989 59988 59987 59986 \r\n";
    ASSERT_EQ(section.substr(0, 2 + firstLine.size()), "\r\n" + firstLine);
    const std::string lastRowAndEnd =
        "\r\n             59865 59864 59863 59862 59861 59860 59859 "
        "59858 59857 59856 59855 59854 59853 59852 59851 "
        "\r\n             \r\nPOSITION_A ";
    EXPECT_NE(section.find(lastRowAndEnd), std::string::npos);
    // Ten rows: nine continuations inside the map, the tenth after it.
    const std::string body = section.substr(0, section.find("POSITION_A"));
    std::size_t continuations = 0;
    for (std::size_t at = body.find("\r\n             "); at != std::string::npos;
         at = body.find("\r\n             ", at + 1)) {
        ++continuations;
    }
    EXPECT_EQ(continuations, 10u);
}

// An image whose values make every conversion visible: signed values below
// zero, flags other than 1, the offsets of IDLE, TPS and CHOKE.
ParameterImage distinctiveImage() {
    ParameterImage image = saneDefaults();
    image.set(Field::TPS_Tps0, 0);
    image.set(Field::TPS_Tps100, 250);
    image.set(Field::RPM_RpmKorekce, 80);
    image.set(Field::ADVANCE_MISC_CylKor1, 85);
    image.set(Field::ADVANCE_MISC_CylKor2, 115);
    image.set(Field::ADVANCE_MISC_BaseAdv, 12);
    image.set(Field::JET1_MISC_Jet123Mode, 2);
    image.set(Field::POSITION_A_PolohaA, 2);
    image.set(Field::IDLE_IdleMode, 2);
    image.set(Field::IDLE_IdleRpmMez, 70);
    image.set(Field::IDLE_IdleTpsMez, 55);
    image.set(Field::IDLE_IdleSmerReg, 1);
    image.set(Field::IDLE_IdleStepPerioda, 10);
    image.set(Field::IDLE_IdleHyster, 30);
    image.set(Field::IDLE_IdleAdvNaRpm, 11);
    image.set(Field::IDLE_IdleAdvNaCas, 12);
    image.set(Field::IDLE_IdleMaxAdv, 26);
    const unsigned idleRpm[] = {50, 51, 52, 53, 54, 255};
    for (unsigned i = 0; i < 6; ++i) image.set(Field::IDLE_IdleRpmPoz, i, idleRpm[i]);
    const unsigned chokeCorrection[] = {0, 250, 100, 7};
    for (unsigned i = 0; i < 4; ++i) {
        image.set(Field::CHOKE_SyticCas, i, i + 1);
        image.set(Field::CHOKE_SyticKorekce, i, chokeCorrection[i]);
    }
    image.set(Field::START_INJ_StartJet, 50);
    image.set(Field::ACCEL_AkcelPrah, 250);
    image.set(Field::ACCEL_AkcelJet, 150);
    image.set(Field::N2O_Gas, 7);
    image.set(Field::N2O_Gas1, 10);
    image.set(Field::N2O_Gas2, 90);
    image.set(Field::N2O_GasT, 34);
    image.set(Field::N2O_GasD, 12);
    image.set(Field::N2O_Retard1, 3);
    image.set(Field::N2O_Retard2, 4);
    image.set(Field::N2O_RetardT, 56);
    image.set(Field::N2O_RetardD, 7);
    image.set(Field::SPEED_PULSES_SpeedMode, 0);
    image.set(Field::SPEED_PULSES_PulsuProSpeed, 32000);
    image.set(Field::GEAR_GearSystem, 1);
    image.set(Field::GEAR_PocetGear, 5);
    image.set(Field::GEAR_PomerRpmSpeed, 0, 65535);
    image.set(Field::GEAR_AUTO_GearAutoRpm, 3);
    const unsigned gearAdvance[] = {95, 100, 120, 80, 0, 255};
    for (unsigned g = 0; g < 6; ++g) {
        image.set(Field::GEAR_CORR_GearKorAdv, g, gearAdvance[g]);
        image.set(Field::GEAR_CORR_GearKorJet, g, 250 + g);
        image.set(Field::CLUTCH_ClutchTime, g, g + 1);
        image.set(Field::CLUTCH_ClutchPause, g, 10 * (g + 1));
    }
    image.set(Field::PILOT_LIGHT_PilotLight2, 5, 250);
    image.set(Field::CLUTCH_ClutchMode, 1);
    image.set(Field::CLUTCH_ClutchMinRpm, 25);
    image.set(Field::CLUTCH_ClutchJet, 40);
    image.set(Field::CLUTCH_ClutchAdv, 5);
    image.set(Field::DISPLAY_TempDisplay, 3);
    setMemo(image, "Line one\r\nLine two");
    return image;
}

TEST(ParameterFileWriter, EarlySectionsConvertAndSign) {
    const std::string file = formatParameterFile(distinctiveImage());
    for (const char* line : {
             "\r\nTPS              0  5000 \r\n",
             "\r\nRPM              2   -20 \r\n",
             "\r\nADVANCE_MISC     1   -15    15    12 \r\n",
             "\r\nJET1_MISC        2 \r\n",
             "\r\nPOSITION_A       2 \r\n              1000  2000",
             "  220   220   220 \r\nIDLE ",
         }) {
        EXPECT_NE(file.find(line), std::string::npos) << line;
    }
}

TEST(ParameterFileWriter, LaterSectionsByteForByte) {
    const std::string expected =
        "\r\n"
        "IDLE              2  1200    55     1  2500   300    11    12    26 \r\n"
        "               1000  1010  1020  1030  1040  3050 \r\n"
        "             \r\n"
        "CHOKE            1     2     3     4 \r\n"
        "               100   350   200   107 \r\n"
        "START_INJ       50 \r\n"
        "             \r\n"
        "INJ_CORR       113   109   105   100    97 \r\n"
        "               109   105   100   100   100 \r\n"
        "ACCEL         2500  7500 \r\n"
        "ADVANCE_CORR   110   110   100   100    95 \r\n"
        "             \r\n"
        // Delay before build-up time; the gas flag is written as 1.
        "N2O              1 \r\n"
        "                10    90  1200  3400 \r\n"
        "                 3     4   700  5600 \r\n"
        "SPEED_PULSES     0 32000 \r\n"
        "             \r\n"
        "GEAR             1     5 \r\n"
        "             \r\n"
        "             65535  1000   666   500   400   333 \r\n"
        "GEAR_AUTO        3   300    20    40 \r\n"
        "GEAR_CORR       -5     0    20   -20  -100   155 \r\n"
        "               250   251   252   253   254   255 \r\n"
        "PILOT_LIGHT   8800  8800  8800  8800  8800  8800 \r\n"
        "              9100  9100  9100  9100  9100 25000 \r\n"
        "CLUTCH           1  2500    40     5 \r\n"
        "                10    20    30    40    50    60 \r\n"
        "               100   200   300   400   500   600 \r\n"
        "\r\n"
        "DISPLAY          1\r\n"
        "             \r\n"
        "\r\n"
        "MEMO         \r\n"
        "Line one\r\n"
        "Line two\r\n";
    EXPECT_EQ(fromSection(formatParameterFile(distinctiveImage()), "IDLE"), expected);
}

TEST(ParameterFileWriter, FlagsAreZeroOrOne) {
    ParameterImage image = saneDefaults();
    image.set(Field::N2O_Gas, 0);
    image.set(Field::DISPLAY_TempDisplay, 0);
    const std::string file = formatParameterFile(image);
    EXPECT_NE(file.find("\r\nN2O              0 \r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nDISPLAY          0\r\n             \r\n\r\nMEMO"), std::string::npos);
}

TEST(ParameterFileWriter, MemoLines) {
    const std::string memoHeader = "\r\nMEMO         \r\n";
    ParameterImage image = saneDefaults();
    auto memoPart = [&] { return fromSection(formatParameterFile(image), "MEMO"); };

    setMemo(image, "");
    EXPECT_EQ(memoPart(), memoHeader);

    // Every line ends with a break, the empty last line of a text that ends
    // with a line break too.
    setMemo(image, "A\r\n\r\nB\r\n");
    EXPECT_EQ(memoPart(), memoHeader + "A\r\n\r\nB\r\n\r\n");
    setMemo(image, "A\r\nB");
    EXPECT_EQ(memoPart(), memoHeader + "A\r\nB\r\n");

    // Bytes after the first 0 carry no meaning.
    setMemo(image, "kept");
    image.setByte(descriptor(Field::MEMO_Text).offset + 10, 'x');
    EXPECT_EQ(memoPart(), memoHeader + "kept\r\n");

    // 199 bytes without a 0 are all written; the terminator is not part of the text.
    const std::string full(199, 'm');
    setMemo(image, full);
    image.set(Field::MEMO_Terminator, 'z');
    EXPECT_EQ(memoPart(), memoHeader + full + "\r\n");

    // Single bytes of any value pass unchanged.
    setMemo(image, "\xE8\xE1\tq");
    EXPECT_EQ(memoPart(), memoHeader + "\xE8\xE1\tq\r\n");
}

}  // namespace
}  // namespace zelvor::model
