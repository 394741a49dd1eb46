#include "tagsieve/display_text.h"

#include <gtest/gtest.h>

namespace {

using namespace std::literals;

struct DisplayCase {
  std::string_view bytes;
  std::string_view shown;
};

constexpr DisplayCase k_display_cases[] = {
    {"plain", "plain"},
    {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8A \xF4\x8F\xBF\xBF", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8A \xF4\x8F\xBF\xBF"},
    {"caf\xE9 \x80 \x9C", "caf\xC3\xA9 \xE2\x82\xAC \xC5\x93"},  // Windows-1252
    // Its five undefined bytes are the C1 controls of the same value, escaped.
    {"\x81\x8D\x8F\x90\x9D", "\\u0081\\u008D\\u008F\\u0090\\u009D"},
    {"\x80", "\xE2\x82\xAC"},  // a lone continuation byte is not UTF-8: Windows-1252's euro
    {"\x9F", "\xC5\xB8"},      // and the last of its 0x80 to 0x9F
    {"\xDF\xBF", "\xDF\xBF"},  // the last two-byte lead
    {"\xE0\xA0\x80 \xF0\x90\x80\x80", "\xE0\xA0\x80 \xF0\x90\x80\x80"},  // the first of three bytes, and of four
    {"\xE2\x82" "A", "\xC3\xA2\xE2\x80\x9A" "A"},  // a three-byte sequence cut at its third byte
    {"\xF0\x9F\x8C" "A", "\xC3\xB0\xC5\xB8\xC5\x92" "A"},  // a four-byte one cut at its fourth
    {"\xF0\x9F" "A\x8A", "\xC3\xB0\xC5\xB8" "A\xC5\xA0"},  // or at its third
    {"\xC3", "\xC3\x83"},  // a cut sequence is not UTF-8
    {"\xC0\xAF", "\xC3\x80\xC2\xAF"},  // nor an overlong one, of two bytes
    {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},  // of three
    {"\xF0\x80\x80\xAF", "\xC3\xB0\xE2\x82\xAC\xE2\x82\xAC\xC2\xAF"},  // of four
    {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // nor a surrogate
    {"\xF4\x90\x80\x80", "\xC3\xB4\\u0090\xE2\x82\xAC\xE2\x82\xAC"},  // nor a code point past U+10FFFF
    {"\xF5\x80\x80\x80", "\xC3\xB5\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
    {"\xC2\x80\xC2\x9F", "\\u0080\\u009F"},  // the ends of the C1 controls
    {"a\0b\rc\td\x7F"sv, "a\xE2\x90\x80" "b\xE2\x90\x8D" "c\td\xE2\x90\xA1"},  // controls show as symbols
    // Nothing breaks the line or turns the text around: NEL, the separators,
    // and the bidirectional controls at both ends of their ranges.
    {"a\xC2\x85" "b\xE2\x80\xA8\xE2\x80\xA9" "c\xE2\x80\xAA\xE2\x80\xAE" "d\xE2\x81\xA6\xE2\x81\xA9" "e\xE2\x80\xAF",
     "a\\u0085b\\u2028\\u2029c\\u202A\\u202Ed\\u2066\\u2069e\xE2\x80\xAF"},
};

TEST(DisplayText, ShowsEveryByteAsSomeCharacter) {
  for (const auto& c : k_display_cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    EXPECT_EQ(tagsieve::display_text(c.bytes), c.shown);
  }
}

TEST(PaneText, JoinsTheShownLinesWithThePanesLineBreak) {
  const std::string_view lines[] = {"caf\xE9", "", "b"};
  EXPECT_EQ(tagsieve::pane_text(lines, "\r\n"), "caf\xC3\xA9\r\n\r\nb");
  EXPECT_EQ(tagsieve::pane_text(std::span(lines, 1), "\n"), "caf\xC3\xA9");
}

TEST(ToCp1252, SpellsTypedTextInTheGamesCodePage) {
  const struct {
    std::string_view utf8;
    std::optional<std::string> cp1252;
  } cases[] = {
      {"Damage", "Damage"},
      {"Port\xC3\xA9\x65 \xC5\x93\xC3\xBF", "Port\xE9" "e \x9C\xFF"},  // Portée œÿ
      {"\xE2\x82\xAC\xC5\xB8", "\x80\x9F"},                           // €Ÿ, the ends of its own range
      {"\xC2\xA0", "\xA0"},
      {"\xE6\xB0\xB4", std::nullopt},  // 水 has no byte there
      {"\xC5\x81", std::nullopt},       // Ł neither
      {"caf\xE9", std::nullopt},         // not UTF-8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.utf8)));
    EXPECT_EQ(tagsieve::to_cp1252(c.utf8), c.cp1252);
  }
}

}  // namespace
