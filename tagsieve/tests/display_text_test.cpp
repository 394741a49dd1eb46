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
    // Its five undefined bytes are the C1 controls of the same value.
    {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
    {"\xC3", "\xC3\x83"},  // a cut sequence is not UTF-8
    {"\xC0\xAF", "\xC3\x80\xC2\xAF"},  // nor an overlong one, of two bytes
    {"\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},  // of three
    {"\xF0\x80\x80\xAF", "\xC3\xB0\xE2\x82\xAC\xE2\x82\xAC\xC2\xAF"},  // of four
    {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // nor a surrogate
    {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},  // nor a code point past U+10FFFF
    {"\xF5\x80\x80\x80", "\xC3\xB5\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},
    {"a\0b\rc\td\x7F"sv, "a\xE2\x90\x80" "b\xE2\x90\x8D" "c\td\xE2\x90\xA1"},  // controls show as symbols
};

TEST(DisplayText, ShowsEveryByteAsSomeCharacter) {
  for (const auto& c : k_display_cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    EXPECT_EQ(tagsieve::display_text(c.bytes), c.shown);
  }
}

}  // namespace
