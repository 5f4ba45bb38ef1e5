#include "editing/memo_text.h"

#include <gtest/gtest.h>

#include "model/field_table.h"

namespace zelvor::editing {
namespace {

using model::Field;
using model::ParameterImage;

std::string memoBytesOf(const ParameterImage& image) {
    std::string out;
    for (std::size_t i = 0; i < kMemoLength; ++i) {
        out.push_back(static_cast<char>(image.get(Field::MEMO_Text, i)));
    }
    return out;
}

TEST(MemoText, FullLengthTextHasNoZeroInsideAndTheTerminatorStaysZero) {
    const std::string text(kMemoLength, 'x');
    ParameterImage image;
    storeMemo(image, text, CodePage::Windows1252);
    EXPECT_EQ(memoBytesOf(image), text);
    EXPECT_EQ(image.get(Field::MEMO_Terminator), 0);
    EXPECT_EQ(loadMemo(image, CodePage::Windows1252), text);

    storeMemo(image, std::string(250, 'y'), CodePage::Windows1252);
    EXPECT_EQ(memoBytesOf(image), std::string(kMemoLength, 'y'));
    EXPECT_EQ(image.get(Field::MEMO_Terminator), 0);
}

TEST(MemoText, ShorterTextIsEndedAndLeavesNoOldBytesBehind) {
    ParameterImage image;
    storeMemo(image, std::string(kMemoLength, 'Z'), CodePage::Windows1252);
    storeMemo(image, "abc", CodePage::Windows1252);
    EXPECT_EQ(memoBytesOf(image), std::string("abc") + std::string(kMemoLength - 3, '\0'));
    EXPECT_EQ(loadMemo(image, CodePage::Windows1252), "abc");
}

TEST(MemoText, LinesAreJoinedByCrLfAndShownWithNewlines) {
    EXPECT_EQ(memoBytes("a\nb\r\nc\rd", CodePage::Windows1252),
              (std::vector<std::uint8_t>{'a', 13, 10, 'b', 13, 10, 'c', 13, 10, 'd'}));
    ParameterImage image;
    storeMemo(image, "one\n\ntwo", CodePage::Windows1252);
    EXPECT_EQ(loadMemo(image, CodePage::Windows1252), "one\n\ntwo");
}

TEST(MemoText, LineBreakAtTheLimitIsNotCutInHalf) {
    const std::string text = std::string(kMemoLength - 1, 'x') + "\ny";
    ParameterImage image;
    storeMemo(image, text, CodePage::Windows1252);
    EXPECT_EQ(image.get(Field::MEMO_Text, kMemoLength - 2), 'x');
    EXPECT_EQ(image.get(Field::MEMO_Text, kMemoLength - 1), 0);
    EXPECT_EQ(loadMemo(image, CodePage::Windows1252), std::string(kMemoLength - 1, 'x'));
}

TEST(MemoText, CzechLettersRoundTripInWindows1250) {
    const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy";
    const auto bytes = memoBytes(czech, CodePage::Windows1250);
    ASSERT_EQ(bytes.size(), 38u);  // one byte per letter
    EXPECT_EQ(bytes[1], 0xF8);     // ř
    EXPECT_EQ(bytes[7], 0x9E);     // ž
    ParameterImage image;
    storeMemo(image, czech, CodePage::Windows1250);
    EXPECT_EQ(loadMemo(image, CodePage::Windows1250), czech);
}

TEST(MemoText, CharactersOutsideThePageBecomeQuestionMarks) {
    EXPECT_EQ(memoBytes("ř€é", CodePage::Windows1252),
              (std::vector<std::uint8_t>{'?', 0x80, 0xE9}));
    EXPECT_EQ(memoBytes("ñ→", CodePage::Windows1250), (std::vector<std::uint8_t>{'?', '?'}));
    // Malformed UTF-8: a stray continuation byte and a truncated sequence.
    EXPECT_EQ(memoBytes("a\x80z\xC5", CodePage::Windows1250),
              (std::vector<std::uint8_t>{'a', '?', 'z', '?'}));
}

TEST(MemoText, EveryByteSurvivesDecodeAndEncode) {
    for (CodePage page : {CodePage::Windows1250, CodePage::Windows1252}) {
        std::vector<std::uint8_t> all;
        for (int b = 1; b < 256; ++b) all.push_back(static_cast<std::uint8_t>(b));
        EXPECT_EQ(encode(decode(all, page), page), all);
    }
}

TEST(CodePage, TheSameBytesReadAsTheirCodePageHasThem) {
    const std::vector<std::uint8_t> bytes = {'Z', 0xE9, 'l', 0xF8, 0x9E};
    EXPECT_EQ(decode(bytes, CodePage::Windows1250), "Zélřž");
    EXPECT_EQ(decode(bytes, CodePage::Windows1252), "Zéløž");
}

TEST(CodePage, RepresentableLettersAreExactlyThoseThePageHolds) {
    EXPECT_TRUE(representable(U'a', CodePage::Windows1252));
    EXPECT_TRUE(representable(U'\n', CodePage::Windows1250));
    for (char32_t c : {U'ř', U'č', U'ě', U'ů', U'ň', U'ő', U'ł'}) {
        EXPECT_TRUE(representable(c, CodePage::Windows1250)) << static_cast<unsigned>(c);
        EXPECT_FALSE(representable(c, CodePage::Windows1252)) << static_cast<unsigned>(c);
    }
    for (char32_t c : {U'ñ', U'è', U'ø', U'æ'}) {
        EXPECT_FALSE(representable(c, CodePage::Windows1250)) << static_cast<unsigned>(c);
        EXPECT_TRUE(representable(c, CodePage::Windows1252)) << static_cast<unsigned>(c);
    }
    for (char32_t c : {U'é', U'€', U'ž', U'ä'}) {
        EXPECT_TRUE(representable(c, CodePage::Windows1250));
        EXPECT_TRUE(representable(c, CodePage::Windows1252));
    }
    EXPECT_FALSE(representable(U'→', CodePage::Windows1250));
    EXPECT_FALSE(representable(U'\U0001F600', CodePage::Windows1252));
}

TEST(CodePage, DisplayTextShowsLettersAndHidesControls) {
    const std::vector<std::uint8_t> name = {'Z', 0xE9, 'l', 'v', 'o', 'r'};
    EXPECT_EQ(decodeForDisplay(name, CodePage::Windows1252), "Zélvor");
    EXPECT_EQ(decodeForDisplay(name, CodePage::Windows1250), "Zélvor");
    const std::vector<std::uint8_t> odd = {0x07, 'A', 0x7F, 0x81, 0x8D, 0xA0, 0xC8};
    EXPECT_EQ(decodeForDisplay(odd, CodePage::Windows1252), "?A???\u00A0È");
    EXPECT_EQ(decodeForDisplay(odd, CodePage::Windows1250), "?A??Ť\u00A0Č");  // 0x8D is Ť
}

TEST(CodePage, NumbersAndLocales) {
    EXPECT_EQ(codePageNumber(CodePage::Windows1250), 1250);
    EXPECT_EQ(codePageNumber(CodePage::Windows1252), 1252);
    EXPECT_EQ(codePageFromNumber(1250), CodePage::Windows1250);
    EXPECT_EQ(codePageFromNumber(1252), CodePage::Windows1252);
    for (int other : {0, 1251, 65001, -1250}) EXPECT_FALSE(codePageFromNumber(other)) << other;

    for (const char* central : {"cs_CZ.UTF-8", "sk_SK", "pl_PL.UTF-8", "hu_HU", "sl_SI",
                                "hr_HR.UTF-8", "ro_RO", "cs", "hu-HU", "pl_PL@euro"}) {
        EXPECT_EQ(defaultCodePage(central), CodePage::Windows1250) << central;
    }
    // Kashubian (csb) only starts like Czech.
    for (const char* western :
         {"en_US.UTF-8", "de_DE", "fr_FR.UTF-8", "C", "POSIX", "", "csb_PL", "sv_SE", "C.UTF-8"}) {
        EXPECT_EQ(defaultCodePage(western), CodePage::Windows1252) << western;
    }
}

}  // namespace
}  // namespace zelvor::editing
