#include "linescan/field.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::literals;

struct FieldCase {
  std::string_view piece;
  char open;
  char close;
  std::string_view expected;
};

// The delimiter pairs the tools use: '<' and blank, apostrophes, '<' and '>',
// '>' and '<'.
constexpr FieldCase k_cases[] = {
    {"\n", '<', ' ', ""},
    {"\n<Tag a='1'>\n", '<', ' ', ""},  // only the first character is looked at for the newline
    {"no delimiter here\n", '<', ' ', ""},
    {"<>\n", '<', '>', ""},
    {"''\n", '\'', '\'', ""},
    {"  <ShallowColour r='1' g='2'/>\n", '<', ' ', "ShallowColour"},
    {"</WaterPlaneTweaks>\n", '<', ' ', "/WaterPlaneTweaks>\n"},
    {"<Bare>", '<', ' ', "Bare>"},
    {"</Damage>\n", '<', '>', "/Damage"},
    {"<Damage>12</Damage>\n", '<', '>', "Damage"},
    {"<Damage>12</Damage>\n", '>', '<', "12"},
    {"<Damage>12\n", '>', '<', "12\n"},
    {"<Item id='7' lvl='2'>x</Item>\n", '<', '>', "Item id='7' lvl='2'"},
    {"<W name='FE.Water' lod='2'>\n", '\'', '\'', "FE.Water"},
    {"<W name='FE.Water\n", '\'', '\'', "FE.Water\n"},
    {"text <A<B> tail\n", '<', '>', "A<B"},  // only the first open counts
    {"x>y\0z<w\n"sv, '>', '<', "y\0z"sv},  // NUL is an ordinary byte
};

TEST(ExtractField, TakesTheTextBetweenTheFirstOpenAndTheNextClose) {
  for (const auto& c : k_cases) {
    SCOPED_TRACE(testing::Message() << "piece \"" << c.piece << "\" open '" << c.open << "' close '" << c.close << "'");
    linescan::Field field = "stale text left by an earlier piece";
    linescan::extract_field(c.piece, field, c.open, c.close);
    EXPECT_EQ(field, c.expected);
    // The quick test of a field says what the comparison says.
    EXPECT_TRUE(linescan::FieldIs(c.open, c.close, c.expected)(c.piece));
    for (const std::string& other : {std::string(c.expected) + "x", std::string(c.expected.substr(0, c.expected.size() / 2))}) {
      if (other != c.expected) {
        EXPECT_FALSE(linescan::FieldIs(c.open, c.close, other)(c.piece)) << other;
      }
    }
  }
}

}  // namespace
