#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "linescan/byte_stream.h"
#include "linescan/piece.h"

namespace linescan {

// Cuts its source into pieces, reading it in large blocks.
//
// The bytes are put in text mode: a carriage return followed by a line feed
// becomes one newline, even when the pair straddles two blocks; a lone
// carriage return stays as it is. A piece then ends after a newline, after
// k_piece_capacity bytes, or at the end of the input, so the pieces, joined,
// are the translated input. NUL is a byte like any other.
class PieceReader {
 public:
  static constexpr std::size_t k_default_block_size = 256 * 1024;  // Tuning: every size from 1 reads the same.

  // block_size is how much is asked of the source at a time; it may be as small
  // as 1, which tests use to force every boundary.
  explicit PieceReader(ByteSource& source, std::size_t block_size = k_default_block_size);

  // Whether the input ended on a read error rather than at its end.
  [[nodiscard]] bool failed() const { return failed_; }

 private:
  friend bool read_piece(PieceReader& reader, Piece& piece);

  // The most input a piece can take: k_piece_capacity bytes ending in a
  // newline that was a CR LF pair.
  static constexpr std::size_t k_piece_input = k_piece_capacity + 1;

  [[nodiscard]] bool next(Piece& piece);
  [[nodiscard]] bool take_line(Piece& piece);
  // The rest of next(): a long line, the input's end, a refill.
  [[nodiscard]] bool next_slowly(Piece& piece);
  void fill();

  ByteSource& source_;
  std::size_t block_size_;
  // Bytes read and not yet delivered lie in buffer_[begin_, end_), as read:
  // a CR LF pair is joined only when the piece that ends with it is taken.
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
  bool failed_ = false;
};

// The common case inline: a line that ends within a piece's reach of the
// buffer's start.
inline bool PieceReader::take_line(Piece& piece) {
  char* const start = buffer_.data() + begin_;
  const std::size_t window = std::min(end_ - begin_, k_piece_input);
  auto* newline = static_cast<char*>(std::memchr(start, '\n', window));
  if (newline == nullptr) return false;
  const bool pair = newline > start && newline[-1] == '\r';
  const auto size = static_cast<std::size_t>(newline - start) + (pair ? 0 : 1);
  if (size > k_piece_capacity) return false;
  // The pair becomes one newline where its carriage return stood.
  if (pair) newline[-1] = '\n';
  piece = {start, size};
  begin_ = static_cast<std::size_t>(newline + 1 - buffer_.data());
  return true;
}

inline bool PieceReader::next(Piece& piece) { return take_line(piece) || next_slowly(piece); }

// Sets piece to the next piece the reader reads: true when a piece was read, false at
// the end of the input or after a read error (reader.failed() tells which), once
// the bytes read before it have all been delivered. The piece stays valid
// until the next read.
[[nodiscard]] inline bool read_piece(PieceReader& reader, Piece& piece) { return reader.next(piece); }

}  // namespace linescan
