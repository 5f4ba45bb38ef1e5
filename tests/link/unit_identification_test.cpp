#include "link/unit_identification.h"

#include <gtest/gtest.h>

#include <cstring>

#include "link_test_support.h"

namespace zelvor::link {
namespace {

TEST(UnitIdentification, TextsFromTheInformationBlock) {
    const UnitIdentification id = identifyUnit(testing::infoBlock(63));
    EXPECT_EQ(id.identification, "ABC07");
    EXPECT_EQ(id.date, "25. 2.2002");
    EXPECT_EQ(id.time, "14:05");
}

TEST(UnitIdentification, SingleDigitDayStartsWithABlank) {
    auto info = testing::infoBlock(63);
    info[4] = 5;
    info[5] = 12;
    info[6] = 19;
    info[7] = 9;
    info[8] = 0;
    const UnitIdentification id = identifyUnit(info);
    EXPECT_EQ(id.date, " 5.12.2019");
    EXPECT_EQ(id.time, "09:00");
}

TEST(UnitIdentification, MonthCodesAreTheSumsOfTheEnglishMonthNames) {
    const char* names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* texts[] = {" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10", "11", "12"};
    for (int m = 0; m < 12; ++m) {
        unsigned sum = 0;
        for (const char* c = names[m]; *c; ++c) sum += static_cast<unsigned char>(*c);
        EXPECT_EQ(monthText(static_cast<std::uint8_t>(sum % 256)), texts[m]) << names[m];
    }
    EXPECT_EQ(monthText(0), "00");
    EXPECT_EQ(monthText(14), "00");
    auto info = testing::infoBlock(63);
    info[5] = 200;
    EXPECT_EQ(identifyUnit(info).date, "25.00.2002");
}

TEST(UnitIdentification, OptionalTextReplacesTheShortIdentification) {
    auto info = testing::infoBlock(63);
    std::memcpy(&info[16], "ZELVOR RACE 2", 13);
    EXPECT_EQ(identifyUnit(info).identification, "ZELVOR RACE 2");

    for (int i = 16; i < 46; ++i) info[i] = static_cast<std::uint8_t>('a' + (i - 16) % 26);
    info[46] = 'X';  // beyond the 30 characters
    const std::string full = identifyUnit(info).identification;
    EXPECT_EQ(full.size(), 30u);
    EXPECT_EQ(full.back(), 'd');
}

TEST(UnitIdentification, UnprintableBytesBecomeQuestionMarks) {
    auto info = testing::infoBlock(63);
    info[1] = 0x07;
    info[2] = 0xE9;
    EXPECT_EQ(identifyUnit(info).identification, "A??07");
    EXPECT_EQ(identifyUnit(info).identificationBytes,
              "A\x07\xE9"
              "07");
}

TEST(UnitIdentification, TextBytesAreKeptForTheCodePageToDecode) {
    auto info = testing::infoBlock(63);
    std::memcpy(&info[16], "Z\xE9lvor \xF8", 8);
    const UnitIdentification id = identifyUnit(info);
    EXPECT_EQ(id.identificationBytes, "Z\xE9lvor \xF8");
    EXPECT_EQ(id.identification, "Z?lvor ?");
}

TEST(UnitIdentification, UnitTextIsOneLineWithoutPaddingOrEmptyParts) {
    auto info = testing::infoBlock(63);
    info[4] = 5;
    EXPECT_EQ(unitText(identifyUnit(info)), "ABC07 5. 2.2002 14:05");
    EXPECT_EQ(unitText({.identification = "  Zelvor 7  ",
                        .identificationBytes = "",
                        .date = "   ",
                        .time = "09:00"}),
              "Zelvor 7 09:00");
    EXPECT_EQ(unitText({}), "");
}

}  // namespace
}  // namespace zelvor::link
