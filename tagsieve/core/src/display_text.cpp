#include "tagsieve/display_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tagsieve {

namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined map to
// the C1 controls of the same value, as Windows itself maps them.
constexpr std::array<char16_t, 32> k_cp1252_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the well-formed UTF-8 sequence at the start of bytes, or 0.
std::size_t utf8_sequence(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const auto continuation = [&](std::size_t i) { return i < bytes.size() && (byte(i) & 0xC0) == 0x80; };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;   // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // past U+10FFFF
    return 4;
  }
  return 0;
}

bool is_utf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t length = utf8_sequence(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The code point of a well-formed sequence of `length` bytes.
char32_t decode_utf8(std::string_view sequence) {
  const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(sequence[i])); };
  switch (sequence.size()) {
    case 1: return byte(0);
    case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    default: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
  }
}

// Characters that would break a value's line or turn the text around it: the
// C1 controls (U+0085 ends a line), the line and paragraph separators, and
// the bidirectional embeddings, overrides and isolates.
bool is_hidden_control(char32_t code) {
  return (code >= 0x80 && code <= 0x9F) || (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// Appends code as something the user sees, on the one line of its value: the
// C0 controls as their control pictures (U+2400 and on), the others above as
// an escape, \u and four hexadecimal digits.
void append_shown(std::string& out, char32_t code) {
  if (code < 0x20 && code != '\t') {
    append_utf8(out, 0x2400 + code);
  } else if (code == 0x7F) {
    append_utf8(out, 0x2421);
  } else if (is_hidden_control(code)) {
    static constexpr char k_hex[] = "0123456789ABCDEF";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += k_hex[code >> shift & 0xF];
  } else {
    append_utf8(out, code);
  }
}

char32_t from_cp1252(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? k_cp1252_high[byte - 0x80] : byte;
}

// The Windows-1252 byte of a character, or nothing where it has none.
std::optional<char> to_cp1252(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  const auto high = std::find(k_cp1252_high.begin(), k_cp1252_high.end(), code);
  if (high == k_cp1252_high.end()) return std::nullopt;
  return static_cast<char>(0x80 + (high - k_cp1252_high.begin()));
}

}  // namespace

std::string display_text(std::string_view bytes) {
  std::string out;
  append_display_text(out, bytes);
  return out;
}

void append_display_text(std::string& out, std::string_view bytes) {
  if (!is_utf8(bytes)) {
    for (const char byte : bytes) append_shown(out, from_cp1252(static_cast<unsigned char>(byte)));
    return;
  }
  while (!bytes.empty()) {
    const std::size_t length = utf8_sequence(bytes);
    append_shown(out, decode_utf8(bytes.substr(0, length)));
    bytes.remove_prefix(length);
  }
}

std::string pane_text(std::span<const std::string_view> lines, std::string_view line_end) {
  std::size_t size = 0;
  for (const std::string_view line : lines) size += line.size() + line_end.size();
  std::string text;
  text.reserve(size + size / 4);  // Tuning: one allocation, most of the time.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += line_end;
    append_display_text(text, lines[i]);
  }
  return text;
}

std::size_t pane_room(std::size_t lines, std::size_t text_bytes) { return 8 * text_bytes + 400 * lines; }

std::optional<std::string> to_cp1252(std::string_view utf8) {
  std::string bytes;
  while (!utf8.empty()) {
    const std::size_t length = utf8_sequence(utf8);
    if (length == 0) return std::nullopt;
    const std::optional<char> byte = to_cp1252(decode_utf8(utf8.substr(0, length)));
    if (!byte) return std::nullopt;
    bytes += *byte;
    utf8.remove_prefix(length);
  }
  return bytes;
}

}  // namespace tagsieve
