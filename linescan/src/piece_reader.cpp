#include "linescan/piece_reader.h"

#include <algorithm>
#include <cstring>

namespace linescan {

namespace {

// Copies [begin, end) to out with every CR LF turned into LF, and returns the
// end of what it wrote. out may lie at or before begin: the copy never
// overtakes its source.
char* join_crlf(const char* begin, const char* end, char* out) {
  for (const char* in = begin; in < end;) {
    const auto* cr = static_cast<const char*>(std::memchr(in, '\r', static_cast<std::size_t>(end - in)));
    const char* stop = cr ? cr : end;
    std::memmove(out, in, static_cast<std::size_t>(stop - in));
    out += stop - in;
    if (!cr) break;
    const bool pair = cr + 1 < end && cr[1] == '\n';
    if (!pair) *out++ = '\r';
    in = cr + 1;
  }
  return out;
}

}  // namespace

// The buffer holds what is left of the last block (less than a piece), one
// byte for a carried carriage return, and a new block.
PieceReader::PieceReader(ByteSource& source, std::size_t block_size)
    : source_(source), block_size_(std::max<std::size_t>(block_size, 1)),
      buffer_(k_piece_capacity + 1 + block_size_) {}

bool PieceReader::next(Piece& piece) {
  for (;;) {
    const std::size_t available = end_ - begin_;
    const std::size_t limit = std::min(available, k_piece_capacity);
    const char* start = buffer_.data() + begin_;
    if (const void* newline = std::memchr(start, '\n', limit)) {
      take(piece, static_cast<std::size_t>(static_cast<const char*>(newline) - start) + 1);
      return true;
    }
    if (available >= k_piece_capacity || (at_end_ && available > 0)) {
      take(piece, limit);
      return true;
    }
    if (at_end_) return false;
    fill();
  }
}

void PieceReader::take(Piece& piece, std::size_t size) {
  piece.assign({buffer_.data() + begin_, size});
  begin_ += size;
}

void PieceReader::fill() {
  const std::size_t kept = end_ - begin_;
  std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
  begin_ = 0;
  end_ = kept;

  char* const block = buffer_.data() + kept + 1;
  const std::ptrdiff_t count = source_.read_some({block, block_size_});
  if (count <= 0) {
    at_end_ = true;
    failed_ = count < 0;
    if (carried_cr_) buffer_[end_++] = '\r';
    carried_cr_ = false;
    return;
  }

  char* begin = block;
  char* end = block + count;
  if (carried_cr_) *--begin = '\r';
  // A carriage return at the very end may be the first half of a pair: keep it
  // back until the next block shows what follows.
  carried_cr_ = end[-1] == '\r';
  if (carried_cr_) --end;
  end_ = static_cast<std::size_t>(join_crlf(begin, end, buffer_.data() + kept) - buffer_.data());
}

}  // namespace linescan
