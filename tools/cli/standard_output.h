#pragma once

#include <array>
#include <streambuf>

namespace zelvor::cli {

// A buffered output stream buffer on a file descriptor that keeps the reason
// of the first failed write. A full disk or a device that takes nothing
// (/dev/full) makes the stream fail, and the command can say why instead of
// reporting success for output that was lost.
class DescriptorOutputBuffer final : public std::streambuf {
  public:
    explicit DescriptorOutputBuffer(int fd);
    ~DescriptorOutputBuffer() override;
    DescriptorOutputBuffer(const DescriptorOutputBuffer&) = delete;
    DescriptorOutputBuffer& operator=(const DescriptorOutputBuffer&) = delete;

    // The errno of the first failed write, 0 while every write went through.
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    // Writes what is buffered; false once a write failed.
    bool drain();

    int fd_;
    int error_ = 0;
    std::array<char, 4096> buffer_{};
};

}  // namespace zelvor::cli
