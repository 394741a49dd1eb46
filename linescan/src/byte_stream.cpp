#include "linescan/byte_stream.h"

#include <array>

namespace linescan {

bool write_all(ByteSink& sink, std::span<const char> bytes) {
  while (!bytes.empty()) {
    const std::ptrdiff_t count = sink.write_some(bytes);
    if (count <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(count));
  }
  return true;
}

bool copy_all(ByteSource& source, ByteSink& sink) {
  constexpr std::size_t k_block_size = 1 << 16;  // Tuning: any size from 1 copies the same bytes.
  std::array<char, k_block_size> block;
  for (;;) {
    const std::ptrdiff_t count = source.read_some(block);
    if (count <= 0) return count == 0;  // the end, or a read error
    if (!write_all(sink, {block.data(), static_cast<std::size_t>(count)})) return false;
  }
}

}  // namespace linescan
