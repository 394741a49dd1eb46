#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "linescan/byte_stream.h"
#include "linescan/piece_reader.h"

// What the fuzz targets share: bytes in memory as a source and a sink, and
// plain references of what the reader must give.
namespace fuzz {

// Gives out a text in reads of at most `chunk` bytes.
class Source final : public linescan::ByteSource {
 public:
  Source(std::string_view text, std::size_t chunk) : rest_(text), chunk_(std::max<std::size_t>(chunk, 1)) {}
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override {
    const std::size_t count = std::min({buffer.size(), rest_.size(), chunk_});
    std::copy_n(rest_.data(), count, buffer.data());
    rest_.remove_prefix(count);
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::string_view rest_;
  std::size_t chunk_;
};

class Sink final : public linescan::ByteSink {
 public:
  [[nodiscard]] std::ptrdiff_t write_some(std::span<const char> bytes) override {
    written.append(bytes.data(), bytes.size());
    return static_cast<std::ptrdiff_t>(bytes.size());
  }
  std::string written;
};

// The input in text mode, the plain way: every CR LF pair becomes LF.
inline std::string translated(std::string_view input) {
  std::string out;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (!(input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n')) out += input[i];
  }
  return out;
}

// Every piece of text, as copies, read in blocks of block_size from reads of chunk bytes.
inline std::vector<std::string> pieces_of(std::string_view text, std::size_t block_size, std::size_t chunk) {
  Source source(text, chunk);
  linescan::PieceReader reader(source, block_size);
  std::vector<std::string> pieces;
  for (linescan::Piece piece; linescan::read_piece(reader, piece);) pieces.emplace_back(piece);
  return pieces;
}

// Stops the fuzzer with a finding, saying which property does not hold.
[[noreturn]] inline void fail(const char* property, int line) {
  std::fprintf(stderr, "line %d: %s does not hold\n", line, property);
  std::abort();
}

#define FUZZ_REQUIRE(property) ((property) ? void() : fuzz::fail(#property, __LINE__))

}  // namespace fuzz
