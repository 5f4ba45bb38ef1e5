#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/settings/app_settings.h"
#include "app/settings/image_dump.h"
#include "app/settings/ini_document.h"

namespace zelvor::app {
namespace {

TEST(IniDocument, KeepsLiteralKeysOrderAndForeignSections) {
    IniDocument ini = IniDocument::parse(
        "[PORTS]\r\nCOM3=/dev/"
        "ttyUSB1\r\n\r\n[BASIC]\r\nPageControl1->ActivePageIndex=4\r\nLeft=12\r\n");
    EXPECT_EQ(ini.value("BASIC", "PageControl1->ActivePageIndex"), "4");
    EXPECT_EQ(ini.value("basic", "left"), "12");  // profile files ignore case
    ini.setValue("BASIC", "Top", "7");
    EXPECT_EQ(
        ini.serialize(),
        "[PORTS]\nCOM3=/dev/ttyUSB1\n\n[BASIC]\nPageControl1->ActivePageIndex=4\nLeft=12\nTop=7\n");
    EXPECT_EQ(IniDocument::parse(ini.serialize()).serialize(), ini.serialize());
}

// A value is one line of the file: a file name with a line break in it
// (a legal name on Linux) must not turn into keys or sections of its own.
TEST(IniDocument, AValueWithALineBreakWritesNoOtherKeys) {
    IniDocument ini;
    ini.setValue("BASIC", "File", "/tmp/a\n[PORTS]\nCOM1=/dev/evil.ign");
    ini.setValue("BASIC", "IniDir", "/tmp/b\rLeft=9");
    ini.setValue("BASIC", "Left", "12");
    const IniDocument back = IniDocument::parse(ini.serialize());
    EXPECT_EQ(back.value("PORTS", "COM1"), std::nullopt);
    EXPECT_EQ(back.value("BASIC", "Left"), "12");
    EXPECT_EQ(back.value("BASIC", "File"), "");
    EXPECT_EQ(back.value("BASIC", "IniDir"), "");
}

TEST(IniDocument, IntegersFallBackWhenAbsentOrNotANumber) {
    const IniDocument ini = IniDocument::parse("[BASIC]\nA=-15\nB=12abc\nC=\nD= 42 \n");
    EXPECT_EQ(ini.integer("BASIC", "A", 3), -15);
    EXPECT_EQ(ini.integer("BASIC", "B", 3), 3);
    EXPECT_EQ(ini.integer("BASIC", "C", 3), 3);
    EXPECT_EQ(ini.integer("BASIC", "D", 3), 42);
    EXPECT_EQ(ini.integer("BASIC", "Missing", 3), 3);
    EXPECT_EQ(ini.integer("OTHER", "A", 3), 3);
}

// Many sections and keys, repeated sections and names in other cases all
// find the one entry they name, and writing keeps every section in order.
TEST(IniDocument, ManySectionsAndKeysEachFindTheirEntry) {
    std::string text;
    for (int n = 0; n < 3000; ++n) {
        text += "[S" + std::to_string(n) + "]\nKey=" + std::to_string(n) + "\n";
    }
    text += "[s17]\nkey=again\nOther=x\n[BASIC]\n";
    for (int n = 0; n < 3000; ++n) text += "K" + std::to_string(n) + "=" + std::to_string(n) + "\n";
    IniDocument ini = IniDocument::parse(text);
    EXPECT_EQ(ini.value("S0", "KEY"), "0");
    EXPECT_EQ(ini.value("s2999", "key"), "2999");
    EXPECT_EQ(ini.value("S17", "Key"), "again");  // the later value wins
    EXPECT_EQ(ini.value("S17", "other"), "x");
    EXPECT_EQ(ini.value("S3000", "Key"), std::nullopt);
    EXPECT_EQ(ini.integer("basic", "k2999", -1), 2999);
    EXPECT_EQ(ini.entries("BASIC").size(), 3000u);

    ini.setValue("s5", "NEW", "1");
    ini.setValue("Fresh", "A", "2");
    ini.setValue("k2999", "x", "3");  // a section named like a key is a section of its own
    IniDocument copy = ini;
    copy.setValue("S5", "new", "changed");
    EXPECT_EQ(ini.value("S5", "New"), "1");
    EXPECT_EQ(copy.value("s5", "NEW"), "changed");
    EXPECT_EQ(copy.value("FRESH", "a"), "2");
    EXPECT_EQ(copy.entries("S5").size(), 2u);
    const std::string written = copy.serialize();
    EXPECT_EQ(written.rfind("[BASIC]\n"), written.find("[BASIC]\n"));
    EXPECT_LT(written.find("[S2999]"), written.find("[BASIC]"));
    EXPECT_LT(written.find("[BASIC]"), written.find("[Fresh]\nA=2\n"));
    EXPECT_EQ(IniDocument::parse(written).serialize(), written);
}

TEST(AppSettings, FirstStartKeepsDefaultsAndComPortMapsToIndex) {
    AppSettings current;
    current.left = 100;
    current.portIndex = 1;  // set when the window is created
    const AppSettings fresh = readAppSettings(IniDocument{}, current);
    EXPECT_EQ(fresh.left, 100);
    EXPECT_EQ(fresh.portIndex, 0);  // COM1
    EXPECT_EQ(fresh.window.currentPage, 7);

    const auto withPort = [&](const char* value) {
        return readAppSettings(IniDocument::parse(std::string("[BASIC]\nComPort=") + value),
                               current)
            .portIndex;
    };
    EXPECT_EQ(withPort("5"), 4);
    EXPECT_EQ(withPort("0"), 255);  // brought back to COM1 by the sanitizer
    EXPECT_EQ(withPort("25"), 24);
}

// The stored number is one above the index; the index keeps its low 8 bits
// even at the ends of the integer range (the sanitizer then brings values
// outside 0..19 back to COM1).
TEST(AppSettings, ComPortWrapsToEightBitsOverTheWholeIntegerRange) {
    const auto withPort = [](const char* value) {
        return readAppSettings(IniDocument::parse(std::string("[BASIC]\nComPort=") + value),
                               AppSettings{})
            .portIndex;
    };
    EXPECT_EQ(withPort("-2147483648"), 255);
    EXPECT_EQ(withPort("2147483647"), 254);
    EXPECT_EQ(withPort("257"), 0);
    EXPECT_EQ(withPort("-1"), 254);
    EXPECT_EQ(withPort("2147483648"), 255);  // not an int: the default index 0, minus one
}

TEST(AppSettings, WriteThenReadRoundTrips) {
    AppSettings s;
    s.left = -20;
    s.top = 30;
    s.height = 801;
    s.width = 1039;
    s.portIndex = 4;
    s.language = 3;
    s.window.fileName = "/home/tuner/maps/r1 race.ign";
    s.window.iniDir = "/home/tuner/maps";
    s.window.currentPage = 10;
    s.window.msDisplay = true;
    s.window.extendedMonitor = true;
    IniDocument ini;
    writeAppSettings(ini, s);
    EXPECT_NE(ini.serialize().find("ComPort=5\n"), std::string::npos);
    EXPECT_NE(ini.serialize().find("CheckBoxAll_PolohaA->Checked=0\n"), std::string::npos);
    const AppSettings back = readAppSettings(IniDocument::parse(ini.serialize()), AppSettings{});
    EXPECT_EQ(back.left, -20);
    EXPECT_EQ(back.portIndex, 4);
    EXPECT_EQ(back.language, 3);
    EXPECT_EQ(back.window.fileName, s.window.fileName);
    EXPECT_EQ(back.window.iniDir, s.window.iniDir);
    EXPECT_EQ(back.window.currentPage, 10);
    EXPECT_TRUE(back.window.msDisplay);
    EXPECT_TRUE(back.window.extendedMonitor);
    EXPECT_FALSE(back.window.allPosition);
}

// The page is an index into the window's pages: a number outside them keeps
// the page the window shows, and what the settings do not keep stays.
TEST(AppSettings, APageTheWindowDoesNotHaveKeepsTheCurrentOne) {
    AppSettings current;
    current.window.currentPage = 3;
    current.window.programAfterChange = true;
    current.window.allFlags[2] = true;
    const auto pageOf = [&](const char* value) {
        return readAppSettings(
                   IniDocument::parse(std::string("[BASIC]\nPageControl1->ActivePageIndex=") +
                                      value + "\n"),
                   current)
            .window.currentPage;
    };
    EXPECT_EQ(pageOf("0"), 0);
    EXPECT_EQ(pageOf("11"), 11);
    for (const char* outside : {"12", "-1", "255", "x"}) EXPECT_EQ(pageOf(outside), 3) << outside;
    const AppSettings read = readAppSettings(IniDocument::parse("[BASIC]\nFile=a.ign\n"), current);
    EXPECT_TRUE(read.window.programAfterChange);
    EXPECT_TRUE(read.window.allFlags[2]);
    EXPECT_EQ(read.window.fileName, "a.ign");
}

TEST(AppSettings, MemoCodePageIsItsOwnKeyBesideUnknownKeysAndSections) {
    using editing::CodePage;
    AppSettings current;
    current.window.memoCodePage = CodePage::Windows1250;  // what the system locale suggested
    const auto read = [&](const std::string& text) {
        return readAppSettings(IniDocument::parse(text), current).window.memoCodePage;
    };
    EXPECT_EQ(read(""), CodePage::Windows1250);
    EXPECT_EQ(read("[BASIC]\nMemoCodePage=1252\n"), CodePage::Windows1252);
    EXPECT_EQ(read("[BASIC]\nMemoCodePage=1250\n"), CodePage::Windows1250);
    for (const char* other : {"1251", "65001", "0", "-1250", "x1252", ""}) {
        EXPECT_EQ(read(std::string("[BASIC]\nMemoCodePage=") + other + "\n"), CodePage::Windows1250)
            << other;
    }
    EXPECT_EQ(read("[OTHER]\nMemoCodePage=1252\n"), CodePage::Windows1250);

    IniDocument ini = IniDocument::parse(
        "[PORTS]\nCOM3=/dev/ttyUSB1\n[BASIC]\nFutureKey=7\nLanguage=2\n[VIEW]\nZoom=3\n");
    AppSettings s = readAppSettings(ini, current);
    EXPECT_EQ(s.language, 2);
    s.window.memoCodePage = CodePage::Windows1252;
    writeAppSettings(ini, s);
    const std::string written = ini.serialize();
    EXPECT_NE(written.find("MemoCodePage=1252\n"), std::string::npos);
    EXPECT_NE(written.find("FutureKey=7\n"), std::string::npos);
    EXPECT_NE(written.find("[PORTS]\nCOM3=/dev/ttyUSB1\n"), std::string::npos);
    EXPECT_NE(written.find("[VIEW]\nZoom=3\n"), std::string::npos);
    EXPECT_EQ(IniDocument::parse(written).value(kSettingsSection, "MemoCodePage"), "1252");
}

TEST(ImageDump, LayoutAndRoundTrip) {
    model::ParameterImage image;
    for (std::size_t k = 0; k < model::ParameterImage::kSize; ++k) {
        image.setByte(k, static_cast<std::uint8_t>(k * 31));
    }
    AllFlags all{};
    all[2] = all[11] = true;
    const std::string text = formatImageDump(image, all);
    EXPECT_EQ(text.substr(0, 61), "    0    31    62    93   124   155   186   217   248    23 \n");
    // A blank line follows every hundredth value.
    EXPECT_EQ(text.substr(10 * 61 - 1, 2), "\n\n");
    EXPECT_EQ(text.substr(text.size() - 6), "    1 ");

    model::ParameterImage back;
    AllFlags backAll{};
    parseImageDump(text, back, backAll);
    EXPECT_EQ(back, image);
    EXPECT_EQ(backAll, all);
}

TEST(ImageDump, ShortDumpsAndLargeNumbers) {
    model::ParameterImage image;
    image.setByte(150, 9);
    AllFlags all{};
    all[1] = true;
    std::string text;
    for (int k = 0; k < 100; ++k) text += k == 3 ? "300 " : "7 ";
    parseImageDump(text, image, all);
    EXPECT_EQ(image.byte(0), 7);
    EXPECT_EQ(image.byte(3), 44);   // 300 keeps its low 8 bits
    EXPECT_EQ(image.byte(150), 9);  // beyond the dump: untouched
    EXPECT_TRUE(all[1]);

    model::ParameterImage garbled;
    parseImageDump("5 6 x 8", garbled, all);
    EXPECT_EQ(garbled.byte(1), 6);
    EXPECT_EQ(garbled.byte(2), 0);  // reading stops at the first non-number
}

TEST(TestMode, OnlyTheExactWordSwitchesItOn) {
    const auto path = std::filesystem::temp_directory_path() / "zelvor_test_marker.txt";
    const auto withText = [&](const char* text) {
        std::ofstream(path) << text;
        return readTestMode(path);
    };
    EXPECT_TRUE(withText("test DIAG_SWITCH\n"));
    EXPECT_FALSE(withText("diag_switch"));
    EXPECT_FALSE(withText("DIAG_SWITCHX"));
    std::filesystem::remove(path);
    EXPECT_FALSE(readTestMode(path));
}

TEST(SettingsPaths, FollowXdgConfigHome) {
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(SettingsPaths::fromEnvironment().settingsFile(), "/tmp/xdg-test/zelvor/Zelvor.ini");
    EXPECT_EQ(SettingsPaths::fromEnvironment().imageDump(), "/tmp/xdg-test/zelvor/_Zelvor.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(SettingsPaths::fromEnvironment().testMarker(),
              "/home/someone/.config/zelvor/test_tolvek.txt");
}

}  // namespace
}  // namespace zelvor::app
