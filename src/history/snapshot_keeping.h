#pragma once

#include <string>

#include "history/snapshot_store.h"

namespace zelvor::history {

// Keeps the image in the history in the default folder, as of now: the
// file's full path (the path as given when it cannot be made absolute) and
// the unit's identification, empty when no unit was talked to. What could
// not be kept is said in the result; nothing is thrown.
SnapshotStore::Added keepSnapshot(Event event, const std::string& file, const std::string& unit,
                                  const model::ParameterImage& image);

}  // namespace zelvor::history
