#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

#include "linescan/byte_stream.h"

namespace linescan {

// Writes text to a sink, which it does not own, in text mode: every newline
// reaches the sink as a carriage return and a line feed, and every other byte
// as it is. Writes are gathered into blocks. A failed write
// is remembered; what is written after it is dropped.
class TextWriter {
 public:
  static constexpr std::size_t k_default_block_size = 256 * 1024;  // Tuning: every size from 1 writes the same.

  explicit TextWriter(ByteSink& sink, std::size_t block_size = k_default_block_size);

  void write(std::string_view text);

  // Writes a piece, or any text whose one newline, if it has one, is its last
  // byte: the same as write(), with no search for newlines.
  void write_piece(std::string_view piece) {
    const bool line_end = piece.ends_with('\n');
    const std::size_t size = piece.size() - (line_end ? 1 : 0);
    if (size + 2 <= block_.size() - used_) {
      if (size > 0) std::memcpy(block_.data() + used_, piece.data(), size);
      used_ += size;
      if (line_end) {
        block_[used_++] = '\r';
        block_[used_++] = '\n';
      }
      return;
    }
    write(piece);
  }

  // Writes out what is gathered: false if any write so far has failed.
  [[nodiscard]] bool flush();

  [[nodiscard]] bool failed() const { return failed_; }

 private:
  void put(std::string_view bytes);
  void write_out();

  ByteSink& sink_;
  std::vector<char> block_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace linescan
