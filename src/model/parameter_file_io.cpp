#include "model/parameter_file_io.h"

#include <fstream>

#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"

namespace zelvor::model {

std::optional<std::string> readFileContent(const std::filesystem::path& path, std::size_t maxSize) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content;
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in.gcount());
        if (content.size() + got > maxSize) return std::nullopt;
        content.append(chunk, got);
    }
    if (in.bad()) return std::nullopt;
    return content;
}

LoadStatus loadParameterFile(const std::filesystem::path& path, ParameterImage& image) {
    const std::optional<std::string> content = readFileContent(path);
    if (!content) return LoadStatus::OpenError;
    return parseParameterFile(*content, image) == ReadOutcome::Accepted
               ? LoadStatus::Loaded
               : LoadStatus::VersionMismatch;
}

FileWriteResult saveParameterFile(const std::filesystem::path& path, const ParameterImage& image) {
    return writeFileAtomically(path, formatParameterFile(image));
}

}  // namespace zelvor::model
