#include "model/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "../support/temp_folder.h"

namespace zelvor::model {
namespace {

namespace fs = std::filesystem;
using zelvor::testing::contentOf;
using zelvor::testing::putFile;

class AtomicFile : public ::testing::Test {
  protected:
    // Only the given file names are in the folder: no temporary file is left.
    void expectOnly(std::initializer_list<std::string> names) {
        std::set<std::string> expected(names);
        std::set<std::string> present;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            present.insert(entry.path().filename().string());
        }
        EXPECT_EQ(present, expected);
    }

    zelvor::testing::TempFolder temp_{"zelvor_atomic_"};
    const fs::path folder_ = temp_.path();
};

TEST_F(AtomicFile, CreatesAndReplacesFiles) {
    const fs::path target = folder_ / "a.ign";
    const std::string content("line\r\n\0binary\xff", 14);
    ASSERT_TRUE(writeFileAtomically(target, content));
    EXPECT_EQ(contentOf(target), content);
    putFile(folder_ / "b.ign", std::string(5000, 'x'));
    const FileWriteResult result = writeFileAtomically(folder_ / "b.ign", "short");
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(contentOf(folder_ / "b.ign"), "short");
    ASSERT_TRUE(writeFileAtomically(target, ""));
    EXPECT_EQ(fs::file_size(target), 0u);
    expectOnly({"a.ign", "b.ign"});
}

TEST_F(AtomicFile, KeepsPermissionsAndWritesThroughALink) {
    const fs::path target = folder_ / "kept.ign";
    putFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder_ / "link.ign";
    fs::create_symlink(target.filename(), link);
    ASSERT_TRUE(writeFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    expectOnly({"kept.ign", "link.ign"});
}

TEST_F(AtomicFile, FailsClearlyWhereNoFileCanBeCreated) {
    const fs::path missing = folder_ / "no such folder" / "x.ign";
    const FileWriteResult result = writeFileAtomically(missing, "data");
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find(missing.string()), std::string::npos) << result.error;
    EXPECT_FALSE(fs::exists(missing));

    // A kernel folder takes no new files, not even from root.
    EXPECT_FALSE(writeFileAtomically("/proc/self/zelvor.ign", "data"));

    // A folder in the way stays a folder.
    fs::create_directory(folder_ / "dir.ign");
    EXPECT_FALSE(writeFileAtomically(folder_ / "dir.ign", "data"));
    EXPECT_TRUE(fs::is_directory(folder_ / "dir.ign"));
    EXPECT_FALSE(writeFileAtomically(folder_ / "", "data"));
    expectOnly({"dir.ign"});
}

TEST_F(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    const fs::path target = folder_ / "old.ign";
    putFile(target, "precious");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(writeFileAtomically(target, "replacement"));
    EXPECT_EQ(contentOf(target), "precious");
}

// A write that fails half way (here: the file size limit is hit after a few
// bytes) reports the failure, keeps the old file whole and leaves no
// temporary file. The limit is set in a child process so the test runner
// keeps its own.
TEST_F(AtomicFile, WriteFailingMidwayKeepsTheOldFile) {
    const fs::path target = folder_ / "old.ign";
    const std::string old(300, 'o');
    putFile(target, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const FileWriteResult result = writeFileAtomically(target, std::string(10000, 'n'));
        ::_exit(result.ok ? 0 : (result.error.empty() ? 2 : 1));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(contentOf(target), old);
    expectOnly({"old.ign"});
}

}  // namespace
}  // namespace zelvor::model
