// zelvor-cli: parameter files and parameter images without the window.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "command.h"

namespace {

using zelvor::cli::Command;
using zelvor::cli::commandTable;

void printUsage(std::ostream& out) {
    out << "usage: zelvor-cli COMMAND [ARGUMENTS]\n"
           "       zelvor-cli COMMAND --help\n\n"
           "commands:\n";
    for (const Command& command : commandTable()) {
        out << "  " << command.name;
        if (!command.positionalSyntax.empty()) out << ' ' << command.positionalSyntax;
        out << "\n      " << command.summary << "\n";
    }
    out << "\nExit status: 0 done, 1 files differ (diff) or a transfer failed, 2 error.\n";
}

bool isHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zelvor::cli;
    const std::vector<std::string> words(argv + 1, argv + argc);
    Io io{std::cout, std::cerr};
    if (words.empty()) {
        std::cerr << "zelvor-cli: no command given\n";
        printUsage(std::cerr);
        return kExitError;
    }
    if (isHelp(words[0])) {
        printUsage(std::cout);
        return kExitOk;
    }
    const auto table = commandTable();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const Command& c) { return c.name == words[0]; });
    if (command == table.end()) {
        std::cerr << "zelvor-cli: unknown command '" << words[0] << "'\n";
        printUsage(std::cerr);
        return kExitError;
    }
    const std::span<const std::string> rest(words.begin() + 1, words.end());
    // After "--" every word is an argument, even one that looks like --help.
    const auto optionsEnd = std::find(rest.begin(), rest.end(), "--");
    if (std::any_of(rest.begin(), optionsEnd, isHelp)) {
        printCommandHelp(*command, std::cout);
        return kExitOk;
    }
    const std::optional<Arguments> arguments = parseArguments(*command, rest, io);
    if (!arguments) return kExitError;
    return command->run(*command, *arguments, io);
}
