#include "editing/map_clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <variant>

#include "editing/clipboard_number.h"
#include "model/default_set.h"
#include "model/sanitizer.h"

namespace zelvor::editing {
namespace {

using model::Field;
using Kind = ClipboardNumber::Kind;

constexpr PlausibleRange kRpm{300, 25000};
constexpr PlausibleRange kDegrees{0, 60};
constexpr PlausibleRange kPercent{0, 65535};
constexpr PlausibleRange kMs{0, 65.535};

double numberOf(std::string_view text, PlausibleRange range, bool percentSign = false) {
    const ClipboardNumber read = readClipboardNumber(text, range, percentSign);
    EXPECT_EQ(read.kind, Kind::Number) << text;
    return read.value;
}

bool isNoNumber(std::string_view text, bool percentSign = false) {
    return readClipboardNumber(text, kPercent, percentSign).kind == Kind::NotANumber;
}

TEST(ClipboardNumberTest, ReadsNumbersAsSpreadsheetsInEveryLanguageWriteThem) {
    EXPECT_EQ(numberOf("45", kDegrees), 45);
    EXPECT_EQ(numberOf("  45 ", kDegrees), 45);
    EXPECT_EQ(numberOf("\xC2\xA0"
                       "45\xE2\x80\xAF",
                       kDegrees),
              45);
    EXPECT_EQ(numberOf("12.5", kDegrees), 12.5);
    EXPECT_EQ(numberOf("12,5", kDegrees), 12.5);
    EXPECT_EQ(numberOf(".5", kDegrees), 0.5);
    EXPECT_EQ(numberOf("-3", kDegrees), -3);
    EXPECT_EQ(numberOf("+3", kDegrees), 3);
    EXPECT_EQ(numberOf("1,234.5", kPercent), 1234.5);
    EXPECT_EQ(numberOf("1.234,5", kPercent), 1234.5);
    EXPECT_EQ(numberOf("10 500", kRpm), 10500);
    EXPECT_EQ(numberOf("10\xC2\xA0"
                       "500",
                       kRpm),
              10500);
    EXPECT_EQ(numberOf("12'500", kRpm), 12500);
    EXPECT_EQ(numberOf("1 234 567,25", kPercent), 1234567.25);
    EXPECT_EQ(numberOf("1.234.567", kPercent), 1234567);
    EXPECT_EQ(numberOf("0,500", kPercent), 0.5);  // a leading 0 groups no thousands
    EXPECT_EQ(numberOf("105%", kPercent, true), 105);
    EXPECT_EQ(numberOf("105 %", kPercent, true), 105);
}

TEST(ClipboardNumberTest, AThreeDigitGroupAfterOneMarkIsReadAsTheValueThatFits) {
    EXPECT_EQ(numberOf("3,000", kRpm), 3000);
    EXPECT_EQ(numberOf("10.500", kRpm), 10500);
    EXPECT_EQ(numberOf("1,000", kDegrees), 1);
    EXPECT_EQ(numberOf("1.234", kMs), 1.234);
    EXPECT_EQ(numberOf("70,000", kDegrees), 70);  // neither fits: the decimal reading
    const ClipboardNumber both = readClipboardNumber("1,000", kPercent);
    EXPECT_EQ(both.kind, Kind::Ambiguous);
    EXPECT_EQ(both.value, 1);
    EXPECT_EQ(both.grouped, 1000);
}

TEST(ClipboardNumberTest, AnythingElseIsNoNumber) {
    for (const char* text :
         {"",     "  ",        "abc",       "1e3",  "0x10",  "1,2,3",       "12.",
          "1..2", "1.2.3,4,5", "1,234 567", "1 2",  "12 34", "--5",         "- 5",
          "5-",   "inf",       "nan",       "4 5%", "%",     "1.234,567.8", "12,34,567"}) {
        EXPECT_TRUE(isNoNumber(text, true)) << text;
    }
    EXPECT_TRUE(isNoNumber("105%"));  // no percent sign where none belongs
}

class MapClipboardTest : public ::testing::Test {
  protected:
    MapClipboardTest() {
        model::loadDefaultSet(image);
        image.set(Field::JET1_MISC_Jet123Mode, 0);
        for (std::size_t k = 0; k < model::kMapCells; ++k) {
            image.set(Field::ADVANCE_Cell, k, (k * 7) % 61);
            image.set(Field::JET_1A_Cell, k, 700 + 13 * k);
            image.set(Field::JET_2A_Cell, k, 4000 - 11 * k);
        }
        image.set(Field::JET_1A_Cell, 16, 60000);  // far above 1000 %
        model::sanitize(image);
    }

    std::variant<MapEdit, PasteError> paste(std::string_view text, MapId map,
                                            MapSelection selection = MapSelection::wholeMap(),
                                            GridCell at = {}, bool inMs = false) const {
        return pasteMapText(text, map, image, selection, at, inMs);
    }

    MapEdit pasted(std::string_view text, MapId map,
                   MapSelection selection = MapSelection::wholeMap(), GridCell at = {},
                   bool inMs = false) const {
        auto result = paste(text, map, selection, at, inMs);
        if (const auto* error = std::get_if<PasteError>(&result)) {
            ADD_FAILURE() << describePasteError(*error);
            return {};
        }
        return std::get<MapEdit>(result);
    }

    std::string refusal(std::string_view text, MapId map, GridCell at = {}) const {
        auto result = paste(text, map, MapSelection::wholeMap(), at);
        if (const auto* error = std::get_if<PasteError>(&result)) return describePasteError(*error);
        ADD_FAILURE() << "accepted: " << text;
        return {};
    }

    model::ParameterImage image;
};

TEST_F(MapClipboardTest, TheWholeMapComesWithItsAxesASelectionAsItsCells) {
    const MapContent content = readMapContent(MapId::Jet1A, image);
    const std::string whole = formatMapText(MapId::Jet1A, content, MapSelection::wholeMap());
    EXPECT_TRUE(whole.starts_with("\t" + std::to_string(content.axis[0]) + "\t" +
                                  std::to_string(content.axis[1]) + "\t"));
    EXPECT_NE(whole.find("\n0\t" + std::to_string(content.cells[0]) + "\t"), std::string::npos);
    EXPECT_NE(whole.find("\n100\t" + std::to_string(content.cells[135]) + "\t"), std::string::npos);
    EXPECT_TRUE(whole.ends_with("\t" + std::to_string(content.cells[149]) + "\n"));
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 11);
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\t'), 11 * 15);

    // Cells 15, 16, 30, 31 hold 895, 60000, 1090 and 1103 us; cell 16 far
    // more than 1000 %, which comes as it is, not as the grid's 1000.
    const MapSelection s = MapSelection::spanning({.row = 1, .column = 0}, {.row = 2, .column = 1});
    const auto cell = [&](int k) {
        return std::to_string(content.cells[static_cast<std::size_t>(k)]);
    };
    EXPECT_EQ(formatMapText(MapId::Jet1A, content, s),
              cell(15) + "\t" + cell(16) + "\n" + cell(30) + "\t" + cell(31) + "\n");
    EXPECT_GT(content.cells[16], 1000);
    EXPECT_EQ(formatMapText(MapId::Jet1A, content, s, true), "0.895\t60.000\n1.090\t1.103\n");
}

TEST_F(MapClipboardTest, FormatThenPasteIsTheIdentity) {
    for (MapId map : {MapId::Advance, MapId::Jet1A, MapId::Jet2A}) {
        for (bool inMs : {false, true}) {
            const MapContent content = readMapContent(map, image);
            const MapSelection whole = MapSelection::wholeMap();
            const MapEdit edit =
                pasted(formatMapText(map, content, whole, inMs), map, whole, {}, inMs);
            ASSERT_TRUE(edit.axis);
            EXPECT_EQ(*edit.axis, content.axis);
            EXPECT_EQ(edit.cells, content.cells);

            const MapSelection part =
                MapSelection::spanning({.row = 3, .column = 4}, {.row = 8, .column = 13});
            const MapEdit block =
                pasted(formatMapText(map, content, part, inMs), map, part, part.topLeft(), inMs);
            EXPECT_FALSE(block.axis);
            EXPECT_EQ(block.cells, content.cells);
        }
    }
}

TEST_F(MapClipboardTest, ABlockGoesToTheCellAndASingleNumberFillsTheSelection) {
    const MapContent content = readMapContent(MapId::Advance, image);
    // CR LF, blank fields and lines at the ends and a byte order mark carry nothing.
    MapEdit edit = pasted(
        "\xEF\xBB\xBF"
        "1\t2\t3\t\r\n4\t5\t6 \t \r\n\r\n \n",
        MapId::Advance, MapSelection::wholeMap(), {.row = 8, .column = 12});
    MapCells expected = content.cells;
    for (int i = 0; i < 6; ++i) expected[cellIndex(8 + i / 3, 12 + i % 3)] = i + 1;
    EXPECT_EQ(edit.cells, expected);

    const MapSelection s = MapSelection::spanning({.row = 2, .column = 2}, {.row = 4, .column = 5});
    edit = pasted(" 12,4 \n\n", MapId::Advance, s, {.row = 9, .column = 9});
    expected = content.cells;
    for (int r = 2; r <= 4; ++r) {
        for (int c = 2; c <= 5; ++c) expected[cellIndex(r, c)] = 12;
    }
    EXPECT_EQ(edit.cells, expected);
    // Held by the map's limits.
    EXPECT_EQ(pasted("75", MapId::Advance, s).cells[cellIndex(3, 3)], 60);
    EXPECT_EQ(pasted("5000", MapId::Jet1A, s).cells[cellIndex(3, 3)], 1000);
}

TEST_F(MapClipboardTest, TextThatDoesNotFitIsRefusedNamingRowAndColumn) {
    std::string elevenRows;
    for (int r = 0; r < 11; ++r) elevenRows += "1\t2\n";
    EXPECT_EQ(refusal(elevenRows, MapId::Advance),
              "Row 11, column 1: too many rows; from the cell the text goes to, the map has room "
              "for 10 rows.");
    EXPECT_EQ(refusal("1\n2\n3", MapId::Advance, {.row = 8, .column = 0}),
              "Row 3, column 1: too many rows; from the cell the text goes to, the map has room "
              "for 2 rows.");
    EXPECT_EQ(refusal("1\t2\n1\t2\t3\t4", MapId::Advance, {.row = 0, .column = 12}),
              "Row 2, column 4: too many columns; from the cell the text goes to, the map has "
              "room for 3 columns.");
    EXPECT_EQ(refusal("1\t2\n3\tx4\n", MapId::Advance), "Row 2, column 2: \"x4\" is not a number.");
    EXPECT_EQ(refusal("1\t2\n3\n", MapId::Advance), "Row 2, column 2: a number is missing.");
    EXPECT_EQ(refusal("1\t\t2\n", MapId::Advance), "Row 1, column 2: a number is missing.");
    EXPECT_EQ(refusal("1,000", MapId::Jet1A),
              "Row 1, column 1: \"1,000\" can be read as 1 or as 1000; write it without a "
              "thousands separator.");
    EXPECT_EQ(refusal(" \n\t\n", MapId::Jet1A), "The text holds no numbers.");
}

TEST_F(MapClipboardTest, AWholeMapNeedsTheMapsThrottleRowsInOrder) {
    const MapContent content = readMapContent(MapId::Advance, image);
    std::string text = formatMapText(MapId::Advance, content, MapSelection::wholeMap());
    const std::size_t row4 = text.find("\n10\t");
    ASSERT_NE(row4, std::string::npos);
    text.replace(row4, 4, "\n12\t");
    EXPECT_EQ(refusal(text, MapId::Advance),
              "Row 5, column 1: this row of the map is the 10 % throttle row, not \"12\".");
    text.replace(row4, 4, "\n10%\t");
    EXPECT_TRUE(std::holds_alternative<MapEdit>(paste(text, MapId::Advance)));
    // The corner may hold a caption.
    EXPECT_TRUE(std::holds_alternative<MapEdit>(paste("TPS \\ RPM" + text, MapId::Advance)));
}

TEST_F(MapClipboardTest, TimesInMsBecomeTheNearestPercentOfTheBaseTime) {
    const MapContent content = readMapContent(MapId::Jet2A, image);
    const std::uint16_t base = content.baseTimes[cellIndex(0, 3)];
    const MapEdit edit = pasted("2,5", MapId::Jet2A, MapSelection::single({.row = 0, .column = 3}),
                                {.row = 0, .column = 3}, true);
    EXPECT_EQ(edit.cells[cellIndex(0, 3)], model::percentFromWord(2500, base));

    // With a new axis the new base times count.
    MapContent moved = content;
    moved.axis[0] = 1000;
    moved.words[0] = 3000;
    const MapEdit whole = pasted(formatMapText(MapId::Jet2A, moved, MapSelection::wholeMap(), true),
                                 MapId::Jet2A, MapSelection::wholeMap(), {}, true);
    model::ParameterImage withAxis = image;
    withAxis.set(Field::RPM_JET_2A_Rpm, 0, 10);
    EXPECT_EQ(whole.cells[0],
              model::percentFromWord(3000, readMapContent(MapId::Jet2A, withAxis).baseTimes[0]));
}

TEST_F(MapClipboardTest, MapTwoTakesNoPasteWhileItFollowsMapOne) {
    image.set(Field::JET1_MISC_Jet123Mode, 1);
    EXPECT_EQ(refusal("5", MapId::Jet2A),
              "Injection map 2 follows map 1 while the maps are coupled or equal; change map 1 "
              "instead.");
}

}  // namespace
}  // namespace zelvor::editing
