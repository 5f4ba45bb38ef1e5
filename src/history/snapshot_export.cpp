#include "history/snapshot_export.h"

#include "model/atomic_file.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::history {

Exported exportSnapshot(const SnapshotStore& store, const SnapshotInfo& snapshot,
                        const std::filesystem::path& file) {
    Exported exported;
    const std::optional<model::ParameterImage> image = store.image(snapshot, &exported.problem);
    if (!image) {
        exported.failure = Exported::Failure::Image;
        return exported;
    }
    exported.image = *image;
    model::sanitize(exported.image);
    exported.corrected = exported.image != *image;
    const model::FileWriteResult written =
        model::writeFileAtomically(file, model::formatParameterFile(exported.image));
    if (!written) {
        exported.failure = Exported::Failure::Write;
        exported.problem = written.error;
    }
    return exported;
}

}  // namespace zelvor::history
