// The field routine and its quick test against the plain reading. Input: the
// open and close characters, then the piece.
#include "fuzz_support.h"
#include "linescan/field.h"
#include "test_support/references.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const char open = static_cast<char>(data[0]);
  const char close = static_cast<char>(data[1]);
  const std::string_view piece = std::string_view(reinterpret_cast<const char*>(data + 2), size - 2).substr(0, 79);
  const std::string expected = test_support::reference_field(piece, open, close);
  linescan::Field field;
  linescan::extract_field(piece, field, open, close);
  FUZZ_REQUIRE(field == expected);
  for (const std::string& text : {expected, expected + 'x', expected.substr(0, expected.size() / 2)}) {
    FUZZ_REQUIRE(linescan::FieldIs(open, close, text)(piece) == (text == expected));
  }
  return 0;
}
