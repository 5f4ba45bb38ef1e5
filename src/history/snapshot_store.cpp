#include "history/snapshot_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <system_error>

#include "model/atomic_file.h"
#include "model/parameter_file_io.h"

namespace zelvor::history {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kIndexHeader = "zelvor-history-index 1";
constexpr std::string_view kEntrySuffix = ".snap";
constexpr std::string_view kImageSuffix = ".img";

std::string_view rawBytes(const model::ParameterImage& image) {
    return {reinterpret_cast<const char*>(image.bytes().data()), image.bytes().size()};
}

// Holds an advisory lock on the store while one process adds to it, so
// that the window and zelvor-cli never take the same number.
class StoreLock {
  public:
    explicit StoreLock(const fs::path& file)
        : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~StoreLock() {
        if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

  private:
    int fd_;
};

// The numbers of the entry files in the folder.
std::set<std::uint64_t> entryNumbers(const fs::path& folder) {
    std::set<std::uint64_t> numbers;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.ends_with(kEntrySuffix)) continue;
        const std::string stem = name.substr(0, name.size() - kEntrySuffix.size());
        if (stem.empty() || stem.find_first_not_of("0123456789") != std::string::npos) continue;
        numbers.insert(std::strtoull(stem.c_str(), nullptr, 10));
    }
    return numbers;
}

bool byNewest(const SnapshotInfo& a, const SnapshotInfo& b) {
    return a.number > b.number;
}

}  // namespace

SnapshotStore::SnapshotStore(fs::path folder, std::size_t keep)
    : folder_(std::move(folder)), keep_(std::max<std::size_t>(keep, 1)) {}

fs::path SnapshotStore::defaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data != nullptr && *data == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr ? home : ".") / ".local" / "share";
    }
    return base / "zelvor" / "history";
}

fs::path SnapshotStore::entryPath(std::uint64_t number) const {
    return folder_ / "entries" / (std::to_string(number) + std::string(kEntrySuffix));
}

fs::path SnapshotStore::imagePath(const std::string& key) const {
    return folder_ / "images" / (key + std::string(kImageSuffix));
}

std::optional<std::string> SnapshotStore::keepImage(const model::ParameterImage& image,
                                                    std::string& error) {
    const std::string_view bytes = rawBytes(image);
    const std::string base = imageKeyOf(bytes);
    for (int clash = 1; clash < 100; ++clash) {
        const std::string key = clash == 1 ? base : base + "-" + std::to_string(clash);
        const fs::path path = imagePath(key);
        const std::optional<std::string> existing = model::readFileContent(path);
        if (existing && *existing == bytes) return key;              // kept already
        if (existing && existing->size() == bytes.size()) continue;  // another image, same key
        // New, or a damaged file under this key: written whole.
        if (const model::FileWriteResult written = model::writeFileAtomically(path, bytes);
            !written) {
            error = written.error;
            return std::nullopt;
        }
        return key;
    }
    error = "too many images share one key";
    return std::nullopt;
}

SnapshotStore::Added SnapshotStore::add(Event event, std::int64_t time, const std::string& file,
                                        const std::string& unit,
                                        const model::ParameterImage& image) {
    Added added;
    std::error_code made;
    fs::create_directories(folder_ / "entries", made);
    fs::create_directories(folder_ / "images", made);
    if (made) {
        added.error = "cannot create " + folder_.string() + ": " + made.message();
        return added;
    }
    const StoreLock lock(folder_ / "lock");
    const std::optional<std::string> key = keepImage(image, added.error);
    if (!key) return added;

    bool indexCurrent = false;
    Listing listing = read(indexCurrent);
    std::uint64_t number = 1;
    const std::set<std::uint64_t> present = entryNumbers(folder_ / "entries");
    if (!present.empty()) number = *present.rbegin() + 1;
    if (!listing.snapshots.empty()) number = std::max(number, listing.snapshots.front().number + 1);

    SnapshotInfo snapshot{.number = number,
                          .time = time,
                          .event = event,
                          .file = file,
                          .unit = unit,
                          .imageKey = *key};
    if (const model::FileWriteResult written =
            model::writeFileAtomically(entryPath(number), formatEntry(snapshot));
        !written) {
        added.error = written.error;
        return added;
    }
    // The entry is what counts; the index only saves opening every entry.
    snapshot = *parseEntry(formatEntry(snapshot));
    listing.snapshots.insert(listing.snapshots.begin(), snapshot);
    prune(listing.snapshots);
    writeIndex(listing.snapshots);
    added.snapshot = snapshot;
    return added;
}

void SnapshotStore::prune(std::vector<SnapshotInfo>& newestFirst) {
    if (newestFirst.size() <= keep_) return;
    std::error_code ignored;
    for (std::size_t i = keep_; i < newestFirst.size(); ++i) {
        fs::remove(entryPath(newestFirst[i].number), ignored);
    }
    newestFirst.resize(keep_);
    std::set<std::string> used;
    for (const SnapshotInfo& s : newestFirst) used.insert(s.imageKey);
    for (fs::directory_iterator it(folder_ / "images", ignored), end; !ignored && it != end;
         it.increment(ignored)) {
        const std::string name = it->path().filename().string();
        if (!name.ends_with(kImageSuffix)) continue;
        const std::string key = name.substr(0, name.size() - kImageSuffix.size());
        if (isImageKey(key) && !used.contains(key)) fs::remove(it->path(), ignored);
    }
}

void SnapshotStore::writeIndex(const std::vector<SnapshotInfo>& newestFirst) const {
    std::string text(kIndexHeader);
    text += '\n';
    for (auto s = newestFirst.rbegin(); s != newestFirst.rend(); ++s) {
        text += formatIndexLine(*s) + '\n';
    }
    // A failed index write loses nothing: the next listing rebuilds it.
    (void)model::writeFileAtomically(folder_ / "index", text);
}

SnapshotStore::Collected SnapshotStore::collect(bool& indexCurrent) const {
    Collected collected;
    auto& found = collected.found;
    auto& fromIndex = collected.fromIndex;
    const std::set<std::uint64_t> present = entryNumbers(folder_ / "entries");
    indexCurrent = false;
    if (const std::optional<std::string> index = model::readFileContent(folder_ / "index")) {
        std::size_t start = 0;
        bool header = true;
        bool sound = true;
        while (start < index->size()) {
            std::size_t end = index->find('\n', start);
            if (end == std::string::npos) {
                sound = false;  // a cut last line
                break;
            }
            const std::string_view line = std::string_view(*index).substr(start, end - start);
            start = end + 1;
            if (header) {
                header = false;
                if (line != kIndexHeader) sound = false;
                continue;
            }
            const std::optional<SnapshotInfo> info = parseIndexLine(line);
            if (info && present.contains(info->number)) {
                found.emplace(info->number, *info);
                fromIndex.insert(info->number);
            } else {
                sound = false;
            }
        }
        indexCurrent = sound && !header;
    }
    // Entries the index does not know (or no longer knows) are read one by one.
    for (const std::uint64_t number : present) {
        if (found.contains(number)) continue;
        indexCurrent = false;
        const std::optional<std::string> text = model::readFileContent(entryPath(number));
        const std::optional<SnapshotInfo> info = text ? parseEntry(*text) : std::nullopt;
        if (!info || info->number != number) {
            collected.problems.push_back("snapshot " + std::to_string(number) +
                                         ": its entry cannot be read");
            continue;
        }
        found.emplace(number, *info);
    }
    return collected;
}

bool SnapshotStore::imageWhole(const std::string& key) const {
    std::error_code error;
    const auto size = fs::file_size(imagePath(key), error);
    return !error && size == model::ParameterImage::kSize;
}

bool SnapshotStore::settle(SnapshotInfo& info, bool fromIndex) const {
    if (!imageWhole(info.imageKey) && fromIndex) {
        // A line of the index may name what its entry does not: the entry
        // decides, and the index is written anew.
        const std::optional<std::string> text = model::readFileContent(entryPath(info.number));
        const std::optional<SnapshotInfo> entry = text ? parseEntry(*text) : std::nullopt;
        if (entry && entry->number == info.number && !(*entry == info)) {
            info = *entry;
            return false;
        }
    }
    return true;
}

Listing SnapshotStore::read(bool& indexCurrent) const {
    Collected collected = collect(indexCurrent);
    Listing listing;
    listing.problems = std::move(collected.problems);
    for (auto& [number, info] : collected.found) {
        if (!settle(info, collected.fromIndex.contains(number))) indexCurrent = false;
        if (!imageWhole(info.imageKey)) {
            listing.problems.push_back("snapshot " + std::to_string(number) +
                                       ": its image is missing or damaged");
            continue;
        }
        listing.snapshots.push_back(std::move(info));
    }
    std::sort(listing.snapshots.begin(), listing.snapshots.end(), byNewest);
    return listing;
}

std::optional<SnapshotInfo> SnapshotStore::newest(
    const std::function<bool(const SnapshotInfo&)>& wanted) const {
    bool indexCurrent = true;
    Collected collected = collect(indexCurrent);
    // Only the snapshots wanted, newest first, are checked for their image:
    // a long history is not opened file by file to find its newest entry.
    for (auto it = collected.found.rbegin(); it != collected.found.rend(); ++it) {
        SnapshotInfo info = it->second;
        if (!wanted(info)) continue;
        settle(info, collected.fromIndex.contains(it->first));
        if (wanted(info) && imageWhole(info.imageKey)) return info;
    }
    return std::nullopt;
}

Listing SnapshotStore::list() const {
    bool indexCurrent = true;
    Listing listing = read(indexCurrent);
    if (!indexCurrent && fs::exists(folder_ / "entries")) {
        const StoreLock lock(folder_ / "lock");
        writeIndex(listing.snapshots);
    }
    return listing;
}

std::optional<model::ParameterImage> SnapshotStore::image(const SnapshotInfo& snapshot,
                                                          std::string* problem) const {
    const std::optional<std::string> bytes = model::readFileContent(imagePath(snapshot.imageKey));
    if (!bytes || bytes->size() != model::ParameterImage::kSize) {
        if (problem != nullptr) {
            *problem =
                "snapshot " + std::to_string(snapshot.number) + ": its image is missing or damaged";
        }
        return std::nullopt;
    }
    model::ParameterImage image;
    std::copy(bytes->begin(), bytes->end(), image.bytes().begin());
    return image;
}

}  // namespace zelvor::history
