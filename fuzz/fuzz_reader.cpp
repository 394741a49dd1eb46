// The piece reader: whatever the input and the block sizes, the pieces,
// joined, are the translated input; each holds at most 79 bytes, and a
// newline only as its last; one shorter than that ends in a newline unless it
// is the last. Input: the block size, the read size, then the bytes.
#include "fuzz_support.h"
#include "linescan/piece.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
  const auto pieces = test_support::pieces_of(input, data[0] % 200 + 1, data[1] + 1);
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::string& piece = pieces[i];
    FUZZ_REQUIRE(!piece.empty() && piece.size() <= linescan::k_piece_capacity);
    const std::size_t newline = piece.find('\n');
    FUZZ_REQUIRE(newline == std::string::npos || newline == piece.size() - 1);
    FUZZ_REQUIRE(piece.size() == linescan::k_piece_capacity || newline != std::string::npos || i + 1 == pieces.size());
    joined += piece;
  }
  FUZZ_REQUIRE(joined == fuzz::translated(input));
  return 0;
}
