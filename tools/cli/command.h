#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvor::cli {

// Exit codes of every command: 0 done (or "equal" for diff), 1 "differ" for
// diff, 2 any error, bad arguments included.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffer = 1;
inline constexpr int kExitError = 2;

struct Option {
    std::string_view longName;   // "output" for --output
    char shortName;              // 'o' for -o, or 0
    std::string_view valueName;  // "FILE"; empty for a flag
    std::string_view help;
    bool required = false;

    bool takesValue() const { return !valueName.empty(); }
};

// One command's arguments after parsing: positional words, options with
// their values (by long name) and flags that were given.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::set<std::string, std::less<>> flags;

    std::optional<std::string> value(std::string_view name) const;
    bool has(std::string_view flag) const { return flags.contains(flag); }
};

struct Io {
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;  // progress lines are rewritten in place
};

// A command of zelvor-cli. Commands are plain table rows; each group of
// commands (parameter files, unit transfers) lives in its own file and
// offers its rows through a function listed in command_table.cpp.
struct Command {
    std::string_view name;
    std::string_view positionalSyntax;  // "FILE", "A B"
    std::string_view summary;
    std::span<const Option> options;
    std::size_t minPositional;
    std::size_t maxPositional;
    // Runs the command; gets its own row to report usage errors with.
    int (*run)(const Command&, const Arguments&, Io&);
};

// Every command, in the order the help lists them.
std::span<const Command> commandTable();

// Reports a usage error with the command's synopsis; returns kExitError.
int usageError(const Command& command, std::string_view message, Io& io);

// Prints "usage: zelvor-cli NAME SYNTAX [options]" and the option list.
void printCommandHelp(const Command& command, std::ostream& out);

// Parses the words after the command name; on a mistake reports it and
// returns nothing.
std::optional<Arguments> parseArguments(const Command& command, std::span<const std::string> words,
                                        Io& io);

}  // namespace zelvor::cli
