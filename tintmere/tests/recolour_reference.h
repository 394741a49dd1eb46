#pragma once

#include <algorithm>
#include <string>

#include "test_support/references.h"
#include "tintmere/colour.h"
#include "tintmere/water_entries.h"

// Recolouring as the plain reading of its rule has it.
namespace test_support {

// Every piece copied, but the 25 after the opening piece of a listed water
// entry, rewritten as six blanks, '<', the element's name, the colour and the
// piece from its last 'a' (or only its newline); each newline written CR LF.
inline std::string reference_recolour(std::string_view input, tintmere::Colour colour) {
  const auto lower = [](std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return text;
  };
  const std::string rgb = " r='" + std::to_string(colour.red) + "' g='" + std::to_string(colour.green) + "' b='" +
                          std::to_string(colour.blue) + "' ";
  std::string out;
  int countdown = 0;
  for (const std::string& piece : reference_pieces(input)) {
    std::string text = piece;
    if (countdown > 0) {
      const std::size_t a = piece.rfind('a');
      const std::string tail = a != std::string::npos ? piece.substr(a) : piece.ends_with('\n') ? "\n" : "";
      text = "      <" + reference_field(piece, '<', ' ') + rgb + tail;
      --countdown;
    }
    for (const char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string entry = lower(reference_field(piece, '\'', '\''));
    if (reference_field(piece, '<', ' ') == "WaterPlaneTweaks" &&
        std::ranges::any_of(tintmere::k_water_entries, [&](std::string_view listed) { return lower(std::string(listed)) == entry; })) {
      countdown = 25;
    }
  }
  return out;
}

}  // namespace test_support
