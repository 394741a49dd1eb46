#pragma once

#include <algorithm>
#include <string_view>

#include "linescan/byte_stream.h"

namespace bench {

// Gives out a text already in memory, in blocks as large as asked for.
class MemorySource final : public linescan::ByteSource {
 public:
  explicit MemorySource(std::string_view text) : rest_(text) {}
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override {
    const std::size_t count = std::min(buffer.size(), rest_.size());
    std::copy_n(rest_.data(), count, buffer.data());
    rest_.remove_prefix(count);
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::string_view rest_;
};

// Takes every byte and keeps none.
class DiscardSink final : public linescan::ByteSink {
 public:
  [[nodiscard]] std::ptrdiff_t write_some(std::span<const char> bytes) override {
    return static_cast<std::ptrdiff_t>(bytes.size());
  }
};

}  // namespace bench
