// make_tweak_file: writes a large synthetic tweak file for bench/compare.
//   make_tweak_file scan PATH MIB EVERY DISTINCT SEED  (one line in EVERY a value; DISTINCT 0: all differ)
//   make_tweak_file template PATH MIB copy|water SEED
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "synthetic.h"

int main(int argc, char** argv) {
  const std::string_view kind = argc > 1 ? argv[1] : "";
  if (!((kind == "scan" && argc == 7) || (kind == "template" && argc == 6))) {
    std::fputs("usage: make_tweak_file scan PATH MIB EVERY DISTINCT SEED | template PATH MIB copy|water SEED\n", stderr);
    return 2;
  }
  const auto bytes = static_cast<std::size_t>(std::strtod(argv[3], nullptr) * (1 << 20));
  const std::uint64_t seed = std::strtoull(argv[argc - 1], nullptr, 10);
  const std::string text =
      kind == "scan"
          ? bench::scan_text(seed, bytes, std::strtoull(argv[4], nullptr, 10), std::strtoull(argv[5], nullptr, 10))
          : bench::template_text(seed, bytes, std::string_view(argv[4]) == "water");
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out.flush() ? 0 : 1;
}
