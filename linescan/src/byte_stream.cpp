#include "linescan/byte_stream.h"

namespace linescan {

bool write_all(ByteSink& sink, std::span<const char> bytes) {
  while (!bytes.empty()) {
    const std::ptrdiff_t count = sink.write_some(bytes);
    if (count <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(count));
  }
  return true;
}

}  // namespace linescan
