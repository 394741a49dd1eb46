#pragma once

#include <cstddef>
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
  static constexpr std::size_t k_default_block_size = 64 * 1024;

  explicit TextWriter(ByteSink& sink, std::size_t block_size = k_default_block_size);

  void write(std::string_view text);

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
