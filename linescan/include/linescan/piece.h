#pragma once

#include <cstddef>
#include <string_view>

namespace linescan {

// The unit in which both tools count, match and copy: one bounded read of at
// most k_piece_capacity bytes. A piece is a view into its reader's buffer,
// valid until the next read; any byte may appear in it, NUL included.
inline constexpr std::size_t k_piece_capacity = 79;
using Piece = std::string_view;

// What extract_field cuts out of a piece: a view into the piece, so at most
// the piece less one delimiter.
using Field = std::string_view;

}  // namespace linescan
