#include "linescan/text_writer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace linescan {

TextWriter::TextWriter(int fd, std::size_t block_size) : fd_(fd), block_(std::max<std::size_t>(block_size, 1)) {}

void TextWriter::write(std::string_view text) {
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos) {
      put(text);
      return;
    }
    put(text.substr(0, newline));
    put("\r\n");
    text.remove_prefix(newline + 1);
  }
}

void TextWriter::put(std::string_view bytes) {
  while (!bytes.empty() && !failed_) {
    if (used_ == block_.size()) write_out();
    const std::size_t count = std::min(bytes.size(), block_.size() - used_);
    std::memcpy(block_.data() + used_, bytes.data(), count);
    used_ += count;
    bytes.remove_prefix(count);
  }
}

void TextWriter::write_out() {
  const char* next = block_.data();
  std::size_t left = used_;
  used_ = 0;
  while (left > 0 && !failed_) {
    const ssize_t count = ::write(fd_, next, left);
    if (count < 0 && errno == EINTR) continue;
    failed_ = count <= 0;
    if (count > 0) {
      next += count;
      left -= static_cast<std::size_t>(count);
    }
  }
}

bool TextWriter::flush() {
  write_out();
  return !failed_;
}

}  // namespace linescan
