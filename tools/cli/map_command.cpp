#include "map_command.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "editing/map_clipboard.h"
#include "editing/map_content.h"
#include "history_keep.h"
#include "image_files.h"
#include "model/injection.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::cli {

namespace {

using editing::MapId;
using editing::MapSelection;

struct MapName {
    std::string_view name;
    MapId map;
};

constexpr std::array<MapName, 3> kMapNames = {{
    {"advance", MapId::Advance},
    {"inj1", MapId::Jet1A},
    {"inj2", MapId::Jet2A},
}};

std::optional<MapId> mapNamed(std::string_view name) {
    for (const MapName& entry : kMapNames) {
        if (entry.name == name) return entry.map;
    }
    return std::nullopt;
}

constexpr Option kMapOptions[] = {
    {"map", 0, "advance|inj1|inj2",
     "the map: advance, inj1 (injection map 1) or inj2 (injection map 2)", true},
    {"ms", 0, "", "injection times in ms instead of percent of the cell's base time"},
    {"set", 0, "TABLE",
     "lay the tab-separated text of TABLE into the map and write the file to -o: a whole map "
     "with its axes as this command prints it, a single number for every cell, or a block of "
     "numbers from the first cell on; text that does not fit changes nothing"},
    {"output", 'o', "FILE", "file to write with --set (replaced as a whole)"},
};

int runMap(const Command& command, const Arguments& arguments, Io& io) {
    const std::string name = *arguments.value("map");
    const std::optional<MapId> map = mapNamed(name);
    if (!map) {
        return usageError(command, "--map takes advance, inj1 or inj2, not '" + name + "'", io);
    }
    const bool inMs = arguments.has("ms");
    if (inMs && *map == MapId::Advance) {
        return usageError(command, "--ms needs an injection map (inj1 or inj2)", io);
    }
    const std::optional<std::string> table = arguments.value("set");
    const std::optional<std::string> output = arguments.value("output");
    if (table && !output) return usageError(command, "--set needs -o FILE", io);
    if (output && !table) return usageError(command, "-o needs --set TABLE", io);

    std::optional<model::ParameterImage> image = loadParameterFile(arguments.positional[0], io.err);
    if (!image) return kExitError;
    // The map as the program shows the file after opening it.
    model::sanitize(*image);
    const MapSelection whole = MapSelection::wholeMap();
    if (!table) {
        io.out << editing::formatMapText(*map, editing::readMapContent(*map, *image), whole, inMs);
        return kExitOk;
    }

    const std::optional<std::string> text = readInput(*table, io.err);
    if (!text) return kExitError;
    const auto pasted = editing::pasteMapText(*text, *map, *image, whole, {}, inMs);
    if (const auto* error = std::get_if<editing::PasteError>(&pasted)) {
        io.err << "zelvor-cli: " << *table << ": " << editing::describePasteError(*error) << "\n";
        return kExitError;
    }
    model::InjectionScaling scaling;
    editing::writeMapEdit(*map, std::get<editing::MapEdit>(pasted), *image, scaling);
    // Every file this tool writes holds a sanitized image, as the program's own.
    model::sanitize(*image);
    if (!writeOutput(*output, model::formatParameterFile(*image), io.err)) return kExitError;
    keepSnapshot(history::Event::Save, *output, nullptr, *image, io.err);
    return kExitOk;
}

constexpr std::array<Command, 1> kMapCommands = {{
    {"map", "FILE",
     "print a map of a parameter file as tab-separated text with its axes (as the window "
     "copies it), or with --set lay such text into the map and write the file to -o",
     kMapOptions, 1, 1, runMap},
}};

}  // namespace

std::span<const Command> mapCommands() {
    return kMapCommands;
}

}  // namespace zelvor::cli
