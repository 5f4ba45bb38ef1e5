#pragma once

#include <iosfwd>
#include <string>

#include "history/snapshot.h"
#include "link/unit_identification.h"
#include "model/parameter_image.h"

namespace zelvor::cli {

// Keeps the image in the history of snapshots (read, programmed, saved): the
// file's full path and, where a unit was talked to, its identification. A
// history that cannot be written is reported and fails nothing.
void keepSnapshot(history::Event event, const std::string& file,
                  const link::UnitIdentification* unit, const model::ParameterImage& image,
                  std::ostream& err);

}  // namespace zelvor::cli
