#include "history_command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <ostream>
#include <string>

#include "history/snapshot_export.h"
#include "history/snapshot_store.h"
#include "history_keep.h"

namespace zelvor::cli {

namespace {

constexpr Option kHistoryOptions[] = {
    {"unit", 0, "ID", "list only the snapshots of units whose identification contains ID"},
    {"export", 0, "N", "write snapshot N as a parameter file (with -o)"},
    {"output", 'o', "FILE", "parameter file to write for --export (replaced as a whole)"},
};

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    const auto lower = [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [&lower](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

void printSnapshot(const history::SnapshotInfo& s, std::ostream& out) {
    out << s.number << '\t' << history::timeText(s.time) << '\t' << history::eventName(s.event)
        << '\t' << (s.unit.empty() ? "-" : s.unit) << '\t' << (s.file.empty() ? "-" : s.file)
        << '\n';
}

int exportSnapshot(const Command& command, const history::SnapshotStore& store,
                   const history::Listing& listing, const std::string& numberText,
                   const Arguments& arguments, Io& io) {
    std::uint64_t number = 0;
    const auto [end, error] =
        std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
    if (error != std::errc() || end != numberText.data() + numberText.size()) {
        return usageError(command, "--export takes a snapshot number, not '" + numberText + "'",
                          io);
    }
    const std::optional<std::string> output = arguments.value("output");
    if (!output) return usageError(command, "--export needs -o FILE", io);
    const auto found = std::find_if(listing.snapshots.begin(), listing.snapshots.end(),
                                    [number](const auto& s) { return s.number == number; });
    if (found == listing.snapshots.end()) {
        io.err << "zelvor-cli: there is no snapshot " << number << " in " << store.folder().string()
               << "\n";
        return kExitError;
    }
    const history::Exported exported = history::exportSnapshot(store, *found, *output);
    if (exported.failure == history::Exported::Failure::Image) {
        io.err << "zelvor-cli: " << exported.problem << "\n";
        return kExitError;
    }
    if (exported.corrected) {
        io.err << "zelvor-cli: note: snapshot " << number
               << " holds values out of range; the file holds them in range\n";
    }
    if (!exported.written()) {
        io.err << "zelvor-cli: Open file error! " << *output << " (" << exported.problem << ")\n";
        return kExitError;
    }
    keepSnapshot(history::Event::Save, *output, nullptr, exported.image, io.err);
    return kExitOk;
}

int runHistory(const Command& command, const Arguments& arguments, Io& io) {
    const history::SnapshotStore store(history::SnapshotStore::defaultFolder());
    const history::Listing listing = store.list();
    for (const std::string& problem : listing.problems) io.err << "zelvor-cli: " << problem << "\n";
    if (const std::optional<std::string> number = arguments.value("export")) {
        return exportSnapshot(command, store, listing, *number, arguments, io);
    }
    if (arguments.value("output")) return usageError(command, "-o goes with --export", io);
    const std::optional<std::string> unit = arguments.value("unit");
    for (const history::SnapshotInfo& s : listing.snapshots) {
        if (unit && !containsIgnoringCase(s.unit, *unit)) continue;
        printSnapshot(s, io.out);
    }
    return kExitOk;
}

}  // namespace

std::span<const Command> historyCommands() {
    static constexpr Command kHistoryCommands[] = {
        {"history", "",
         "list the images kept at every read, program and save, newest first (number, time, "
         "event, unit, file); --export N -o FILE writes one as a parameter file",
         kHistoryOptions, 0, 0, runHistory},
    };
    return kHistoryCommands;
}

}  // namespace zelvor::cli
