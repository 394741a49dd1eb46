#pragma once

#include <cstdint>

namespace tintmere {

// One colour as the three sliders give it; each channel is 0 to 255.
struct Colour {
  int red = 0;
  int green = 0;
  int blue = 0;
};

// The colour packed as the preview box takes it: red in the low byte, green in
// the second, blue in the third, and 0 in the top byte.
[[nodiscard]] constexpr std::uint32_t preview_colour(Colour colour) {
  return static_cast<std::uint32_t>(colour.red) | static_cast<std::uint32_t>(colour.green) << 8 |
         static_cast<std::uint32_t>(colour.blue) << 16;
}

}  // namespace tintmere
