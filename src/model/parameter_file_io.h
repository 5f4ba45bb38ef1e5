#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "model/atomic_file.h"
#include "model/parameter_image.h"

namespace zelvor::model {

// Far more than any parameter file (about 10 KB); larger files are refused
// rather than read into memory.
inline constexpr std::size_t kMaxParameterFileSize = 16 * 1024 * 1024;

// The whole content of a file, or nothing when it cannot be opened or read or
// is larger than maxSize bytes.
std::optional<std::string> readFileContent(const std::filesystem::path& path,
                                           std::size_t maxSize = kMaxParameterFileSize);

enum class LoadStatus {
    Loaded,
    OpenError,        // the file cannot be opened or read; the image is unchanged
    VersionMismatch,  // no magic word with version 63; the image is unchanged
};

// Opens a parameter file into the image (see parseParameterFile). Sanitizing
// afterwards is the caller's part.
LoadStatus loadParameterFile(const std::filesystem::path& path, ParameterImage& image);

// Writes the image as a parameter file through the atomic writer, so a failed
// write leaves an existing file as it was. Sanitize the image first.
FileWriteResult saveParameterFile(const std::filesystem::path& path, const ParameterImage& image);

}  // namespace zelvor::model
