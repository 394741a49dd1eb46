#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tagsieve {

// The bytes of a value as UTF-8 text that shows every one of them, on one
// line and in its own order: valid UTF-8 as it is, anything else read as
// Windows-1252, the game's code page. Control characters, which would break,
// hide or turn the text around, show instead: those below U+0020 (NUL, a lone
// carriage return) as their Unicode control pictures (U+2400 and on); the C1
// controls, the line and paragraph separators and the bidirectional controls
// (U+202A to U+202E, U+2066 to U+2069) as \u and four hexadecimal digits.
[[nodiscard]] std::string display_text(std::string_view bytes);

// The same, appended to out: a pane's text is made in one string.
void append_display_text(std::string& out, std::string_view bytes);

// The text a pane shows for lines: the display text of each, joined by
// line_end, the pane's own line break.
[[nodiscard]] std::string pane_text(std::span<const std::string_view> lines, std::string_view line_end);

// The most memory, in bytes, that a Qt text pane takes at its peak to show a
// text of text_bytes bytes in `lines` lines, with room to spare: for each
// byte, its UTF-16 in the string handed over and in the document, which grows
// by copying; for each line, its block and the block's layout. Qt was seen to
// need about 5 bytes a byte of text and 235 a line, and to crash where it was
// given only 4 and 250; so at least that much, and at most twice it.
[[nodiscard]] std::size_t pane_room(std::size_t lines, std::size_t text_bytes);

// UTF-8 text as Windows-1252 bytes, the game's code page: nothing when the
// text is not UTF-8 or holds a character that Windows-1252 lacks.
[[nodiscard]] std::optional<std::string> to_cp1252(std::string_view utf8);

}  // namespace tagsieve
