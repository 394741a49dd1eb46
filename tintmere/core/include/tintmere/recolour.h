#pragma once

#include <string>
#include <string_view>

#include "linescan/piece_reader.h"
#include "linescan/text_writer.h"
#include "tintmere/colour.h"

namespace tintmere {

// How many pieces after a water entry's opening piece carry its colours.
inline constexpr int k_colour_pieces = 25;

// The piece rewritten to carry colour: six blanks, '<', the element name,
// r='R' g='G' b='B' and a blank, then the piece's own text from its right-most
// lower-case 'a' to its end. A piece without an 'a' keeps only its newline.
[[nodiscard]] std::string recoloured_piece(std::string_view element_name, std::string_view piece, Colour colour);

enum class RecolourResult { done, read_failed, write_failed };

// Copies template to output piece by piece, recolouring the k_colour_pieces
// pieces that follow the opening piece of every listed water entry.
[[nodiscard]] RecolourResult recolour_template(linescan::PieceReader& template_file, linescan::TextWriter& output,
                                               Colour colour);

}  // namespace tintmere
