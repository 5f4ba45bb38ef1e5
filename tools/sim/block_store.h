#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/parameter_image.h"

namespace zelvor::sim {

// The unit's parameter memory: nine blocks of 150 bytes, stored as they are
// programmed (the unit checks nothing), optionally kept in an image file of
// exactly 1350 raw bytes.
class BlockStore {
  public:
    static constexpr int kFirstBlock = 1;
    static constexpr int kLastBlock = model::ParameterImage::kBlockCount;

    BlockStore();  // the built-in parameter set
    explicit BlockStore(const model::ParameterImage& image) : image_(image) {}

    const model::ParameterImage& image() const { return image_; }
    static bool isBlock(int n) { return n >= kFirstBlock && n <= kLastBlock; }

    // Block n, 1..9.
    std::span<const std::uint8_t, 150> block(int n) const { return image_.block(n); }
    void store(int n, std::span<const std::uint8_t, 150> data);

  private:
    model::ParameterImage image_;
};

// Result of reading an image file.
struct ImageFileRead {
    enum class Status { Loaded, Missing, Invalid };
    Status status = Status::Missing;
    model::ParameterImage image;
    std::string message;  // why the file could not be used
};

ImageFileRead readImageFile(const std::string& path);

// Writes the image to a temporary file beside path and renames it over path,
// so the file always holds either the old or the new image. Returns an empty
// string on success, otherwise the reason.
std::string writeImageFile(const std::string& path, const model::ParameterImage& image);

}  // namespace zelvor::sim
