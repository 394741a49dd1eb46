#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Large tweak-like files for benchmarks, made from a seed: the same seed and
// size give the same bytes on every machine.
namespace bench {

// About `bytes` bytes of short CRLF lines, one in `every` of them a one-line
// <Damage> element, the others a few other elements as a weapon's tweaks
// hold them. The values are drawn from `distinct` values, or with distinct 0
// are all different.
[[nodiscard]] std::string scan_text(std::uint64_t seed, std::size_t bytes, std::size_t every, std::size_t distinct);

// A template of about `bytes` bytes: with water_only, nothing but listed
// water entries (an opening line, 25 colour lines and a closing line each);
// without, elements that no save recolours.
[[nodiscard]] std::string template_text(std::uint64_t seed, std::size_t bytes, bool water_only);

// How many bytes of input a benchmark makes: `normal`, or the number in the
// environment variable TWEAKBENCH_INPUT_BYTES, which CI sets small to run
// every benchmark once, quickly.
[[nodiscard]] std::size_t input_bytes(std::size_t normal);
// Whether TWEAKBENCH_INPUT_BYTES asks for that quick run.
[[nodiscard]] bool quick_run();

}  // namespace bench
