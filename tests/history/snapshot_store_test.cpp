// The history of snapshots: kept whole, identical images once, the newest
// kept, and a damaged index, entry or image costing only what is damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/temp_folder.h"
#include "history/snapshot.h"
#include "history/snapshot_store.h"

namespace zelvor::history {
namespace {

namespace fs = std::filesystem;
using model::ParameterImage;
using zelvor::testing::contentOf;
using zelvor::testing::putFile;
using zelvor::testing::TempFolder;

ParameterImage imageOf(unsigned variant) {
    ParameterImage image;
    for (std::size_t i = 0; i < ParameterImage::kSize; ++i) {
        image.setByte(i, static_cast<std::uint8_t>(i * 31 + variant * 7));
    }
    return image;
}

std::size_t filesIn(const fs::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
    return count;
}

class SnapshotStoreTest : public ::testing::Test {
  protected:
    TempFolder folder_{"zelvor-history-"};
    fs::path root() const { return folder_.path() / "history"; }
};

TEST_F(SnapshotStoreTest, KeepsSnapshotsNewestFirstAndIdenticalImagesOnce) {
    SnapshotStore store(root());
    EXPECT_TRUE(store.list().snapshots.empty());
    const auto a =
        store.add(Event::Read, 1000, "/bikes/r1.ign", "Zelvor unit 14. 3.2025 10:30", imageOf(1));
    const auto b = store.add(Event::Program, 1001, "/bikes/r1.ign", "Zelvor unit", imageOf(2));
    const auto c = store.add(Event::Save, 1002, "/bikes/r1\nnext.ign", "", imageOf(1));
    ASSERT_TRUE(a.snapshot && b.snapshot && c.snapshot) << a.error << b.error << c.error;
    EXPECT_EQ(filesIn(root() / "images"), 2u);

    const Listing listing = store.list();
    EXPECT_TRUE(listing.problems.empty());
    ASSERT_EQ(listing.snapshots.size(), 3u);
    EXPECT_EQ(listing.snapshots[0], *c.snapshot);
    EXPECT_EQ(listing.snapshots[0].file, "/bikes/r1 next.ign") << "one line per value";
    EXPECT_EQ(listing.snapshots[1].event, Event::Program);
    EXPECT_EQ(listing.snapshots[2].unit, "Zelvor unit 14. 3.2025 10:30");
    EXPECT_EQ(listing.snapshots[0].imageKey, listing.snapshots[2].imageKey);
    EXPECT_EQ(store.image(listing.snapshots[1]), imageOf(2));
    EXPECT_EQ(store.image(listing.snapshots[2]), imageOf(1));
    // Numbers go on from the highest, also for a second store on the folder.
    EXPECT_EQ(SnapshotStore(root()).add(Event::Close, 1003, "", "", imageOf(3)).snapshot->number,
              4u);
}

TEST_F(SnapshotStoreTest, DamagedIndexLosesNothingAndDamagedEntriesAreNamed) {
    SnapshotStore store(root());
    for (unsigned i = 0; i < 100; ++i) {
        ASSERT_TRUE(store.add(Event::Program, 5000 + i, "tune.ign", "unit", imageOf(i)).snapshot);
    }
    // The index cut in the middle of a line, with garbage after it.
    std::string index = contentOf(root() / "index");
    putFile(root() / "index", index.substr(0, index.size() / 2) + "\x01garbage\tline");
    Listing listing = store.list();
    EXPECT_EQ(listing.snapshots.size(), 100u);
    EXPECT_TRUE(listing.problems.empty());
    EXPECT_EQ(contentOf(root() / "index"), index) << "rebuilt as it was";

    // No index at all.
    fs::remove(root() / "index");
    EXPECT_EQ(store.list().snapshots.size(), 100u);

    // One entry cut short, one image gone: those two are named, the rest listed.
    const std::string entry = contentOf(root() / "entries" / "17.snap");
    putFile(root() / "entries" / "17.snap", entry.substr(0, entry.size() - 5));
    fs::remove(root() / "index");
    const SnapshotInfo forty = [&] {
        for (const SnapshotInfo& s : store.list().snapshots) {
            if (s.number == 40) return s;
        }
        return SnapshotInfo{};
    }();
    fs::remove(root() / "images" / (forty.imageKey + ".img"));
    listing = store.list();
    EXPECT_EQ(listing.snapshots.size(), 98u);
    ASSERT_EQ(listing.problems.size(), 2u);
    EXPECT_EQ(listing.problems[0], "snapshot 17: its entry cannot be read");
    EXPECT_EQ(listing.problems[1], "snapshot 40: its image is missing or damaged");
    std::string problem;
    EXPECT_FALSE(store.image(forty, &problem));
    EXPECT_EQ(problem, "snapshot 40: its image is missing or damaged");
}

TEST_F(SnapshotStoreTest, AnIndexLineNamingAMissingImageDefersToTheEntry) {
    SnapshotStore store(root());
    const auto kept = store.add(Event::Read, 7000, "", "unit A", imageOf(1));
    ASSERT_TRUE(store.add(Event::Save, 7001, "/a.ign", "", imageOf(2)).snapshot);
    ASSERT_TRUE(kept.snapshot);
    // A line that reads well but names an image nobody kept.
    SnapshotInfo wrong = *kept.snapshot;
    wrong.imageKey = "0123456789abcdef";
    std::string index = contentOf(root() / "index");
    const std::string line = formatIndexLine(*kept.snapshot);
    index.replace(index.find(line), line.size(), formatIndexLine(wrong));
    putFile(root() / "index", index);

    const Listing listing = store.list();
    EXPECT_TRUE(listing.problems.empty()) << listing.problems.front();
    ASSERT_EQ(listing.snapshots.size(), 2u);
    EXPECT_EQ(listing.snapshots[1], *kept.snapshot);
    EXPECT_EQ(store.list().snapshots, listing.snapshots) << "the index was mended";
}

TEST_F(SnapshotStoreTest, TheNewestWantedSnapshotPassesOverOnesWhoseImageIsGone) {
    SnapshotStore store(root());
    const auto isRead = [](const SnapshotInfo& s) { return s.event == Event::Read; };
    EXPECT_FALSE(store.newest(isRead));
    const auto older = store.add(Event::Read, 100, "", "unit", imageOf(1));
    const auto newer = store.add(Event::Read, 101, "", "unit", imageOf(2));
    ASSERT_TRUE(store.add(Event::Save, 102, "/a.ign", "", imageOf(3)).snapshot);
    ASSERT_TRUE(older.snapshot && newer.snapshot);
    EXPECT_EQ(store.newest(isRead), newer.snapshot);

    fs::remove(root() / "images" / (newer.snapshot->imageKey + ".img"));
    EXPECT_EQ(store.newest(isRead), older.snapshot);
    // An entry the index does not know yet is found too.
    fs::remove(root() / "index");
    const auto newest = store.add(Event::Read, 103, "", "unit", imageOf(4));
    fs::remove(root() / "index");
    EXPECT_EQ(store.newest(isRead), newest.snapshot);
}

TEST_F(SnapshotStoreTest, KeepsTheNewestAndDropsImagesNoLongerUsed) {
    SnapshotStore store(root(), 5);
    for (unsigned i = 0; i < 8; ++i) {
        ASSERT_TRUE(store.add(Event::Save, 100 + i, "", "", imageOf(i % 6)).snapshot);
    }
    const Listing listing = store.list();
    ASSERT_EQ(listing.snapshots.size(), 5u);
    EXPECT_EQ(listing.snapshots.front().number, 8u);
    EXPECT_EQ(listing.snapshots.back().number, 4u);
    EXPECT_EQ(filesIn(root() / "entries"), 5u);
    // Snapshots 4..8 hold images 3, 4, 5, 0, 1.
    EXPECT_EQ(filesIn(root() / "images"), 5u);
}

TEST_F(SnapshotStoreTest, AFolderThatCannotBeMadeIsSaid) {
    putFile(folder_.path() / "history", "a file where the folder should be");
    SnapshotStore store(root());
    const SnapshotStore::Added added = store.add(Event::Open, 1, "", "", imageOf(0));
    EXPECT_FALSE(added.snapshot);
    EXPECT_NE(added.error.find(root().string()), std::string::npos) << added.error;
    EXPECT_TRUE(store.list().snapshots.empty());
}

TEST(SnapshotText, EntriesAndIndexLinesRoundTripAndBrokenOnesAreRefused) {
    const SnapshotInfo info{.number = 12,
                            .time = 1765300000,
                            .event = Event::Program,
                            .file = "/a/b.ign",
                            .unit = "Zelvor 1. 2.2025 10:30",
                            .imageKey = imageKeyOf("bytes")};
    EXPECT_EQ(parseEntry(formatEntry(info)), info);
    EXPECT_EQ(parseIndexLine(formatIndexLine(info)), info);
    const std::string entry = formatEntry(info);
    EXPECT_FALSE(parseEntry(entry.substr(0, entry.size() - 1))) << "cut before its end";
    EXPECT_FALSE(parseEntry("zelvor-snapshot 1\nnumber=x\n"));
    EXPECT_FALSE(parseIndexLine("12\t1765300000\tBurn\t0123456789abcdef\t\t"));
    EXPECT_FALSE(parseIndexLine("12\t1765300000\tRead\tnot-a-key\t\t"));
    EXPECT_TRUE(isImageKey("0123456789abcdef-2"));
    EXPECT_NE(imageKeyOf("a"), imageKeyOf("b"));
}

}  // namespace
}  // namespace zelvor::history
