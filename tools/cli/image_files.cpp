#include "image_files.h"

#include <ostream>

#include "model/atomic_file.h"
#include "model/default_set.h"
#include "model/parameter_file_io.h"
#include "model/parameter_file_reader.h"

namespace zelvor::cli {

std::optional<std::string> readInput(const std::string& path, std::ostream& err) {
    std::optional<std::string> content = model::readFileContent(path);
    if (!content) err << "zelvor-cli: Open file error! " << path << "\n";
    return content;
}

std::optional<model::ParameterImage> loadParameterFile(const std::string& path, std::ostream& err) {
    const std::optional<std::string> content = readInput(path, err);
    if (!content) return std::nullopt;
    model::ParameterImage image;
    image.set(model::Field::BIKE_BikeType, 0);
    model::loadDefaultSet(image);
    if (model::parseParameterFile(*content, image) != model::ReadOutcome::Accepted) {
        err << "zelvor-cli: Unmatched version of *.ign file! " << path << "\n";
        return std::nullopt;
    }
    return image;
}

bool writeOutput(const std::string& path, std::string_view content, std::ostream& err) {
    const model::FileWriteResult result = model::writeFileAtomically(path, content);
    if (!result) err << "zelvor-cli: Open file error! " << path << " (" << result.error << ")\n";
    return result.ok;
}

}  // namespace zelvor::cli
