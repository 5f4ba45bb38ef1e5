#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "history/snapshot.h"
#include "model/parameter_image.h"

namespace zelvor::history {

// Everything the store could list, newest first, and what it could not
// read, in words ("snapshot 17: its image is missing").
struct Listing {
    std::vector<SnapshotInfo> snapshots;
    std::vector<std::string> problems;
};

// The images the program kept, in a folder of its own:
//   entries/N.snap   one small text file per snapshot (the truth),
//   images/KEY.img   the 1350 bytes, once per content,
//   index            one line per snapshot, so that a listing need not open
//                    every entry.
// Every file is written whole or not at all. A damaged or missing index is
// rebuilt from the entries; a damaged entry or a missing image costs that
// snapshot only, and the listing says which. The newest `keep` snapshots
// stay; older ones and images no snapshot uses go.
class SnapshotStore {
  public:
    static constexpr std::size_t kKeep = 1000;

    explicit SnapshotStore(std::filesystem::path folder, std::size_t keep = kKeep);

    // $XDG_DATA_HOME/zelvor/history, by default ~/.local/share/zelvor/history.
    static std::filesystem::path defaultFolder();

    struct Added {
        std::optional<SnapshotInfo> snapshot;
        std::string error;  // why nothing was kept
    };
    Added add(Event event, std::int64_t time, const std::string& file, const std::string& unit,
              const model::ParameterImage& image);

    Listing list() const;
    // The newest readable snapshot that `wanted` accepts, found without
    // checking the images of all the others.
    std::optional<SnapshotInfo> newest(
        const std::function<bool(const SnapshotInfo&)>& wanted) const;
    // The image of a snapshot; nothing (and problem set) when its file is
    // missing or not 1350 bytes.
    std::optional<model::ParameterImage> image(const SnapshotInfo& snapshot,
                                               std::string* problem = nullptr) const;

    const std::filesystem::path& folder() const { return folder_; }

  private:
    std::filesystem::path entryPath(std::uint64_t number) const;
    std::filesystem::path imagePath(const std::string& key) const;
    // The key the image is kept under, writing it when it is new.
    std::optional<std::string> keepImage(const model::ParameterImage& image, std::string& error);
    // What the index and the entries name, by number, before any image is
    // checked, and the entries that could not be read.
    struct Collected {
        std::map<std::uint64_t, SnapshotInfo> found;
        std::set<std::uint64_t> fromIndex;  // the numbers the index named
        std::vector<std::string> problems;
    };
    Collected collect(bool& indexCurrent) const;
    bool imageWhole(const std::string& key) const;
    // Takes the entry's word over an index line naming a missing image;
    // false when the two differed.
    bool settle(SnapshotInfo& info, bool fromIndex) const;
    // Listing plus whether the index on disk said the same.
    Listing read(bool& indexCurrent) const;
    void writeIndex(const std::vector<SnapshotInfo>& newestFirst) const;
    void prune(std::vector<SnapshotInfo>& newestFirst);

    std::filesystem::path folder_;
    std::size_t keep_;
};

}  // namespace zelvor::history
