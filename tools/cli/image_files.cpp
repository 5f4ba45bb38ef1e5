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

model::ParameterImage defaultImage(unsigned bike) {
    model::ParameterImage image;
    image.set(model::Field::BIKE_BikeType, bike);
    model::loadDefaultSet(image);
    return image;
}

namespace {

// The file's content read onto bike 0's default set, or nothing after
// reporting a file of another version.
std::optional<model::ParameterImage> readOntoDefaults(const std::string& content,
                                                      const std::string& path, std::ostream& err) {
    model::ParameterImage image = defaultImage();
    if (model::parseParameterFile(content, image) != model::ReadOutcome::Accepted) {
        err << "zelvor-cli: Unmatched version of *.ign file! " << path << "\n";
        return std::nullopt;
    }
    return image;
}

}  // namespace

std::optional<model::ParameterImage> loadParameterFile(const std::string& path, std::ostream& err) {
    const std::optional<std::string> content = readInput(path, err);
    if (!content) return std::nullopt;
    return readOntoDefaults(*content, path, err);
}

std::optional<model::ParameterImage> loadTuneFile(const std::string& path, std::ostream& err) {
    const std::optional<std::string> content = readInput(path, err);
    if (!content) return std::nullopt;
    std::optional<model::ParameterImage> image = readOntoDefaults(*content, path, err);
    if (!image) return std::nullopt;
    const unsigned bike = image->get(model::Field::BIKE_BikeType);
    if (bike == 0) return image;
    model::ParameterImage ofBike = defaultImage(bike);
    model::parseParameterFile(*content, ofBike);
    return ofBike;
}

bool writeOutput(const std::string& path, std::string_view content, std::ostream& err) {
    const model::FileWriteResult result = model::writeFileAtomically(path, content);
    if (!result) err << "zelvor-cli: Open file error! " << path << " (" << result.error << ")\n";
    return result.ok;
}

}  // namespace zelvor::cli
