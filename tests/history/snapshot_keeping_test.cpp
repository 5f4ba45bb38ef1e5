// Keeping a snapshot in the default folder, and writing one out as a
// parameter file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "../support/temp_folder.h"
#include "history/snapshot_export.h"
#include "history/snapshot_keeping.h"
#include "model/field_table.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::history {
namespace {

namespace fs = std::filesystem;
using model::ParameterImage;
using zelvor::testing::contentOf;
using zelvor::testing::TempFolder;

class SnapshotKeepingTest : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("XDG_DATA_HOME", folder_.file("data").c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

    TempFolder folder_{"zelvor-keeping-"};
};

TEST_F(SnapshotKeepingTest, KeepsInTheDataFolderWithTheFullPathOfTheFile) {
    ParameterImage image;
    image.setByte(3, 9);
    const fs::path before = fs::current_path();
    fs::current_path(folder_.path());
    const SnapshotStore::Added relative = keepSnapshot(Event::Save, "bikes/../a.ign", "", image);
    fs::current_path(before);
    const SnapshotStore::Added none = keepSnapshot(Event::Read, "", "ABC07", image);
    ASSERT_TRUE(relative.snapshot && none.snapshot) << relative.error << none.error;

    const SnapshotStore store(folder_.path() / "data" / "zelvor" / "history");
    const Listing listing = store.list();
    ASSERT_EQ(listing.snapshots.size(), 2u);
    EXPECT_EQ(listing.snapshots[1].file, (folder_.path() / "a.ign").string());
    EXPECT_EQ(listing.snapshots[0].file, "") << "no file stays no file";
    EXPECT_EQ(listing.snapshots[0].unit, "ABC07");
    EXPECT_EQ(store.image(listing.snapshots[0]), image);
}

TEST_F(SnapshotKeepingTest, AFolderThatCannotBeMadeIsReportedNotThrown) {
    zelvor::testing::putFile(folder_.path() / "data", "a file where the folder should be");
    const SnapshotStore::Added added = keepSnapshot(Event::Open, "/a.ign", "", ParameterImage{});
    EXPECT_FALSE(added.snapshot);
    EXPECT_FALSE(added.error.empty());
}

TEST_F(SnapshotKeepingTest, ExportWritesTheImageInRangeAndSaysWhenItCorrected) {
    SnapshotStore store(folder_.path() / "history");
    ParameterImage inRange;
    model::sanitize(inRange);
    ParameterImage outOfRange = inRange;
    outOfRange.set(model::Field::START_INJ_StartJet, 60);
    const auto a = store.add(Event::Read, 1, "", "", inRange);
    const auto b = store.add(Event::Read, 2, "", "", outOfRange);
    ASSERT_TRUE(a.snapshot && b.snapshot);

    const fs::path file = folder_.path() / "a.ign";
    const Exported plain = exportSnapshot(store, *a.snapshot, file);
    ASSERT_TRUE(plain.written()) << plain.problem;
    EXPECT_FALSE(plain.corrected);
    EXPECT_EQ(contentOf(file), model::formatParameterFile(inRange));

    const Exported corrected = exportSnapshot(store, *b.snapshot, file);
    ASSERT_TRUE(corrected.written());
    EXPECT_TRUE(corrected.corrected);
    EXPECT_EQ(corrected.image.get(model::Field::START_INJ_StartJet), 50u);
    EXPECT_EQ(contentOf(file), model::formatParameterFile(corrected.image));

    // A write that fails leaves the old file; a lost image writes nothing.
    const Exported noFolder = exportSnapshot(store, *a.snapshot, folder_.path() / "no" / "a.ign");
    EXPECT_EQ(noFolder.failure, Exported::Failure::Write);
    EXPECT_FALSE(noFolder.problem.empty());
    fs::remove(store.folder() / "images" / (b.snapshot->imageKey + ".img"));
    const Exported lost = exportSnapshot(store, *b.snapshot, file);
    EXPECT_EQ(lost.failure, Exported::Failure::Image);
    EXPECT_EQ(contentOf(file), model::formatParameterFile(corrected.image));
}

}  // namespace
}  // namespace zelvor::history
