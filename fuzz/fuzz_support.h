#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with a finding, saying which property does not hold.
#define FUZZ_REQUIRE(property) \
  ((property) ? void() : (std::fprintf(stderr, "line %d: %s does not hold\n", __LINE__, #property), std::abort()))
