// Recolouring against the plain reading of its rule. Input: the block size,
// then the template.
#include "fuzz_support.h"
#include "test_support/recolour_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  const tintmere::Colour colour{255, 0, 16};
  FUZZ_REQUIRE(test_support::recoloured(input, colour, data[0] + 1u) == test_support::reference_recolour(input, colour));
  return 0;
}
