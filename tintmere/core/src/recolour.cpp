#include "tintmere/recolour.h"

#include <algorithm>
#include <charconv>

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

Recolourer::Recolourer(Colour colour) {
  char* out = colour_.data();
  const auto append = [&](std::string_view text) { out = std::copy(text.begin(), text.end(), out); };
  // A channel is at most three digits: the room is always there.
  const auto number = [&](std::uint8_t value) { out = std::to_chars(out, colour_.data() + colour_.size(), value).ptr; };
  append(" r='");
  number(colour.red);
  append("' g='");
  number(colour.green);
  append("' b='");
  number(colour.blue);
  append("' ");
  colour_size_ = static_cast<std::size_t>(out - colour_.data());
}

std::string_view Recolourer::operator()(std::string_view element_name, std::string_view piece) {
  constexpr std::string_view k_indent = "      <";
  const std::string_view tail = tail_of(piece);
  char* out = std::copy(k_indent.begin(), k_indent.end(), text_.data());
  out = std::copy(element_name.begin(), element_name.end(), out);
  out = std::copy_n(colour_.data(), colour_size_, out);
  out = std::copy(tail.begin(), tail.end(), out);
  return {text_.data(), static_cast<std::size_t>(out - text_.data())};
}

RecolourResult recolour_template(linescan::PieceReader& template_pieces, linescan::TextWriter& output, Colour colour) {
  const linescan::FieldIs opens_an_entry('<', ' ', "WaterPlaneTweaks");
  int countdown = 0;
  linescan::Piece piece;
  linescan::Field element_name;
  linescan::Field entry_name;
  Recolourer recoloured(colour);
  // Once a write has failed the save is lost: reading on would be wasted.
  while (!output.failed() && linescan::read_piece(template_pieces, piece)) {
    if (countdown > 0) {
      linescan::extract_field(piece, element_name, '<', ' ');
      // An element name with no blank after it runs to the piece's end, its
      // newline included: the text then holds two, which write() handles.
      const std::string_view text = recoloured(element_name, piece);
      if (element_name.ends_with('\n')) {
        output.write(text);
      } else {
        output.write_piece(text);
      }
      --countdown;
    } else {
      output.write_piece(piece);
    }
    // Looked at after the piece is written: the opening piece itself is copied
    // and the countdown covers the pieces after it.
    if (opens_an_entry(piece)) {
      linescan::extract_field(piece, entry_name, '\'', '\'');
      if (is_water_entry(entry_name)) countdown = k_colour_pieces;
    }
  }
  if (template_pieces.failed()) return RecolourResult::read_failed;
  return output.failed() ? RecolourResult::write_failed : RecolourResult::done;
}

}  // namespace tintmere
