// zelvor-cli: parameter files and parameter images without the window.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "command.h"
#include "standard_output.h"

namespace {

using zelvor::cli::Command;
using zelvor::cli::commandTable;

void printUsage(std::ostream& out) {
    out << "usage: zelvor-cli COMMAND [ARGUMENTS]\n"
           "       zelvor-cli COMMAND --help\n"
           "       zelvor-cli --version\n\n"
           "commands:\n";
    for (const Command& command : commandTable()) {
        out << "  " << command.name;
        if (!command.positionalSyntax.empty()) out << ' ' << command.positionalSyntax;
        out << "\n      " << command.summary << "\n";
    }
    out << "\nExit status: 0 done, 1 files differ (diff), a transfer failed or no unit\n"
           "answered (doctor), 2 error\n"
           "(standard output that cannot be written included).\n";
}

bool isHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

int runCommandLine(const std::vector<std::string>& words, zelvor::cli::Io& io) {
    using namespace zelvor::cli;
    if (words.empty()) {
        io.err << "zelvor-cli: no command given\n";
        printUsage(io.err);
        return kExitError;
    }
    if (isHelp(words[0])) {
        printUsage(io.out);
        return kExitOk;
    }
    if (words[0] == "--version") {
        io.out << "zelvor-cli " << ZELVOR_VERSION << "\n";
        return kExitOk;
    }
    const auto table = commandTable();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const Command& c) { return c.name == words[0]; });
    if (command == table.end()) {
        io.err << "zelvor-cli: unknown command '" << words[0] << "'\n";
        printUsage(io.err);
        return kExitError;
    }
    const std::span<const std::string> rest(words.begin() + 1, words.end());
    // After "--" every word is an argument, even one that looks like --help.
    const auto optionsEnd = std::find(rest.begin(), rest.end(), "--");
    if (std::any_of(rest.begin(), optionsEnd, isHelp)) {
        printCommandHelp(*command, io.out);
        return kExitOk;
    }
    const std::optional<Arguments> arguments = parseArguments(*command, rest, io);
    if (!arguments) return kExitError;
    return command->run(*command, *arguments, io);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zelvor::cli;
    DescriptorOutputBuffer standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    Io io{out, std::cerr, ::isatty(STDOUT_FILENO) == 1};
    const int status = runCommandLine(std::vector<std::string>(argv + 1, argv + argc), io);
    // Output that did not arrive is a failure, whatever the command found:
    // a log written to a full disk must not look complete.
    out.flush();
    if (standardOutput.error() != 0) {
        std::cerr << "zelvor-cli: cannot write standard output: "
                  << std::strerror(standardOutput.error()) << "\n";
        return kExitError;
    }
    return status;
}
