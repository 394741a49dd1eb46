// The field routine against a plain reference, and the quick field test
// against the comparison it stands for. Input: the open and close
// characters, then the piece.
#include "fuzz_support.h"
#include "linescan/field.h"

namespace {

std::string_view reference(std::string_view piece, char open, char close) {
  if (!piece.empty() && piece[0] == '\n') return {};
  std::size_t start = 0;
  while (start < piece.size() && piece[start] != open) ++start;
  if (start == piece.size()) return {};
  std::size_t end = start + 1;
  while (end < piece.size() && piece[end] != close) ++end;
  return piece.substr(start + 1, end - start - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const char open = static_cast<char>(data[0]);
  const char close = static_cast<char>(data[1]);
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string_view piece = rest.substr(0, linescan::k_piece_capacity);
  linescan::Field field;
  linescan::extract_field(piece, field, open, close);
  FUZZ_REQUIRE(field == reference(piece, open, close));
  FUZZ_REQUIRE(field.size() < linescan::k_piece_capacity);
  // The quick test agrees with the comparison, for the field and for other
  // texts cut from the input.
  FUZZ_REQUIRE(linescan::FieldIs(open, close, field)(piece));
  for (std::size_t cut = 0; cut < rest.size(); cut += 7) {
    const std::string_view text = rest.substr(cut, cut % 13);
    FUZZ_REQUIRE(linescan::FieldIs(open, close, text)(piece) == (field == text));
  }
  return 0;
}
