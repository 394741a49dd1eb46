#pragma once

#include <array>
#include <string_view>

#include "linescan/piece_reader.h"
#include "linescan/text_writer.h"
#include "tintmere/colour.h"

namespace tintmere {

// How many pieces after a water entry's opening piece carry its colours.
inline constexpr int k_colour_pieces = 25;

// Rewrites pieces to carry one colour.
class Recolourer {
 public:
  explicit Recolourer(Colour colour);

  // The piece rewritten: six blanks, '<', the element name, r='R' g='G'
  // b='B' and a blank, then the piece's own text from its right-most
  // lower-case 'a' to its end. A piece without an 'a' keeps only its newline.
  // The text is valid until the next call.
  [[nodiscard]] std::string_view operator()(std::string_view element_name, std::string_view piece);

 private:
  // The colour's part of every piece, " r='R' g='G' b='B' ", made once.
  std::array<char, 32> colour_{};
  std::size_t colour_size_ = 0;
  // Room for the longest: the indentation, a field, the colour and a tail.
  std::array<char, 7 + linescan::k_piece_capacity + 32 + linescan::k_piece_capacity> text_{};
};

enum class RecolourResult { done, read_failed, write_failed };

// Copies template to output piece by piece, recolouring the k_colour_pieces
// pieces that follow the opening piece of every listed water entry.
[[nodiscard]] RecolourResult recolour_template(linescan::PieceReader& template_pieces, linescan::TextWriter& output,
                                               Colour colour);

}  // namespace tintmere
