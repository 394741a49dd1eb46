// The scan against the plain reading of its rule, for a tag typed in ASCII,
// and what the pane shows of each value against the plain reading of the
// display rule. Input: the tag's length, the tag, then the file.
#include <cstdio>
#include <cstdlib>

#include "tagsieve/display_text.h"
#include "scan_reference.h"

// Stops the fuzzer with a finding, saying which property does not hold.
#define FUZZ_REQUIRE(property) \
  ((property) ? void() : (std::fprintf(stderr, "line %d: %s does not hold\n", __LINE__, #property), std::abort()))

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t tag_size = std::min<std::size_t>(data[0] % 16, size - 1);
  std::string tag(reinterpret_cast<const char*>(data + 1), tag_size);
  for (char& c : tag) c = static_cast<char>(c & 0x7F);  // one spelling only
  const std::string_view input(reinterpret_cast<const char*>(data + 1 + tag_size), size - 1 - tag_size);
  for (const bool suppress_repeats : {true, false}) {
    const auto values = test_support::scanned(input, tag, suppress_repeats);
    FUZZ_REQUIRE(values == test_support::reference_scan(input, {tag}, suppress_repeats));
    for (const std::string& value : values) FUZZ_REQUIRE(tagsieve::display_text(value) == test_support::reference_display(value));
  }
  return 0;
}
