#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

extern char** environ;

namespace zelvor::testing {

// How a program ended and what it wrote.
struct ProgramRun {
    int exitCode = -1;  // -1 when it did not exit by itself
    std::string out;
    std::string err;
};

// Starts a program with its standard output and error going to the files
// given. Returns its process id, or -1 after a test failure when it could
// not be started.
inline pid_t spawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& outFile,
                          const std::filesystem::path& errFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(error, 0) << program;
    return error == 0 ? pid : -1;
}

// Waits for a program started by spawnProgram and reads what it wrote.
inline ProgramRun finishProgram(pid_t pid, const std::filesystem::path& outFile,
                                const std::filesystem::path& errFile) {
    ProgramRun run;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.out = contentOf(outFile);
    run.err = contentOf(errFile);
    return run;
}

inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::filesystem::path& outFile,
                             const std::filesystem::path& errFile) {
    return finishProgram(spawnProgram(program, arguments, outFile, errFile), outFile, errFile);
}

}  // namespace zelvor::testing
