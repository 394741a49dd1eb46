#pragma once

#include <string_view>

#include "linescan/fixed_text.h"

namespace linescan {

// Fills field with the text of piece between its first `open` and the next
// `close` after it, neither delimiter included. Without a `close` the field
// runs to the end of the piece, its newline included; without an `open`, or
// when the piece starts with a newline, the field is empty. `open` and `close`
// may be the same character.
void extract_field(std::string_view piece, Field& field, char open, char close);

}  // namespace linescan
