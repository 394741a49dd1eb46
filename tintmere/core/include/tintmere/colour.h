#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace tintmere {

// One colour as the three sliders give it: each channel 0 to 255.
struct Colour {
  std::uint8_t red{};
  std::uint8_t green{};
  std::uint8_t blue{};
};

// The colour of three slider positions. A slider runs from 0 to 255; a
// position outside that is held to it, never wrapped.
[[nodiscard]] constexpr Colour slider_colour(int red, int green, int blue) {
  const auto channel = [](int position) { return static_cast<std::uint8_t>(std::clamp(position, 0, 255)); };
  return {channel(red), channel(green), channel(blue)};
}

// The colour packed as the preview box takes it: red in the low byte, green in
// the second, blue in the third, and 0 in the top byte.
[[nodiscard]] constexpr std::uint32_t preview_colour(Colour colour) {
  return static_cast<std::uint32_t>(colour.red) | static_cast<std::uint32_t>(colour.green) << 8 |
         static_cast<std::uint32_t>(colour.blue) << 16;
}

// The colour as a screen reader says it of the preview box.
[[nodiscard]] inline std::string colour_description(Colour colour) {
  return "Rouge " + std::to_string(colour.red) + ", vert " + std::to_string(colour.green) + ", bleu " +
         std::to_string(colour.blue);
}

}  // namespace tintmere
