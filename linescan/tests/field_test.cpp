#include "linescan/field.h"

#include <gtest/gtest.h>

#include "test_support/references.h"

namespace {

// Every piece of up to five bytes over the delimiters, a newline, a letter
// and NUL, for each pair of delimiters the tools use: the field is the plain
// reading's, and the quick test says what comparing with it says.
TEST(ExtractField, AgreesWithThePlainReadingOnEveryShortPiece) {
  constexpr char k_alphabet[] = {'<', '>', ' ', '\'', '\n', 'a', '\0'};
  std::vector<std::string> pieces{""};
  for (std::size_t at = 0; pieces[at].size() < 5; ++at) {
    for (const char c : k_alphabet) pieces.push_back(pieces[at] + c);
  }
  for (const auto& [open, close] : {std::pair{'<', ' '}, {'\'', '\''}, {'<', '>'}, {'>', '<'}}) {
    for (const std::string& piece : pieces) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(piece) << " between " << open << " and " << close);
      const std::string expected = test_support::reference_field(piece, open, close);
      linescan::Field field = "left by an earlier piece";
      linescan::extract_field(piece, field, open, close);
      ASSERT_EQ(field, expected);
      for (const std::string& text : {expected, expected + 'a', expected.substr(0, expected.size() / 2), std::string("a")}) {
        ASSERT_EQ(linescan::FieldIs(open, close, text)(piece), text == expected) << testing::PrintToString(text);
      }
    }
  }
}

}  // namespace
