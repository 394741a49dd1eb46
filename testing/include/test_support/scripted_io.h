#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "linescan/byte_stream.h"

// Bytes in memory as a source and a sink, for the tests, the fuzz targets
// and the benchmarks alike: with no file between them and the code, a read
// or a write can be made to fail at any byte.
namespace test_support {

// As many bytes as are asked for: no read or write is cut short.
inline constexpr std::size_t k_any_size = std::numeric_limits<std::size_t>::max();

// Gives out bytes, which must outlive it, in reads of at most `chunk` bytes,
// then either the end of the input or, with fail_after, a read error once
// that many bytes have been given.
class ScriptedSource final : public linescan::ByteSource {
 public:
  explicit ScriptedSource(std::string_view bytes, std::size_t chunk = k_any_size,
                          std::optional<std::size_t> fail_after = std::nullopt);
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override;

 private:
  std::string_view bytes_;
  std::size_t chunk_;
  std::size_t limit_;
  bool fails_;
  std::size_t offset_ = 0;
};

// Takes what is written to it in writes of at most `chunk` bytes, and keeps
// it in `written`; with fail_after, a write fails once that many bytes have
// been taken.
class ScriptedSink final : public linescan::ByteSink {
 public:
  explicit ScriptedSink(std::size_t chunk = k_any_size, std::optional<std::size_t> fail_after = std::nullopt)
      : chunk_(chunk), fail_after_(fail_after) {}
  [[nodiscard]] std::ptrdiff_t write_some(std::span<const char> bytes) override;

  std::string written;

 private:
  std::size_t chunk_;
  std::optional<std::size_t> fail_after_;
  std::size_t taken_ = 0;
};

}  // namespace test_support
