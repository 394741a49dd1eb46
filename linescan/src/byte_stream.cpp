#include "linescan/byte_stream.h"

#include <unistd.h>

#include <cerrno>

namespace linescan {

std::ptrdiff_t FdSource::read_some(std::span<char> buffer) {
  for (;;) {
    const ssize_t count = ::read(fd_, buffer.data(), buffer.size());
    if (count >= 0 || errno != EINTR) return count;
  }
}

std::ptrdiff_t FdSink::write_some(std::span<const char> bytes) {
  for (;;) {
    const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
    if (count > 0) return count;
    if (count == 0 || errno != EINTR) return -1;
  }
}

}  // namespace linescan
