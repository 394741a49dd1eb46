#include "tintmere/recolour.h"

#include "linescan/field.h"
#include "tintmere/water_entries.h"

namespace tintmere {

namespace {

// The piece from its right-most 'a' to its end. A colour piece ends with its
// alpha attribute, a='...', so searching from the end finds it whatever the
// attributes before it hold; everything before it is rewritten. Without an
// 'a', just the trailing newline, so that the output keeps its lines.
std::string_view tail_of(std::string_view piece) {
  const std::size_t a = piece.rfind('a');
  if (a != std::string_view::npos) return piece.substr(a);
  return piece.ends_with('\n') ? piece.substr(piece.size() - 1) : std::string_view{};
}

}  // namespace

std::string recoloured_piece(std::string_view element_name, std::string_view piece, Colour colour) {
  std::string line = "      <";
  line += element_name;
  line += " r='" + std::to_string(colour.red);
  line += "' g='" + std::to_string(colour.green);
  line += "' b='" + std::to_string(colour.blue);
  line += "' ";
  line += tail_of(piece);
  return line;
}

RecolourResult recolour_template(linescan::PieceReader& template_file, linescan::TextWriter& output, Colour colour) {
  int countdown = 0;
  linescan::Piece piece;
  linescan::Field element_name;
  linescan::Field entry_name;
  // Once a write has failed the save is lost: reading on would be wasted.
  while (!output.failed() && linescan::read_piece(template_file, piece)) {
    linescan::extract_field(piece.view(), element_name, '<', ' ');
    if (countdown > 0) {
      output.write(recoloured_piece(element_name.view(), piece.view(), colour));
      --countdown;
    } else {
      output.write(piece.view());
    }
    // Looked at after the piece is written: the opening piece itself is copied
    // and the countdown covers the pieces after it.
    if (element_name == "WaterPlaneTweaks") {
      linescan::extract_field(piece.view(), entry_name, '\'', '\'');
      if (is_water_entry(entry_name.view())) countdown = k_colour_pieces;
    }
  }
  if (template_file.failed()) return RecolourResult::read_failed;
  return output.failed() ? RecolourResult::write_failed : RecolourResult::done;
}

}  // namespace tintmere
