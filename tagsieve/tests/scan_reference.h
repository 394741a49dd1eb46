#pragma once

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "test_support/references.h"
#include "test_support/scripted_io.h"
#include "tagsieve/tag_scan.h"

// The scan and what the pane shows of a value: the cores', and the plain
// readings of their rules.
namespace test_support {

// The pane as the lines it was given; the last message shown.
struct Lines : tagsieve::LineList, messaging::MessageSink {
  void clear() override { lines.clear(); }
  void append(std::span<const std::string_view> added) override { lines.insert(lines.end(), added.begin(), added.end()); }
  void show_message(std::string_view text) override { shown = text; }
  std::vector<std::string> lines;
  std::string shown;
};

// The values the core lists from input, read in reads of `chunk` bytes.
inline std::vector<std::string> scanned(std::string_view input, std::string_view tag, bool suppress_repeats, std::size_t chunk = 7) {
  ScriptedSource source(input, chunk);
  linescan::PieceReader reader(source, chunk);
  Lines pane;
  tagsieve::scan_pieces(reader, tag, suppress_repeats, pane, pane);
  return pane.lines;
}

// For every piece whose text between its first '<' and the next '>' is one of
// `spellings`, the text after that '>' to the next '<', its newline dropped;
// none empty, and with suppress_repeats none twice.
inline std::vector<std::string> reference_scan(std::string_view input, const std::vector<std::string>& spellings, bool suppress_repeats) {
  std::vector<std::string> values;
  std::set<std::string> seen;
  for (const std::string& piece : reference_pieces(input)) {
    std::string value = reference_field(piece, '>', '<');
    if (std::find(spellings.begin(), spellings.end(), reference_field(piece, '<', '>')) == spellings.end() || value.empty()) continue;
    if (value.ends_with('\n')) value.pop_back();
    if (!suppress_repeats || seen.insert(value).second) values.push_back(value);
  }
  return values;
}

// UTF-8 of one code point.
inline std::string utf8_of(char32_t code) {
  const auto byte = [](char32_t value) { return static_cast<char>(value); };
  if (code < 0x80) return {byte(code)};
  if (code < 0x800) return {byte(0xC0 | code >> 6), byte(0x80 | (code & 0x3F))};
  if (code < 0x10000) return {byte(0xE0 | code >> 12), byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F))};
  return {byte(0xF0 | code >> 18), byte(0x80 | (code >> 12 & 0x3F)), byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F))};
}

// The code points of bytes that are well-formed UTF-8, by the Unicode
// standard's table of well-formed byte sequences; nothing for other bytes.
inline std::optional<std::u32string> utf8_code_points(std::string_view bytes) {
  std::u32string codes;
  for (std::size_t i = 0, n = 0; i < bytes.size(); i += n) {
    const auto b = [&](std::size_t k) { return i + k < bytes.size() ? char32_t{static_cast<unsigned char>(bytes[i + k])} : 0x100; };
    const auto in = [&](std::size_t k, char32_t low, char32_t high) { return b(k) >= low && b(k) <= high; };
    const bool three = (b(0) == 0xE0 && in(1, 0xA0, 0xBF)) || (in(0, 0xE1, 0xEF) && b(0) != 0xED && in(1, 0x80, 0xBF)) ||
                       (b(0) == 0xED && in(1, 0x80, 0x9F));
    const bool four = (b(0) == 0xF0 && in(1, 0x90, 0xBF)) || (in(0, 0xF1, 0xF3) && in(1, 0x80, 0xBF)) || (b(0) == 0xF4 && in(1, 0x80, 0x8F));
    n = b(0) <= 0x7F ? 1 : in(0, 0xC2, 0xDF) && in(1, 0x80, 0xBF) ? 2 : three && in(2, 0x80, 0xBF) ? 3
        : four && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    if (n == 0) return std::nullopt;
    char32_t code = n == 1 ? b(0) : b(0) & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) code = code << 6 | (b(k) & 0x3F);
    codes += code;
  }
  return codes;
}

// Windows-1252 from 0x80 to 0x9F, its five holes the C1 controls of their value.
inline constexpr std::u32string_view k_cp1252_high = U"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ";

// What the pane shows of a value's bytes: UTF-8 as it is, other bytes read as
// Windows-1252; C0 controls as their pictures, the C1 controls, separators and
// bidirectional controls as \u escapes.
inline std::string reference_display(std::string_view bytes) {
  const auto utf8 = utf8_code_points(bytes);
  std::u32string codes = utf8.value_or(U"");
  if (!utf8) {
    for (const unsigned char b : bytes) codes += b >= 0x80 && b <= 0x9F ? k_cp1252_high[b - 0x80] : char32_t{b};
  }
  std::string shown;
  for (const char32_t code : codes) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(code));
    const bool escaped = (code >= 0x80 && code <= 0x9F) || (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
    shown += escaped ? escape : utf8_of(code == 0x7F ? 0x2421 : code < 0x20 && code != '\t' ? code + 0x2400 : code);
  }
  return shown;
}

}  // namespace test_support
