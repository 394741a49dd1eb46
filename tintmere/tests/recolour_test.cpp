#include "tintmere/recolour.h"

#include <gtest/gtest.h>

#include "tintmere/colour.h"
#include "tintmere/water_entries.h"

namespace {

struct RecolourCase {
  std::string_view name;
  std::string_view piece;
  std::string_view expected;
};

constexpr RecolourCase k_recolour_cases[] = {
    {"Surface", "  <Surface r='1' g='2' b='3' a='4'/>\n", "      <Surface r='255' g='0' b='16' a='4'/>\n"},
    {"Surface", "<Surface a='9' x='1'/>", "      <Surface r='255' g='0' b='16' a='9' x='1'/>"},
    // The right-most 'a' wins, even inside a value.
    {"Foam", "<Foam r='1' a='2' tag='sea'/>\n", "      <Foam r='255' g='0' b='16' a'/>\n"},
    // No '<': an empty element name.
    {"", "plain text a\n", "      < r='255' g='0' b='16' a\n"},
    // No 'a': only the newline survives, if there is one.
    {"Deep", "<Deep r='1'/>\n", "      <Deep r='255' g='0' b='16' \n"},
    {"Deep", "<Deep r='1'/>", "      <Deep r='255' g='0' b='16' "},
    // Nothing is interpreted.
    {"P%s", "<P%s a='%i%n'/>\n", "      <P%s r='255' g='0' b='16' a='%i%n'/>\n"},
};

TEST(RecolouredPiece, IndentsSetsTheColourAndKeepsTheTailFromTheLastA) {
  for (const auto& c : k_recolour_cases) {
    SCOPED_TRACE(c.piece);
    EXPECT_EQ(tintmere::recoloured_piece(c.name, c.piece, {255, 0, 16}), c.expected);
  }
}

TEST(PreviewColour, PacksRedLowThenGreenThenBlue) {
  EXPECT_EQ(tintmere::preview_colour({0, 0, 0}), 0x000000u);
  EXPECT_EQ(tintmere::preview_colour({255, 0, 0}), 0x0000FFu);
  EXPECT_EQ(tintmere::preview_colour({0, 0, 255}), 0xFF0000u);
  EXPECT_EQ(tintmere::preview_colour({0x12, 0x34, 0x56}), 0x563412u);
  EXPECT_EQ(tintmere::preview_colour({255, 255, 255}), 0xFFFFFFu);
}

TEST(WaterEntries, AreMatchedWholeIgnoringAsciiCase) {
  EXPECT_TRUE(tintmere::is_water_entry("FE.PS2Water"));
  EXPECT_TRUE(tintmere::is_water_entry("Water.WILDWEST.NIGHT"));
  EXPECT_TRUE(tintmere::is_water_entry("water.camelot.day"));
  EXPECT_FALSE(tintmere::is_water_entry("Water.CAMELOT"));
  EXPECT_FALSE(tintmere::is_water_entry("Water.CAMELOT.DAY "));
  EXPECT_FALSE(tintmere::is_water_entry(""));
}

}  // namespace
