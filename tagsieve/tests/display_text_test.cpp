#include "tagsieve/display_text.h"

#include <gtest/gtest.h>

using namespace std::literals;

#include "scan_reference.h"

namespace {

// Typed UTF-8 spelt in Windows-1252, or nothing where it cannot be.
std::optional<std::string> reference_cp1252(std::string_view utf8) {
  const auto codes = test_support::utf8_code_points(utf8);
  if (!codes) return std::nullopt;
  std::string bytes;
  for (const char32_t code : *codes) {
    const std::size_t high = test_support::k_cp1252_high.find(code);
    const bool same = code < 0x80 || (code >= 0xA0 && code <= 0xFF);
    if (!same && high == std::u32string_view::npos) return std::nullopt;
    bytes += static_cast<char>(same ? code : 0x80 + high);
  }
  return bytes;
}

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
    ASSERT_EQ(tagsieve::to_cp1252(bytes), reference_cp1252(bytes)) << testing::PrintToString(bytes);
  }
  const std::string_view lines[] = {"caf\xE9", "", "b"};
  EXPECT_EQ(tagsieve::pane_text(lines, "\r\n"), "caf\xC3\xA9\r\n\r\nb");
}

// The room asked for before a pane is filled: at least what Qt was seen to
// take, 5 bytes a byte of text and 235 a line, and at most twice that.
TEST(PaneRoom, CoversWhatQtTakesWithRoomToSpare) {
  for (const auto& [lines, bytes] : {std::pair<std::size_t, std::size_t>{1, 0}, {0, 1}, {300'000, 21'600'000}}) {
    const std::size_t taken = 5 * bytes + 235 * lines, room = tagsieve::pane_room(lines, bytes);
    EXPECT_TRUE(room >= taken && room <= 2 * taken) << room << " for " << lines << " lines, " << bytes << " bytes";
  }
}

}  // namespace
