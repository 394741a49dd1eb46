#include "linescan/piece_reader.h"

#include <algorithm>
#include <cstring>

namespace linescan {

// The buffer holds what is left of the last block (less than k_piece_input
// bytes) and a new block.
PieceReader::PieceReader(ByteSource& source, std::size_t block_size)
    : source_(source), block_size_(std::max<std::size_t>(block_size, 1)), buffer_(k_piece_input + block_size_) {}

bool PieceReader::next_slowly(Piece& piece) {
  for (;;) {
    // No line ends within a piece's reach: the piece is as long as a piece
    // gets, and holds no CR LF pair, since no line feed follows it closely.
    const std::size_t available = end_ - begin_;
    if (available >= k_piece_input || (at_end_ && available > 0)) {
      piece = {buffer_.data() + begin_, std::min(available, k_piece_capacity)};
      begin_ += piece.size();
      return true;
    }
    if (at_end_) return false;
    fill();
    if (take_line(piece)) return true;
  }
}

void PieceReader::fill() {
  const std::size_t kept = end_ - begin_;
  std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
  begin_ = 0;
  end_ = kept;
  const std::ptrdiff_t count = source_.read_some({buffer_.data() + kept, block_size_});
  if (count <= 0) {
    at_end_ = true;
    failed_ = count < 0;
    return;
  }
  end_ += static_cast<std::size_t>(count);
}

}  // namespace linescan
