#include "history_keep.h"

#include <ctime>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "history/snapshot_store.h"

namespace zelvor::cli {

std::string unitText(const link::UnitIdentification& unit) {
    std::string text;
    for (const std::string& part : {unit.identification, unit.date, unit.time}) {
        const std::size_t first = part.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        const std::size_t last = part.find_last_not_of(' ');
        if (!text.empty()) text += ' ';
        text += part.substr(first, last - first + 1);
    }
    return text;
}

void keepSnapshot(history::Event event, const std::string& file,
                  const link::UnitIdentification* unit, const model::ParameterImage& image,
                  std::ostream& err) {
    std::string path = file;
    std::error_code error;
    if (!file.empty()) {
        const std::filesystem::path absolute = std::filesystem::absolute(file, error);
        if (!error) path = absolute.lexically_normal().string();
    }
    history::SnapshotStore store(history::SnapshotStore::defaultFolder());
    const history::SnapshotStore::Added added =
        store.add(event, static_cast<std::int64_t>(std::time(nullptr)), path,
                  unit != nullptr ? unitText(*unit) : std::string(), image);
    if (!added.snapshot) {
        err << "zelvor-cli: note: the history could not keep this image (" << added.error << ")\n";
    }
}

}  // namespace zelvor::cli
