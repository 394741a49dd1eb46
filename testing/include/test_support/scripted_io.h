#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "linescan/byte_stream.h"

namespace test_support {

// Gives out the bytes of a string in reads of at most `chunk` bytes, then
// either the end of the input or, with fail_after, a read error once that many
// bytes have been given.
class ScriptedSource final : public linescan::ByteSource {
 public:
  explicit ScriptedSource(std::string bytes, std::size_t chunk = 1 << 20,
                          std::optional<std::size_t> fail_after = std::nullopt);
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override;
  // How many bytes have been given so far.
  [[nodiscard]] std::size_t given() const { return offset_; }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t limit_;
  bool fails_;
  std::size_t offset_ = 0;
};

// Keeps what is written to it, in writes of at most `chunk` bytes; with
// fail_after, a write fails once that many bytes have been taken.
class ScriptedSink final : public linescan::ByteSink {
 public:
  explicit ScriptedSink(std::size_t chunk = 1 << 20, std::optional<std::size_t> fail_after = std::nullopt)
      : chunk_(chunk), fail_after_(fail_after) {}
  [[nodiscard]] std::ptrdiff_t write_some(std::span<const char> bytes) override;

  std::string written;

 private:
  std::size_t chunk_;
  std::optional<std::size_t> fail_after_;
};

// Every piece of bytes as read through a PieceReader with the given block size.
[[nodiscard]] std::vector<std::string> pieces_of(std::string bytes, std::size_t block_size);

}  // namespace test_support
