// The piece reader against the plain reading, whatever the block and read
// sizes. Input: the block size, the read size, then the bytes.
#include "fuzz_support.h"
#include "test_support/references.h"
#include "test_support/scripted_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
  FUZZ_REQUIRE(test_support::pieces_of(input, data[0] % 200 + 1, data[1] + 1) == test_support::reference_pieces(input));
  return 0;
}
