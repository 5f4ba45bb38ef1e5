#include "history/snapshot_keeping.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace zelvor::history {

SnapshotStore::Added keepSnapshot(Event event, const std::string& file, const std::string& unit,
                                  const model::ParameterImage& image) {
    std::string path = file;
    if (!file.empty()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(file, error);
        if (!error) path = absolute.lexically_normal().string();
    }
    SnapshotStore store(SnapshotStore::defaultFolder());
    return store.add(event, static_cast<std::int64_t>(std::time(nullptr)), path, unit, image);
}

}  // namespace zelvor::history
