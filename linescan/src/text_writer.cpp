#include "linescan/text_writer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace linescan {

TextWriter::TextWriter(ByteSink& sink, std::size_t block_size)
    : sink_(sink), block_(std::max<std::size_t>(block_size, 1)) {}

void TextWriter::write(std::string_view text) {
  while (!text.empty()) {
    const auto* newline = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    if (newline == nullptr) {
      put(text);
      return;
    }
    const auto line = static_cast<std::size_t>(newline - text.data());
    put(text.substr(0, line));
    put("\r\n");
    text.remove_prefix(line + 1);
  }
}

void TextWriter::put(std::string_view bytes) {
  if (bytes.empty()) return;
  // A short text into a block with room for it, at once; the loop below
  // writes the same, a piece at a time.
  if (bytes.size() <= block_.size() - used_) {
    std::memcpy(block_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return;
  }
  while (!bytes.empty() && !failed_) {
    if (used_ == block_.size()) write_out();
    const std::size_t count = std::min(bytes.size(), block_.size() - used_);
    std::memcpy(block_.data() + used_, bytes.data(), count);
    used_ += count;
    bytes.remove_prefix(count);
  }
}

void TextWriter::write_out() {
  const std::size_t count = std::exchange(used_, 0);
  if (!failed_) failed_ = !write_all(sink_, {block_.data(), count});
}

bool TextWriter::flush() {
  write_out();
  return !failed_;
}

}  // namespace linescan
