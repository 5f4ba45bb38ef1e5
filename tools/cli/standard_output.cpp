#include "standard_output.h"

#include <unistd.h>

#include <cerrno>

namespace zelvor::cli {

DescriptorOutputBuffer::DescriptorOutputBuffer(int fd) : fd_(fd) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutputBuffer::~DescriptorOutputBuffer() {
    drain();
}

bool DescriptorOutputBuffer::drain() {
    const char* next = pbase();
    while (error_ == 0 && next < pptr()) {
        const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            // A write that takes nothing without an error would repeat for ever.
            error_ = written < 0 ? errno : EIO;
            break;
        }
        next += written;
    }
    // What could not be written is dropped: the stream has failed for good.
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

DescriptorOutputBuffer::int_type DescriptorOutputBuffer::overflow(int_type c) {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int DescriptorOutputBuffer::sync() {
    return drain() ? 0 : -1;
}

}  // namespace zelvor::cli
