#pragma once

#include <string>
#include <string_view>

namespace tagsieve {

// The bytes of a value as UTF-8 text that shows every one of them: valid UTF-8
// as it is, anything else read as Windows-1252, the game's code page. Control
// characters, which would break or hide a line (NUL, a lone carriage return),
// show as their Unicode control pictures (U+2400 and on).
[[nodiscard]] std::string display_text(std::string_view bytes);

// The same, appended to out: a pane's text is made in one string.
void append_display_text(std::string& out, std::string_view bytes);

}  // namespace tagsieve
