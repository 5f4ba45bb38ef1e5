#include <ostream>

#include "command.h"

namespace zelvor::cli {

namespace {

const Option* findOption(const Command& command, std::string_view word) {
    for (const Option& option : command.options) {
        if (word.starts_with("--") && word.substr(2) == option.longName) return &option;
        if (option.shortName != 0 && word.size() == 2 && word[0] == '-' &&
            word[1] == option.shortName) {
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> Arguments::value(std::string_view name) const {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

int usageError(const Command& command, std::string_view message, Io& io) {
    io.err << "zelvor-cli: " << message << "\n";
    printCommandHelp(command, io.err);
    return kExitError;
}

void printCommandHelp(const Command& command, std::ostream& out) {
    out << "usage: zelvor-cli " << command.name;
    if (!command.positionalSyntax.empty()) out << ' ' << command.positionalSyntax;
    for (const Option& option : command.options) {
        out << ' ' << (option.required ? "" : "[");
        if (option.shortName != 0) {
            out << '-' << option.shortName;
        } else {
            out << "--" << option.longName;
        }
        if (option.takesValue()) out << ' ' << option.valueName;
        out << (option.required ? "" : "]");
    }
    out << "\n  " << command.summary << "\n";
    for (const Option& option : command.options) {
        out << "  ";
        if (option.shortName != 0) out << '-' << option.shortName << ", ";
        out << "--" << option.longName;
        if (option.takesValue()) out << ' ' << option.valueName;
        out << "\n      " << option.help << "\n";
    }
}

std::optional<Arguments> parseArguments(const Command& command, std::span<const std::string> words,
                                        Io& io) {
    Arguments arguments;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (optionsEnded || word == "-" || !word.starts_with('-')) {
            arguments.positional.emplace_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = word.find('=');
            word.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = std::string(word.substr(equals + 1));
            word = word.substr(0, equals);
        }
        const Option* option = findOption(command, word);
        if (option == nullptr) {
            usageError(command, "unknown option " + std::string(word), io);
            return std::nullopt;
        }
        const std::string name(option->longName);
        if (!option->takesValue()) {
            if (inlineValue) {
                usageError(command, "option --" + name + " takes no value", io);
                return std::nullopt;
            }
            arguments.flags.insert(name);
        } else if (inlineValue) {
            arguments.values[name] = *inlineValue;
        } else if (i + 1 < words.size()) {
            arguments.values[name] = words[++i];
        } else {
            usageError(command, "option " + std::string(word) + " needs a value", io);
            return std::nullopt;
        }
    }
    for (const Option& option : command.options) {
        if (option.required && !arguments.values.contains(option.longName)) {
            usageError(command, "missing option --" + std::string(option.longName), io);
            return std::nullopt;
        }
    }
    const std::size_t count = arguments.positional.size();
    if (count < command.minPositional || count > command.maxPositional) {
        usageError(command,
                   count < command.minPositional ? "missing argument" : "too many arguments", io);
        return std::nullopt;
    }
    return arguments;
}

}  // namespace zelvor::cli
