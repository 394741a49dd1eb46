#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "linescan/byte_stream.h"
#include "linescan/fixed_text.h"

namespace linescan {

// Cuts its source into pieces, reading it in large blocks.
//
// The bytes are first put in text mode: a carriage return followed by a line
// feed becomes one newline, even when the pair straddles two blocks; a lone
// carriage return stays as it is. A piece then ends after a newline, after
// k_piece_capacity bytes, or at the end of the input, so the pieces, joined,
// are the translated input. NUL is a byte like any other.
class PieceReader {
 public:
  static constexpr std::size_t k_default_block_size = 64 * 1024;

  // block_size is how much is asked of the source at a time; it may be as small
  // as 1, which tests use to force every boundary.
  explicit PieceReader(ByteSource& source, std::size_t block_size = k_default_block_size);

  // Whether the input ended on a read error rather than at its end.
  [[nodiscard]] bool failed() const { return failed_; }

 private:
  friend bool read_piece(PieceReader& file, Piece& piece);

  [[nodiscard]] bool next(Piece& piece);
  void fill();
  void take(Piece& piece, std::size_t size);

  ByteSource& source_;
  std::size_t block_size_;
  // Translated bytes not yet delivered lie in buffer_[begin_, end_).
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool carried_cr_ = false;  // the last block ended on a carriage return
  bool at_end_ = false;
  bool failed_ = false;
};

// Fills piece with the next piece of file: true when a piece was read, false at
// the end of the file or after a read error (file.failed() tells which), once
// the bytes read before it have all been delivered.
[[nodiscard]] inline bool read_piece(PieceReader& file, Piece& piece) { return file.next(piece); }

}  // namespace linescan
