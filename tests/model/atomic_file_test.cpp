#include "model/atomic_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
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

    // Runs check in a child process as a user without special rights (root
    // becomes nobody there, so that permission bits count) and returns its
    // exit code, or 100 + the signal that ended it.
    static int exitCodeAsUser(const std::function<int()>& check) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
                                     ::setuid(kNobody) != 0)) {
                ::_exit(99);
            }
            ::_exit(check());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
    }

    // Writes a large file in a child process that the kernel ends with
    // SIGXFSZ in the middle of the write, as it passes its file size limit:
    // none of the writer's code runs any more, as after kill -9. Returns the
    // child's process id.
    static pid_t killWriterMidway(const fs::path& target) {
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
            writeFileAtomically(target, std::string(100000, 'n'));
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        return child;
    }

    static mode_t modeOf(const fs::path& path) {
        struct stat st {};
        ::lstat(path.c_str(), &st);
        return st.st_mode;
    }

    static constexpr uid_t kNobody = 65534;
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

TEST_F(AtomicFile, NamesAtTheFileSystemsLimitAreWritten) {
    // 125 Czech letters of two bytes each: 254 bytes, one below the limit.
    std::string name;
    for (int i = 0; i < 125; ++i) name += "\u0159";
    name += ".ign";
    ASSERT_EQ(name.size(), 254u);
    const fs::path target = folder_ / name;
    FileWriteResult result = writeFileAtomically(target, "first");
    EXPECT_TRUE(result) << result.error;
    result = writeFileAtomically(target, "second");
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(contentOf(target), "second");
    expectOnly({name});
}

// A file marked read-only is refused as truncating it would be, also for
// root, whom the system lets write anything; it stays as it was.
TEST_F(AtomicFile, ReadOnlyFileIsRefusedAndKept) {
    const fs::path target = folder_ / "locked.ign";
    putFile(target, "tuned");
    ::chmod(target.c_str(), 0444);
    fs::create_symlink("locked.ign", folder_ / "link.ign");
    for (const fs::path& path : {target, folder_ / "link.ign"}) {
        const FileWriteResult result = writeFileAtomically(path, "replacement");
        EXPECT_FALSE(result);
        EXPECT_NE(result.error.find(path.string()), std::string::npos) << result.error;
        EXPECT_NE(result.error.find("read-only"), std::string::npos) << result.error;
    }
    EXPECT_EQ(contentOf(target), "tuned");
    EXPECT_EQ(modeOf(target), S_IFREG | 0444);
    expectOnly({"locked.ign", "link.ign"});
}

// Only root can make files of another user; the writer keeps them theirs.
TEST_F(AtomicFile, FilesOfOtherUsersAreNeitherTakenNorGivenAway) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to own files of two users";
    ::chmod(folder_.c_str(), 0777);
    const fs::path rootsFile = folder_ / "root.ign";
    putFile(rootsFile, "root's tune");
    ::chmod(rootsFile.c_str(), 0644);
    EXPECT_EQ(exitCodeAsUser([&] {
                  const FileWriteResult r = writeFileAtomically(rootsFile, "taken over");
                  return r ? 0 : (r.error.find("Permission denied") != std::string::npos ? 1 : 2);
              }),
              1);
    EXPECT_EQ(contentOf(rootsFile), "root's tune");

    const fs::path usersFile = folder_ / "user.ign";
    putFile(usersFile, "user's tune");
    ASSERT_EQ(::chown(usersFile.c_str(), kNobody, kNobody), 0);
    ASSERT_TRUE(writeFileAtomically(usersFile, "saved by root"));
    struct stat st {};
    ASSERT_EQ(::stat(usersFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(contentOf(usersFile), "saved by root");
    expectOnly({"root.ign", "user.ign"});
}

// Where no temporary file can be made beside it, a writable file is written
// in place as a plain save would; a full disk still leaves it whole, and a
// file that cannot be written, or a new one, fails with the reason.
TEST_F(AtomicFile, FolderWithoutWriteRightsTakesWritableFilesInPlace) {
    const fs::path writable = folder_ / "open.ign";
    putFile(writable, "a longer old content");
    ::chmod(writable.c_str(), 0666);
    const fs::path locked = folder_ / "locked.ign";
    putFile(locked, "locked");
    ::chmod(locked.c_str(), 0444);
    ::chmod(folder_.c_str(), 0555);

    EXPECT_EQ(exitCodeAsUser([&] {
                  const FileWriteResult r = writeFileAtomically(writable, "new");
                  return r ? 0 : 1;
              }),
              0);
    EXPECT_EQ(contentOf(writable), "new");
    EXPECT_EQ(modeOf(writable), S_IFREG | 0666);

    // The file size limit stands for a full disk: the space is asked for
    // before the first byte of the old content is overwritten.
    EXPECT_EQ(exitCodeAsUser([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{64, 64};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  const FileWriteResult r = writeFileAtomically(writable, std::string(10000, 'n'));
                  return r ? 0 : (r.error.empty() ? 2 : 1);
              }),
              1);
    EXPECT_EQ(contentOf(writable), "new");

    EXPECT_EQ(exitCodeAsUser([&] {
                  const bool lockedRefused = !writeFileAtomically(locked, "x");
                  const FileWriteResult r = writeFileAtomically(folder_ / "fresh.ign", "x");
                  return lockedRefused && !r && !r.error.empty() ? 0 : 1;
              }),
              0);
    EXPECT_EQ(contentOf(locked), "locked");
    expectOnly({"open.ign", "locked.ign"});
}

// In a shared folder with the sticky bit a file of another user cannot be
// replaced, only written.
TEST_F(AtomicFile, WritableFileInAStickyFolderIsWrittenInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to own files of two users";
    ::chmod(folder_.c_str(), 01777);
    const fs::path shared = folder_ / "shared.ign";
    putFile(shared, "old");
    ::chmod(shared.c_str(), 0666);
    EXPECT_EQ(exitCodeAsUser([&] { return writeFileAtomically(shared, "new") ? 0 : 1; }), 0);
    EXPECT_EQ(contentOf(shared), "new");
    expectOnly({"shared.ign"});
}

TEST_F(AtomicFile, SymbolicLinksLeadToTheFileTheyNameOrFail) {
    // A dangling link creates the file it names and stays a link.
    fs::create_symlink("made.ign", folder_ / "new.ign");
    FileWriteResult result = writeFileAtomically(folder_ / "new.ign", "made");
    EXPECT_TRUE(result) << result.error;
    EXPECT_TRUE(fs::is_symlink(folder_ / "new.ign"));
    EXPECT_EQ(contentOf(folder_ / "made.ign"), "made");

    // Links to links and links from another folder reach the same file.
    fs::create_symlink("new.ign", folder_ / "chain.ign");
    fs::create_directory(folder_ / "sub");
    fs::create_symlink("../chain.ign", folder_ / "sub" / "up.ign");
    EXPECT_TRUE(writeFileAtomically(folder_ / "chain.ign", "chained"));
    EXPECT_EQ(contentOf(folder_ / "made.ign"), "chained");
    EXPECT_TRUE(writeFileAtomically(folder_ / "sub" / "up.ign", "from below"));
    EXPECT_EQ(contentOf(folder_ / "made.ign"), "from below");
    EXPECT_TRUE(fs::is_symlink(folder_ / "chain.ign"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "sub" / "up.ign"));

    // A link into a missing folder and a loop fail and stay as they were.
    fs::create_symlink("missing/x.ign", folder_ / "far.ign");
    result = writeFileAtomically(folder_ / "far.ign", "lost");
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("far.ign"), std::string::npos) << result.error;
    fs::create_symlink("b.ign", folder_ / "a.ign");
    fs::create_symlink("a.ign", folder_ / "b.ign");
    fs::create_symlink("self.ign", folder_ / "self.ign");
    for (const char* name : {"a.ign", "self.ign"}) {
        result = writeFileAtomically(folder_ / name, "looped");
        EXPECT_FALSE(result);
        EXPECT_NE(result.error.find(std::strerror(ELOOP)), std::string::npos) << result.error;
    }
    for (const char* name : {"far.ign", "a.ign", "b.ign", "self.ign"}) {
        EXPECT_TRUE(fs::is_symlink(folder_ / name)) << name;
    }
    expectOnly(
        {"new.ign", "made.ign", "chain.ign", "sub", "far.ign", "a.ign", "b.ign", "self.ign"});
}

// A pipe or a device is written into; it is never replaced by a file.
TEST_F(AtomicFile, PipeIsWrittenIntoNotReplaced) {
    const fs::path pipe = folder_ / "pipe.ign";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const FileWriteResult result = writeFileAtomically(pipe, "through");
    EXPECT_TRUE(result) << result.error;
    char received[16] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 7);
    ::close(reader);
    EXPECT_EQ(std::string(received), "through");
    EXPECT_TRUE(S_ISFIFO(modeOf(pipe)));
}

// A writer killed in the middle leaves the old file whole and no temporary
// file behind.
TEST_F(AtomicFile, KilledWriterLeavesNoTemporaryFile) {
    const fs::path target = folder_ / "old.ign";
    putFile(target, "old");
    killWriterMidway(target);
    killWriterMidway(folder_ / "new.ign");
    EXPECT_EQ(contentOf(target), "old");
    expectOnly({"old.ign"});

    // kill -9 at moments spread over the write: the file is always one of
    // the writes whole.
    std::string before = "old";
    for (int k = 0; k < 20; ++k) {
        const std::string content(1 << 20, static_cast<char>('a' + k));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(writeFileAtomically(target, content) ? 0 : 1);
        ::usleep(static_cast<useconds_t>(k * 300));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = contentOf(target);
        EXPECT_TRUE(now == before || now == content) << k;
        before = now;
    }
    // A kill between naming the finished file and putting it in place
    // leaves it under a temporary name of the dead writer; the next write
    // into the folder removes it.
    for (const auto& entry : fs::directory_iterator(folder_)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "old.ign" || name.starts_with(".zelvor-tmp-")) << name;
    }
    ASSERT_TRUE(writeFileAtomically(target, "last"));
    EXPECT_EQ(contentOf(target), "last");
    expectOnly({"old.ign"});
}

// Where the file system has no files without a name, the temporary file has
// a short name of its own; what a killed writer leaves is removed by the
// next write into the folder, and nothing else is.
TEST_F(AtomicFile, NamedTemporariesOfDeadWritersAreRemovedLater) {
    detail::useAnonymousTemporaries(false);
    struct Restore {
        ~Restore() { detail::useAnonymousTemporaries(true); }
    } restore;
    const fs::path target = folder_ / "old.ign";
    putFile(target, "old");
    const pid_t child = killWriterMidway(target);
    std::string left;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        if (entry.path().filename() != "old.ign") left = entry.path().filename().string();
    }
    EXPECT_TRUE(left.starts_with(".zelvor-tmp-" + std::to_string(child) + "-")) << left;

    // An earlier writer named its files after the target.
    const std::string earlier = ".old.ign.tmp" + std::to_string(child) + "-4";
    const std::string otherTarget = ".other.ign.tmp" + std::to_string(child) + "-0";
    const std::string ofALiveProcess = ".zelvor-tmp-1-0";
    const std::string alike = ".zelvor-tmp-" + std::to_string(child) + "-0.ign";
    for (const std::string& name : {earlier, otherTarget, ofALiveProcess, alike}) {
        putFile(folder_ / name, "x");
    }
    const FileWriteResult result = writeFileAtomically(target, "new");
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(contentOf(target), "new");
    expectOnly({"old.ign", otherTarget, ofALiveProcess, alike});

    // The short name leaves room for the longest target name.
    std::string longName(251, 'n');
    longName += ".ig";
    EXPECT_TRUE(writeFileAtomically(folder_ / longName, "long"));
    EXPECT_EQ(contentOf(folder_ / longName), "long");
}

}  // namespace
}  // namespace zelvor::model
