#include "tagsieve/display_text.h"

#include <gtest/gtest.h>

using namespace std::literals;

#include "test_support/scan_reference.h"

namespace {

// Every string of one and two bytes, and strings of three and four from the
// bytes where UTF-8's rules and the controls change: shown as the plain
// reading shows them; and the same strings, and every character up to U+2200
// in UTF-8, spelt in Windows-1252 as the plain reading spells them.
TEST(DisplayText, ShowsAndSpellsAsThePlainReading) {
  std::vector<std::string> inputs;
  for (int a = 0; a < 256; ++a) {
    inputs.push_back({static_cast<char>(a)});
    for (int b = 0; b < 256; ++b) inputs.push_back({static_cast<char>(a), static_cast<char>(b)});
  }
  constexpr std::string_view k_edges =
      "\x00\x09\x0A\x0D\x1F\x20\x41\x7F\x80\x81\x8F\x90\x9F\xA0\xAF\xBF\xC0\xC1\xC2\xDF\xE0\xE1\xE2\xEC\xED\xEE\xEF\xF0"
      "\xF1\xF3\xF4\xF5\xFF"sv;
  test_support::Generator generate(5);
  for (int i = 0; i < 100'000; ++i) inputs.push_back(generate.text(k_edges, 3 + generate.below(6)));
  for (char32_t code = 0; code < 0x2200; ++code) inputs.push_back(test_support::utf8_of(code) + "a");
  for (const std::string& bytes : inputs) {
    ASSERT_EQ(tagsieve::display_text(bytes), test_support::reference_display(bytes)) << testing::PrintToString(bytes);
    ASSERT_EQ(tagsieve::to_cp1252(bytes), test_support::reference_cp1252(bytes)) << testing::PrintToString(bytes);
  }
  const std::string_view lines[] = {"caf\xE9", "", "b"};
  EXPECT_EQ(tagsieve::pane_text(lines, "\r\n"), "caf\xC3\xA9\r\n\r\nb");
}

}  // namespace
