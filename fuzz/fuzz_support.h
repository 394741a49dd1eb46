#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "test_support/scripted_io.h"

// What the fuzz targets share beside the in-memory bytes of
// test_support/scripted_io.h: plain references of what the reader must give,
// and how a finding stops the fuzzer.
namespace fuzz {

// The input in text mode, the plain way: every CR LF pair becomes LF.
inline std::string translated(std::string_view input) {
  std::string out;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (!(input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n')) out += input[i];
  }
  return out;
}

// Stops the fuzzer with a finding, saying which property does not hold.
[[noreturn]] inline void fail(const char* property, int line) {
  std::fprintf(stderr, "line %d: %s does not hold\n", line, property);
  std::abort();
}

#define FUZZ_REQUIRE(property) ((property) ? void() : fuzz::fail(#property, __LINE__))

}  // namespace fuzz
