#pragma once

#include <array>
#include <string_view>

#include "linescan/piece_reader.h"
#include "linescan/text_writer.h"
#include "tintmere/colour.h"

namespace tintmere {

// How many pieces after a water entry's opening piece carry its colours.
inline constexpr int k_colour_pieces = 25;

// Room for any recoloured piece: the indentation, a field of a piece, the
// three colours and a piece's tail.
using RecolourBuffer = std::array<char, 7 + linescan::k_piece_capacity + 26 + linescan::k_piece_capacity>;

// The piece rewritten to carry colour, made in buffer: six blanks, '<', the
// element name, r='R' g='G' b='B' and a blank, then the piece's own text from
// its right-most lower-case 'a' to its end. A piece without an 'a' keeps only
// its newline.
[[nodiscard]] std::string_view recoloured_piece(std::string_view element_name, std::string_view piece, Colour colour,
                                                RecolourBuffer& buffer);

enum class RecolourResult { done, read_failed, write_failed };

// Copies template to output piece by piece, recolouring the k_colour_pieces
// pieces that follow the opening piece of every listed water entry.
[[nodiscard]] RecolourResult recolour_template(linescan::PieceReader& template_file, linescan::TextWriter& output,
                                               Colour colour);

}  // namespace tintmere
