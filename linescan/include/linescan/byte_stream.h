#pragma once

#include <cstddef>
#include <span>

#include "linescan/file.h"

namespace linescan {

// Where a PieceReader takes its bytes from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to buffer.size() bytes into buffer: the count read, 0 at the end
  // of the input, or a negative number on a read error.
  [[nodiscard]] virtual std::ptrdiff_t read_some(std::span<char> buffer) = 0;
};

// Where a TextWriter puts its bytes.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes some of bytes, at least one: the count written, or a negative
  // number on a write error.
  [[nodiscard]] virtual std::ptrdiff_t write_some(std::span<const char> bytes) = 0;
};

// Writes all of bytes to sink, write after write: false once a write fails.
[[nodiscard]] bool write_all(ByteSink& sink, std::span<const char> bytes);

// Copies what source gives, to its end, to sink: false once a read or a
// write fails.
[[nodiscard]] bool copy_all(ByteSource& source, ByteSink& sink);

// Reads an open file, which it does not own.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(File& file) : file_(file) {}
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override { return file_.read(buffer); }

 private:
  File& file_;
};

// Writes to an open file, which it does not own. Every few megabytes it has
// the system start putting them on the disk, so that the disk works while
// the rest is made, and the sync that ends a save waits less.
class FileSink final : public ByteSink {
 public:
  static constexpr std::size_t k_writeback_step = 8 << 20;  // Tuning: a hint; sync() makes all durable.

  explicit FileSink(File& file) : file_(file) {}
  [[nodiscard]] std::ptrdiff_t write_some(std::span<const char> bytes) override {
    const std::ptrdiff_t count = file_.write(bytes);
    // When the system is asked to start writing changes no byte written.
    if (count > 0 && (unsynced_ += static_cast<std::size_t>(count)) >= k_writeback_step) {
      file_.start_writeback();  // Tuning: a hint
      unsynced_ = 0;
    }
    return count;
  }

 private:
  File& file_;
  std::size_t unsynced_ = 0;
};

}  // namespace linescan
