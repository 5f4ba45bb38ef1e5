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
    EXPECT_EQ(memoCodePage(3), CodePage::Windows1250);
    EXPECT_EQ(memoCodePage(2), CodePage::Windows1252);
}

}  // namespace
}  // namespace zelvor::editing
