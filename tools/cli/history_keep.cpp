#include "history_keep.h"

#include <ostream>

#include "history/snapshot_keeping.h"

namespace zelvor::cli {

void keepSnapshot(history::Event event, const std::string& file,
                  const link::UnitIdentification* unit, const model::ParameterImage& image,
                  std::ostream& err) {
    const history::SnapshotStore::Added added = history::keepSnapshot(
        event, file, unit != nullptr ? link::unitText(*unit) : std::string(), image);
    if (!added.snapshot) {
        err << "zelvor-cli: note: the history could not keep this image (" << added.error << ")\n";
    }
}

}  // namespace zelvor::cli
