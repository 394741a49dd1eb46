#pragma once

#include <cstring>

#include "linescan/piece.h"

namespace linescan {

// Where the first c in piece at or after `from` is, or piece.size(). A plain
// loop: pieces are short and what is sought most often lies near the start,
// where it is found sooner than a call to a vectorised search returns.
[[nodiscard]] inline std::size_t find_byte(Piece piece, char c, std::size_t from = 0) {
  while (from < piece.size() && piece[from] != c) ++from;
  return from;
}

// Sets field to the text of piece between its first `open` and the next
// `close` after it, neither delimiter included. Without a `close` the field
// runs to the end of the piece, its newline included; without an `open`, or
// when the piece starts with a newline, the field is empty. `open` and `close`
// may be the same character. The field is a view into the piece.
// One pass over the piece at most; inline, since both tools call it for
// every piece they read.
inline void extract_field(Piece piece, Field& field, char open, char close) {
  const std::size_t start = piece.starts_with('\n') ? piece.size() : find_byte(piece, open);
  if (start == piece.size()) {
    field = {};
    return;
  }
  field = piece.substr(start + 1, find_byte(piece, close, start + 1) - start - 1);
}

// Whether a piece's field between `open` and `close` is `text`: what
// extract_field and a comparison say, but searching only for `open`, which
// settles at once the many pieces whose field starts otherwise. With text's
// bytes after the `open`, the field is text when a `close` or the piece's end
// follows them, provided text holds no `close` (a field never does).
class FieldIs {
 public:
  FieldIs(char open, char close, std::string_view text)
      : open_(open), close_(close), text_(text), quick_(!text.empty() && text.find(close) == text.npos) {}

  [[nodiscard]] bool operator()(Piece piece) const {
    if (!quick_) {
      Field field;
      extract_field(piece, field, open_, close_);
      return field == text_;
    }
    const std::size_t start = find_byte(piece, open_);
    if (start == piece.size() || piece.front() == '\n') return false;
    const std::size_t end = start + 1 + text_.size();
    if (end > piece.size() || (end < piece.size() && piece[end] != close_)) return false;
    return std::memcmp(piece.data() + start + 1, text_.data(), text_.size()) == 0;
  }

 private:
  char open_;
  char close_;
  std::string_view text_;
  bool quick_;
};

}  // namespace linescan
