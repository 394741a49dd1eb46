#include "tintmere/colour.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Colour, SliderPositionsAreHeldToAChannelsRange) {
  const struct {
    int red, green, blue;
    tintmere::Colour expected;
  } cases[] = {
      {0, 128, 255, {0, 128, 255}},
      {-1, 256, 300000, {0, 255, 255}},
      {INT_MIN, INT_MAX, -7, {0, 255, 0}},
  };
  for (const auto& c : cases) {
    const tintmere::Colour colour = tintmere::slider_colour(c.red, c.green, c.blue);
    EXPECT_EQ(colour.red, c.expected.red) << c.red;
    EXPECT_EQ(colour.green, c.expected.green) << c.green;
    EXPECT_EQ(colour.blue, c.expected.blue) << c.blue;
  }
}

TEST(Colour, ThePreviewHasRedInTheLowByte) {
  const struct {
    tintmere::Colour colour;
    std::uint32_t preview;
  } cases[] = {
      {{0, 0, 255}, 0xFF0000},
      {{255, 0, 0}, 0xFF},
      {{255, 255, 255}, 0xFFFFFF},
      {{0xFF, 0x34, 0x56}, 0x5634FF},
  };
  for (const auto& c : cases) EXPECT_EQ(tintmere::preview_colour(c.colour), c.preview) << std::hex << c.preview;
}

}  // namespace
