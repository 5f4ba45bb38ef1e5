// Timing of the history of snapshots: listing 1000 snapshots with the index
// sound, and with the index gone (every entry read and the index rebuilt).
//   zelvor-history-timing [FOLDER]   (a temporary folder by default)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "history/snapshot_store.h"

using namespace zelvor;
namespace fs = std::filesystem;

namespace {

double millisecondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = argc > 1 ? fs::path(argv[1])
                                     : fs::temp_directory_path() /
                                           ("zelvor-history-timing-" + std::to_string(::getpid()));
    history::SnapshotStore store(folder);
    model::ParameterImage image;
    const double adding = millisecondsOf([&] {
        for (unsigned i = 0; i < history::SnapshotStore::kKeep; ++i) {
            // Every fourth image new, the others repeat: as a day of tuning.
            image.setByte(i % model::ParameterImage::kSize, static_cast<std::uint8_t>(i / 4));
            store.add(history::Event::Program, 1765300000 + i, "/bikes/tune.ign", "unit", image);
        }
    });
    std::size_t listed = 0;
    const double sound = millisecondsOf([&] { listed = store.list().snapshots.size(); });
    fs::remove(folder / "index");
    const double rebuilt = millisecondsOf([&] { store.list(); });
    const double again = millisecondsOf([&] { store.list(); });
    std::printf("adding %u snapshots: %.1f ms each (three files written whole each)\n",
                static_cast<unsigned>(history::SnapshotStore::kKeep),
                adding / history::SnapshotStore::kKeep);
    std::printf(
        "listing %zu snapshots: %.1f ms with the index, %.1f ms rebuilding a lost "
        "index, %.1f ms after\n",
        listed, sound, rebuilt, again);
    if (argc <= 1) fs::remove_all(folder);
    return 0;
}
