#include "sim/block_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "sim/default_image.h"

namespace zelvor::sim {

namespace {

std::string errorText(const std::string& path, int error) {
    return path + ": " + std::strerror(error);
}

// Writes all bytes, retrying short writes; false with errno set on failure.
bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

BlockStore::BlockStore() : image_(builtInImage()) {}

void BlockStore::store(int n, std::span<const std::uint8_t, 150> data) {
    std::copy(data.begin(), data.end(), image_.block(n).begin());
}

ImageFileRead readImageFile(const std::string& path) {
    ImageFileRead result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        result.status =
            error == ENOENT ? ImageFileRead::Status::Missing : ImageFileRead::Status::Invalid;
        result.message = errorText(path, error);
        return result;
    }
    // Read one byte more than an image holds to notice longer files.
    std::vector<std::uint8_t> bytes(model::ParameterImage::kSize + 1);
    std::size_t got = 0;
    int readError = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = errno;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    result.status = ImageFileRead::Status::Invalid;
    if (readError != 0) {
        result.message = errorText(path, readError);
    } else if (got != model::ParameterImage::kSize) {
        result.message = path + ": not a unit image (expected exactly " +
                         std::to_string(model::ParameterImage::kSize) + " bytes)";
    } else {
        std::copy_n(bytes.begin(), got, result.image.bytes().begin());
        result.status = ImageFileRead::Status::Loaded;
    }
    return result;
}

std::string writeImageFile(const std::string& path, const model::ParameterImage& image) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return errorText(temporary, errno);
    // mkstemp makes the file private; an image file is ordinary user data.
    (void)::fchmod(fd, 0644);
    const auto& bytes = image.bytes();
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        return errorText(path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return errorText(path, error);
    }
    return {};
}

}  // namespace zelvor::sim
