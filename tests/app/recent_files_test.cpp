#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings/app_settings.h"
#include "app/settings/recent_files.h"

namespace zelvor::app {
namespace {

std::vector<std::string> numberedPaths(int from, int to) {
    std::vector<std::string> paths;
    for (int i = to; i >= from; --i) paths.push_back("/tunes/" + std::to_string(i) + ".ign");
    return paths;
}

TEST(RecentFiles, NewestFirstEachOnceAtMostEight) {
    RecentFiles recent;
    for (int i = 1; i <= 10; ++i) recent.add("/tunes/" + std::to_string(i) + ".ign");
    // The two oldest fell off.
    EXPECT_EQ(recent.paths(), numberedPaths(3, 10));

    // A path already listed moves to the top instead of being listed twice,
    // and nothing falls off for it.
    recent.add("/tunes/5.ign");
    ASSERT_EQ(recent.paths().size(), RecentFiles::kLimit);
    EXPECT_EQ(recent.paths().front(), "/tunes/5.ign");
    EXPECT_EQ(std::count(recent.paths().begin(), recent.paths().end(), "/tunes/5.ign"), 1);
    EXPECT_EQ(recent.paths().back(), "/tunes/3.ign");

    recent.remove("/tunes/10.ign");
    recent.remove("/tunes/not-listed.ign");
    EXPECT_EQ(recent.paths().size(), RecentFiles::kLimit - 1);
    EXPECT_EQ(recent.paths()[1], "/tunes/9.ign");
}

TEST(RecentFiles, RefusesNamesTheSettingsFileCannotHold) {
    RecentFiles recent;
    recent.add("/tunes/a.ign");
    recent.add("");
    recent.add("/tunes/evil\n[BASIC]\nLanguage=3.ign");
    recent.add("/tunes/cr\r.ign");
    EXPECT_EQ(recent.paths(), std::vector<std::string>{"/tunes/a.ign"});
}

TEST(RecentFiles, RoundTripThroughTheSettingsFileBesideOtherSections) {
    IniDocument ini = IniDocument::parse("[BASIC]\nLanguage=2\n[Foreign]\nKeep=me\n");
    AppSettings settings = readAppSettings(ini, {});
    EXPECT_TRUE(settings.recentFiles.paths().empty());
    for (int i = 1; i <= 3; ++i) settings.recentFiles.add("/tunes/" + std::to_string(i) + ".ign");
    settings.recentFiles.add("/tunes/with = sign.ign");
    writeAppSettings(ini, settings);

    const IniDocument reread = IniDocument::parse(ini.serialize());
    EXPECT_EQ(readAppSettings(reread, {}).recentFiles, settings.recentFiles);
    EXPECT_EQ(reread.value("Foreign", "Keep"), "me");
    EXPECT_EQ(reread.value("BASIC", "Language"), "2");
    EXPECT_EQ(reread.value(kRecentFilesSection, "File1"), "/tunes/with = sign.ign");

    // A shorter list clears the keys it no longer uses.
    settings.recentFiles.remove("/tunes/1.ign");
    settings.recentFiles.remove("/tunes/2.ign");
    writeAppSettings(ini, settings);
    const IniDocument shorter = IniDocument::parse(ini.serialize());
    EXPECT_EQ(readAppSettings(shorter, {}).recentFiles.paths().size(), 2u);
    EXPECT_EQ(shorter.value(kRecentFilesSection, "File3"), "");
}

TEST(RecentFiles, ReadingSkipsGapsRepeatsAndKeysBeyondTheLimit) {
    const IniDocument ini = IniDocument::parse(
        "[RecentFiles]\nFile1=/a.ign\nFile2=\nFile3=/b.ign\nFile4=/a.ign\nFile8=/c.ign\n"
        "File9=/d.ign\n");
    EXPECT_EQ(RecentFiles::read(ini).paths(),
              (std::vector<std::string>{"/a.ign", "/b.ign", "/c.ign"}));
}

}  // namespace
}  // namespace zelvor::app
