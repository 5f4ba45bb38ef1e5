#include "image_files.h"

#include <algorithm>
#include <ostream>

#include "model/atomic_file.h"
#include "model/default_set.h"
#include "model/field.h"
#include "model/parameter_file_io.h"
#include "model/parameter_file_reader.h"

namespace zelvor::cli {

using model::Field;
using model::ParameterImage;

std::optional<std::string> readInput(const std::string& path, std::ostream& err) {
    std::optional<std::string> content = model::readFileContent(path);
    if (!content) err << "zelvor-cli: Open file error! " << path << "\n";
    return content;
}

ParameterImage defaultImage(unsigned bike) {
    ParameterImage image;
    image.set(Field::BIKE_BikeType, bike);
    model::loadDefaultSet(image);
    return image;
}

std::optional<std::string> readParameterFile(const std::string& path, std::ostream& err) {
    std::optional<std::string> content = readInput(path, err);
    if (!content) return std::nullopt;
    ParameterImage probe;
    if (model::parseParameterFile(*content, probe) != model::ReadOutcome::Accepted) {
        err << "zelvor-cli: Unmatched version of *.ign file! " << path << "\n";
        return std::nullopt;
    }
    return content;
}

ParameterImage openedImage(std::string_view content) {
    // The file's bike decides which default set lies under it; a file
    // without a BIKE section is of bike 0, the bike the program starts with.
    ParameterImage probe = defaultImage();
    model::parseParameterFile(content, probe);
    ParameterImage image = defaultImage(probe.get(Field::BIKE_BikeType));
    model::parseParameterFile(content, image);
    model::applyBikeUpdate(image);
    return image;
}

std::optional<ParameterImage> loadParameterFile(const std::string& path, std::ostream& err) {
    const std::optional<std::string> content = readParameterFile(path, err);
    if (!content) return std::nullopt;
    return openedImage(*content);
}

std::optional<ParameterImage> readImageFile(const std::string& path, std::ostream& err) {
    const std::optional<std::string> raw = readInput(path, err);
    if (!raw) return std::nullopt;
    if (raw->size() != ParameterImage::kSize) {
        err << "zelvor-cli: " << path << " is not a parameter image: " << raw->size()
            << " bytes instead of " << ParameterImage::kSize << "\n";
        return std::nullopt;
    }
    ParameterImage image;
    std::copy(raw->begin(), raw->end(), image.bytes().begin());
    return image;
}

bool writeOutput(const std::string& path, std::string_view content, std::ostream& err) {
    const model::FileWriteResult result = model::writeFileAtomically(path, content);
    if (!result) err << "zelvor-cli: Open file error! " << path << " (" << result.error << ")\n";
    return result.ok;
}

}  // namespace zelvor::cli
