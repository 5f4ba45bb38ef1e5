#include "model/parameter_file_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../support/parameter_images.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::model {
namespace {

using zelvor::testing::saneDefaults;

constexpr std::size_t kMemoStart = 1150;

std::string withMagic(const std::string& body) {
    return "ZARBOLIK_KEY    63 \r\n" + body;
}

std::string memoText(const ParameterImage& image) {
    std::string text;
    for (std::size_t i = 0; i < 199 && image.byte(kMemoStart + i) != 0; ++i) {
        text += static_cast<char>(image.byte(kMemoStart + i));
    }
    return text;
}

bool isInFile(const FieldDescriptor& d) {
    return d.section != "FIXED" && d.section != "MEMO";
}

TEST(ParameterFileReader, NeedsTheMagicWordFollowedByVersion63) {
    const ParameterImage before = saneDefaults();
    for (const char* content :
         {"", "ZARBOLIK_KEY", "ZARBOLIK_KEY 62\r\nFAN 1 2\r\n", "zarbolik_key 63\r\nFAN 1 2",
          "ZARBOLIK_KEY63 FAN 1 2", "ZARBOLIK_KEY x63 FAN 1 2", "63 ZARBOLIK_KEY FAN 1 2",
          "\x01\x02\xff ZARBOLIK_KEYS 63"}) {
        ParameterImage image = before;
        EXPECT_EQ(parseParameterFile(content, image), ReadOutcome::VersionMismatch) << content;
        EXPECT_EQ(image, before) << content;
    }
}

TEST(ParameterFileReader, SkipsEverythingBeforeTheRightVersion) {
    ParameterImage image = saneDefaults();
    const std::string content =
        "FAN 1 1\r\nZARBOLIK_KEY 62\r\nFAN 2 2\r\nZARBOLIK_KEY ZARBOLIK_KEY\t63\r\nLIMITER 9000";
    ASSERT_EQ(parseParameterFile(content, image), ReadOutcome::Accepted);
    EXPECT_EQ(image.get(Field::FAN_Fan1), 102);  // both FAN sections lie before the version
    EXPECT_EQ(image.get(Field::FAN_Fan2), 104);
    EXPECT_EQ(image.get(Field::LIMITER_StartLimiter), 90);
}

TEST(ParameterFileReader, ConvertsEachSectionByItsRules) {
    ParameterImage image = saneDefaults();
    const std::string content = withMagic(
        "LIMITER 7050 10899 0 25500 7\r\n"
        "TPS 340 4730\r\n"
        "RPM 2 -20\r\n"
        "ADVANCE_MISC 1 +15 -15 40\r\n"
        "GEAR_CORR -5 0 20 -20 -100 155 1 2 3 4 5 6\r\n"
        "CHOKE 1 2 3 4 250 150 130 110\r\n"
        "ADVANCE_CORR 110 110 100 100 95\r\n"
        "IDLE 1 1000 50 1 1500 400 10 11 25 1000 1010 3050 400 495 500\r\n"
        "N2O 5 10 90 1200 3400 3 4 799 5600\r\n"
        "ACCEL 300 4249\r\n"
        "DISPLAY 1\r\n");
    ASSERT_EQ(parseParameterFile(content, image), ReadOutcome::Accepted);
    EXPECT_EQ(image.get(Field::LIMITER_StartLimiter), 70);
    EXPECT_EQ(image.get(Field::LIMITER_IgnLimiter), 108);
    EXPECT_EQ(image.get(Field::LIMITER_JetLimiter), 0);
    EXPECT_EQ(image.get(Field::LIMITER_RetardLimiterRpm), 255);
    EXPECT_EQ(image.get(Field::LIMITER_RetardLimiterAdv), 7);
    EXPECT_EQ(image.get(Field::TPS_Tps0), 34);
    EXPECT_EQ(image.get(Field::TPS_Tps100), 223);
    EXPECT_EQ(image.get(Field::RPM_RpmKorekce), 80);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_CylKor1), 115);
    EXPECT_EQ(image.get(Field::ADVANCE_MISC_CylKor2), 85);
    const unsigned gearAdvance[] = {95, 100, 120, 80, 0, 255};
    for (unsigned g = 0; g < 6; ++g) {
        EXPECT_EQ(image.get(Field::GEAR_CORR_GearKorAdv, g), gearAdvance[g]);
        EXPECT_EQ(image.get(Field::GEAR_CORR_GearKorJet, g), g + 1);
    }
    const unsigned chokeCorrection[] = {150, 50, 30, 10};
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(image.get(Field::CHOKE_SyticKorekce, i), chokeCorrection[i]);
    }
    // Taken as stored bytes: +10, +10, 0, 0 and -5 degrees.
    const unsigned ignition[] = {110, 110, 100, 100, 95};
    for (unsigned i = 0; i < 5; ++i)
        EXPECT_EQ(image.get(Field::ADVANCE_CORR_IgnVoda, i), ignition[i]);
    EXPECT_EQ(image.get(Field::IDLE_IdleRpmMez), 50);
    EXPECT_EQ(image.get(Field::IDLE_IdleStepPerioda), 6);
    EXPECT_EQ(image.get(Field::IDLE_IdleHyster), 40);
    EXPECT_EQ(image.get(Field::IDLE_IdleAdvNaCas), 11);
    // The offset is taken off before dividing: 400 gives -10, kept modulo 256.
    const unsigned idleRpm[] = {50, 51, 255, 246, 0, 0};
    for (unsigned i = 0; i < 6; ++i) EXPECT_EQ(image.get(Field::IDLE_IdleRpmPoz, i), idleRpm[i]);
    // The flag is stored as read; delay comes before build-up time.
    EXPECT_EQ(image.get(Field::N2O_Gas), 5);
    EXPECT_EQ(image.get(Field::N2O_GasD), 12);
    EXPECT_EQ(image.get(Field::N2O_GasT), 34);
    EXPECT_EQ(image.get(Field::N2O_RetardD), 7);
    EXPECT_EQ(image.get(Field::N2O_RetardT), 56);
    EXPECT_EQ(image.get(Field::ACCEL_AkcelJet), 84);
    EXPECT_EQ(image.get(Field::DISPLAY_TempDisplay), 1);
}

TEST(ParameterFileReader, NumbersWrapModulo65536ThenBytesModulo256) {
    ParameterImage image = saneDefaults();
    const std::string content = withMagic(
        "APS 70000 -1 65535 123456789012345678901234567890\r\n"
        "FAN 300 -1\r\n"
        "TPS 2495 2495\r\n"
        "SPEED_PULSES 256 65536\r\n");
    ASSERT_EQ(parseParameterFile(content, image), ReadOutcome::Accepted);
    EXPECT_EQ(image.get(Field::APS_ApsTlak1), 70000 - 65536);
    EXPECT_EQ(image.get(Field::APS_ApsNapeti1), 65535);
    EXPECT_EQ(image.get(Field::APS_ApsTlak2), 65535);
    EXPECT_EQ(image.get(Field::APS_ApsNapeti2), 2770);  // 1234...890 mod 65536
    EXPECT_EQ(image.get(Field::FAN_Fan1), 44);
    EXPECT_EQ(image.get(Field::FAN_Fan2), 255);
    EXPECT_EQ(image.get(Field::TPS_Tps0), 249);
    EXPECT_EQ(image.get(Field::TPS_Tps100), 255);  // 249 - 250, modulo 256
    EXPECT_EQ(image.get(Field::SPEED_PULSES_SpeedMode), 0);
    EXPECT_EQ(image.get(Field::SPEED_PULSES_PulsuProSpeed), 0);
}

TEST(ParameterFileReader, SectionsInAnyOrderLastWinsUnknownIgnoredAbsentKept) {
    ParameterImage image = saneDefaults();
    image.set(Field::IDLE_IdleMode, 2);
    const std::string longToken(100000, 'Q');
    const std::string content = withMagic("FAN 50 60 70 80\r\n" + longToken +
                                          " fan 1 2 BIKE 3 FAN_X 9 TPS_ 1\r\n"
                                          "Fan 5 5\tFAN 90 91 RPM 3 -10");
    ASSERT_EQ(parseParameterFile(content, image), ReadOutcome::Accepted);
    EXPECT_EQ(image.get(Field::FAN_Fan1), 90);
    EXPECT_EQ(image.get(Field::FAN_Fan2), 91);
    EXPECT_EQ(image.get(Field::BIKE_BikeType), 3);
    EXPECT_EQ(image.get(Field::TPS_Tps0), 34);
    EXPECT_EQ(image.get(Field::RPM_RpmPulsu), 3);
    EXPECT_EQ(image.get(Field::RPM_RpmKorekce), 90);
    EXPECT_EQ(image.get(Field::IDLE_IdleMode), 2);  // no IDLE section
}

TEST(ParameterFileReader, ShortSectionRepeatsTheLastNumberByEachFieldsRule) {
    ParameterImage image = saneDefaults();
    // LIMITER stops at TPS, which is still read as a section; FAN has no
    // number before a word and takes the -20 read last; the end of the file
    // cuts CHOKE short.
    const std::string content =
        withMagic("LIMITER 7000 10800 TPS 340 4730 RPM 2 -20 FAN junk 7 CHOKE 1 2 3 4 250");
    ASSERT_EQ(parseParameterFile(content, image), ReadOutcome::Accepted);
    EXPECT_EQ(image.get(Field::LIMITER_StartLimiter), 70);
    EXPECT_EQ(image.get(Field::LIMITER_IgnLimiter), 108);
    EXPECT_EQ(image.get(Field::LIMITER_JetLimiter), 108);
    EXPECT_EQ(image.get(Field::LIMITER_RetardLimiterRpm), 108);
    EXPECT_EQ(image.get(Field::LIMITER_RetardLimiterAdv), 10800 % 256);
    EXPECT_EQ(image.get(Field::TPS_Tps0), 34);
    EXPECT_EQ(image.get(Field::TPS_Tps100), 223);
    EXPECT_EQ(image.get(Field::RPM_RpmKorekce), 80);
    for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(image.get(Field::CHOKE_SyticKorekce, i), 150);
    EXPECT_EQ(image.get(Field::FAN_Fan1), (65536 - 20) % 256);
    EXPECT_EQ(image.get(Field::FAN_Fan2), (65536 - 20) % 256);

    // Straight after the version, the version itself is the last number.
    ParameterImage other = saneDefaults();
    ASSERT_EQ(parseParameterFile(withMagic("BIKE\r\nAPS 1 2 3 4"), other), ReadOutcome::Accepted);
    EXPECT_EQ(other.get(Field::BIKE_BikeType), 63);
    EXPECT_EQ(other.get(Field::APS_ApsNapeti2), 4);
}

TEST(ParameterFileReader, MemoTakes199RawBytesAndEndsTheReading) {
    ParameterImage image = saneDefaults();
    for (std::size_t i = 0; i < 199; ++i) image.setByte(kMemoStart + i, 'x');
    image.set(Field::MEMO_Terminator, 0x5A);

    // Leading blanks and empty lines are lost, digits are kept, the rest is
    // padded with zeros.
    ASSERT_EQ(parseParameterFile(withMagic("MEMO \r\n\r\n  12 kW\r\nFAN 1 1\r\n"), image),
              ReadOutcome::Accepted);
    // The file's last line break only closes the memo's last line.
    EXPECT_EQ(memoText(image), "12 kW\r\nFAN 1 1");
    for (std::size_t i = 14; i < 199; ++i) ASSERT_EQ(image.byte(kMemoStart + i), 0) << i;
    EXPECT_EQ(image.get(Field::FAN_Fan1), 102);  // inside the memo, not a section
    EXPECT_EQ(image.get(Field::MEMO_Terminator), 0x5A);

    // A longer body is cut after 199 bytes; sections after it are ignored.
    const std::string body(199, 'b');
    ASSERT_EQ(parseParameterFile(withMagic("MEMO\t" + body + "FAN 1 1\r\nMEMO other"), image),
              ReadOutcome::Accepted);
    EXPECT_EQ(memoText(image), body);
    EXPECT_EQ(image.get(Field::FAN_Fan1), 102);

    // Any byte value, a 0 included, is taken as it is.
    const std::string raw("a\0\xff", 3);
    ASSERT_EQ(parseParameterFile(withMagic("MEMO " + raw), image), ReadOutcome::Accepted);
    EXPECT_EQ(image.byte(kMemoStart + 2), 0xff);

    // MEMO at the very end leaves an empty memo.
    ASSERT_EQ(parseParameterFile(withMagic("MEMO"), image), ReadOutcome::Accepted);
    EXPECT_EQ(memoText(image), "");
}

// A sanitized image with every byte of the file's fields random, flags 0/1
// and a memo as the reader gives it back (ending in a line break).
ParameterImage randomImage(std::mt19937& random) {
    ParameterImage image;
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : image.bytes()) b = static_cast<std::uint8_t>(byte(random));
    image.set(Field::N2O_Gas, byte(random) & 1);
    image.set(Field::DISPLAY_TempDisplay, byte(random) & 1);
    sanitize(image);
    std::string memo;
    const int length = std::uniform_int_distribution<int>(0, 150)(random);
    for (int i = 0; i < length; ++i) memo += static_cast<char>(byte(random) % 94 + 33);
    if (!memo.empty()) memo += "\r\n";
    for (std::size_t i = 0; i < 199; ++i) {
        image.setByte(kMemoStart + i, i < memo.size() ? static_cast<std::uint8_t>(memo[i]) : 0);
    }
    return image;
}

TEST(ParameterFileRoundTrip, ReadingWhatWasWrittenRestoresEveryFieldAndTouchesNothingElse) {
    std::mt19937 random(20240601);
    std::vector<ParameterImage> written = {saneDefaults()};
    for (int n = 0; n < 200; ++n) written.push_back(randomImage(random));
    for (const ParameterImage& original : written) {
        // The target holds other bytes everywhere, unit constants and reserved bytes included.
        ParameterImage target = randomImage(random);
        const ParameterImage targetBefore = target;
        const std::string file = formatParameterFile(original);
        ASSERT_EQ(parseParameterFile(file, target), ReadOutcome::Accepted);
        for (const FieldDescriptor& d : kFieldTable) {
            if (d.id == Field::MEMO_Text) continue;
            const ParameterImage& expected = isInFile(d) ? original : targetBefore;
            for (std::size_t i = 0; i < d.count; ++i) {
                ASSERT_EQ(target.get(d.id, i), expected.get(d.id, i)) << qualifiedName(d.id) << i;
            }
        }
        EXPECT_EQ(memoText(target), memoText(original));
        for (std::size_t offset = 0; offset < ParameterImage::kSize; ++offset) {
            if (isReservedOffset(offset)) {
                ASSERT_EQ(target.byte(offset), targetBefore.byte(offset)) << offset;
            }
        }
        // And writing again gives the same bytes.
        ASSERT_EQ(formatParameterFile(target), file);
    }
}

TEST(ParameterFileRoundTrip, OneReadNormalizesFlagsAndMemoForGood) {
    ParameterImage image = saneDefaults();
    image.set(Field::N2O_Gas, 9);
    image.set(Field::DISPLAY_TempDisplay, 200);
    const std::string memo = "   indented\r\nno final break";
    for (std::size_t i = 0; i < memo.size(); ++i) image.setByte(kMemoStart + i, memo[i]);
    const std::string first = formatParameterFile(image);
    ParameterImage read = saneDefaults();
    ASSERT_EQ(parseParameterFile(first, read), ReadOutcome::Accepted);
    EXPECT_EQ(read.get(Field::N2O_Gas), 1);
    EXPECT_EQ(read.get(Field::DISPLAY_TempDisplay), 1);
    EXPECT_EQ(memoText(read), "indented\r\nno final break");
    const std::string second = formatParameterFile(read);
    ParameterImage again = saneDefaults();
    ASSERT_EQ(parseParameterFile(second, again), ReadOutcome::Accepted);
    EXPECT_EQ(again, read);
    EXPECT_EQ(formatParameterFile(again), second);
}

// Whatever the memo holds (without leading blanks, which the format cannot
// keep) comes back exactly, with or without a final line break, up to the
// full 199 bytes.
TEST(ParameterFileRoundTrip, MemoComesBackExactly) {
    for (const std::size_t length : {1u, 2u, 3u, 100u, 196u, 197u, 198u, 199u}) {
        for (const bool endsWithBreak : {false, true}) {
            std::string memo(length, 'm');
            if (endsWithBreak && length >= 3) memo.replace(length - 2, 2, "\r\n");
            if (length >= 60) memo.replace(length / 2, 2, "\r\n");
            ParameterImage image = saneDefaults();
            for (std::size_t i = 0; i < memo.size(); ++i) image.setByte(kMemoStart + i, memo[i]);
            ParameterImage read = saneDefaults();
            ASSERT_EQ(parseParameterFile(formatParameterFile(image), read), ReadOutcome::Accepted);
            EXPECT_EQ(memoText(read), memo) << length << (endsWithBreak ? " with break" : "");
        }
    }
}

}  // namespace
}  // namespace zelvor::model
