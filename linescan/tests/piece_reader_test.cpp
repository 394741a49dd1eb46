#include "linescan/piece_reader.h"

#include <gtest/gtest.h>

#include "test_support/references.h"
#include "test_support/scripted_io.h"

namespace {

// Inputs of CR, LF, NUL and lines about a piece long, read in every block size
// that matters and in reads of any size: the pieces are the plain reading's;
// after a read error, those of the bytes before it.
TEST(PieceReader, CutsWhatItReadsAsThePlainReadingDoes) {
  test_support::Generator generate(1);
  const std::vector<std::size_t> runs = {0, 1, 77, 78, 79, 80, 81, 160};
  for (int round = 0; round < 300; ++round) {
    std::string input;
    while (input.size() < 250) input += generate.text({"\r\n\0x", 4}, generate.below(4)) + std::string(generate.pick(runs), 'y');
    const auto fail_after = round % 3 == 0 ? std::optional(generate.below(input.size() + 1)) : std::nullopt;
    const auto expected = test_support::reference_pieces(input.substr(0, fail_after.value_or(input.size())));
    for (const std::size_t block : {1, 2, 3, 78, 79, 80, 81, 160, 1 << 18}) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(input) << ", block size " << block);
      test_support::ScriptedSource source(input, generate.below(100) + 1, fail_after);
      linescan::PieceReader reader(source, block);
      std::vector<std::string> pieces;
      for (linescan::Piece piece; pieces.size() <= input.size() && linescan::read_piece(reader, piece);) pieces.emplace_back(piece);
      ASSERT_EQ(pieces, expected);
      ASSERT_EQ(reader.failed(), fail_after.has_value());
    }
  }
}

}  // namespace
