// Feeds arbitrary bytes to the history's readers: as one snapshot entry, as
// lines of the index, and as the index and an entry file of a store on disk
// that also holds two whole snapshots. Besides the sanitizers' checks it
// aborts when
// - what a reader took does not come back through its writer (entry and
//   index line alike), or the two forms disagree about one snapshot;
// - the listing names a snapshot that has no entry file, names one twice,
//   or passes over an entry file without saying it could not read it;
// - a second listing after the first (which may rebuild the index) differs.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "history/snapshot.h"
#include "history/snapshot_store.h"

using namespace zelvor;
namespace fs = std::filesystem;

namespace {

void entrySurvivesARoundTrip(std::string_view text) {
    const std::optional<history::SnapshotInfo> info = history::parseEntry(text);
    if (!info) return;
    const std::string written = history::formatEntry(*info);
    const std::optional<history::SnapshotInfo> again = history::parseEntry(written);
    if (!again || history::formatEntry(*again) != written) std::abort();
    // The index line of the same snapshot says the same.
    const std::optional<history::SnapshotInfo> line =
        history::parseIndexLine(history::formatIndexLine(*again));
    if (!line || !(*line == *again)) std::abort();
}

void indexLinesSurviveARoundTrip(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::optional<history::SnapshotInfo> info = history::parseIndexLine(line);
        if (!info) continue;
        const std::string written = history::formatIndexLine(*info);
        const std::optional<history::SnapshotInfo> again = history::parseIndexLine(written);
        if (!again || history::formatIndexLine(*again) != written) std::abort();
        const std::optional<history::SnapshotInfo> entry =
            history::parseEntry(history::formatEntry(*again));
        if (!entry || !(*entry == *again)) std::abort();
    }
}

void write(const fs::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

// A store of two whole snapshots, made once per run; each input replaces
// its index and a third entry file.
const fs::path& storeFolder() {
    static const fs::path folder = [] {
        const fs::path base =
            fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path made = base / ("zelvor-history-fuzz-" + std::to_string(::getpid()));
        fs::remove_all(made);
        history::SnapshotStore store(made);
        model::ParameterImage image;
        store.add(history::Event::Read, 1765300000, "", "unit A 1. 2.2026 10:00", image);
        image.setByte(7, 42);
        store.add(history::Event::Save, 1765300100, "/bikes/a.ign", "", image);
        std::atexit([] { fs::remove_all(storeFolder()); });
        return made;
    }();
    return folder;
}

void listingKeepsEveryWholeEntry(std::string_view text) {
    const fs::path& folder = storeFolder();
    write(folder / "index", text);
    write(folder / "entries" / "3.snap", text);
    const history::SnapshotStore store(folder);
    const history::Listing first = store.list();

    std::set<std::uint64_t> listed;
    for (const history::SnapshotInfo& s : first.snapshots) {
        if (s.number < 1 || s.number > 3 || !listed.insert(s.number).second) std::abort();
    }
    // A snapshot not listed is named among the problems (entries 1 and 2
    // are whole, but the index may name a missing image for them).
    for (std::uint64_t number = 1; number <= 3; ++number) {
        if (listed.contains(number)) continue;
        const std::string name = "snapshot " + std::to_string(number) + ":";
        bool said = false;
        for (const std::string& problem : first.problems) said = said || problem.starts_with(name);
        if (!said) std::abort();
    }
    const history::Listing second = store.list();
    if (second.snapshots != first.snapshots) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    entrySurvivesARoundTrip(text);
    indexLinesSurviveARoundTrip(text);
    listingKeepsEveryWholeEntry(text);
    return 0;
}
