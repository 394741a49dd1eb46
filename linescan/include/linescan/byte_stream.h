#pragma once

#include <cstddef>
#include <span>

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

// Reads an open file descriptor, which it does not own.
class FdSource final : public ByteSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override;

 private:
  int fd_;
};

// Writes to an open file descriptor, which it does not own.
class FdSink final : public ByteSink {
 public:
  explicit FdSink(int fd) : fd_(fd) {}
  [[nodiscard]] std::ptrdiff_t write_some(std::span<const char> bytes) override;

 private:
  int fd_;
};

}  // namespace linescan
