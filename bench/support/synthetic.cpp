#include "synthetic.h"

#include <cstdlib>
#include <iterator>

#include "tintmere/water_entries.h"

namespace bench {

namespace {

// splitmix64: small, and the same everywhere, unlike the standard library's
// distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t operator()(std::uint64_t bound) {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return (z ^ (z >> 31)) % bound;
  }

 private:
  std::uint64_t state_;
};

// What make_line appends, line after line, until about `bytes` bytes.
template <typename MakeLine>
std::string lines(std::size_t bytes, MakeLine make_line) {
  std::string text;
  text.reserve(bytes + 4096);
  while (text.size() < bytes) make_line(text);
  return text;
}

}  // namespace

std::string scan_text(std::uint64_t seed, std::size_t bytes, std::size_t every, std::size_t distinct) {
  static constexpr const char* k_others[] = {"  <Range>30</Range>\r\n", "  <Name>Bow</Name>\r\n", "  <Lore>long\r\n",
                                             "  <Speed>2</Speed>\r\n", "  <Weight>15</Weight>\r\n", "</Weapon>\r\n",
                                             "<Weapon id='3'>\r\n"};
  Random random(seed);
  std::uint64_t next_value = 0;
  return lines(bytes, [&](std::string& out) {
    if (random(every) != 0) {
      out += k_others[random(std::size(k_others))];
      return;
    }
    out += "<Damage>";
    out += std::to_string(distinct == 0 ? next_value++ : random(distinct));
    out += "</Damage>\r\n";
  });
}

std::string template_text(std::uint64_t seed, std::size_t bytes, bool water_only) {
  Random random(seed);
  return lines(bytes, [&](std::string& out) {
    if (!water_only) {
      out += "  <Fog start='" + std::to_string(random(1000)) + "' end='2200' a='1'/>\r\n";
      return;
    }
    out += "  <WaterPlaneTweaks name='";
    out += tintmere::k_water_entries[random(tintmere::k_water_entries.size())];
    out += "' lod='2'>\r\n";
    for (int i = 0; i < 25; ++i) {
      out += "    <Colour" + std::to_string(i) + " r='" + std::to_string(random(256)) + "' g='" +
             std::to_string(random(256)) + "' b='" + std::to_string(random(256)) + "' a='255'/>\r\n";
    }
    out += "  </WaterPlaneTweaks>\r\n";
  });
}

bool quick_run() { return std::getenv("TWEAKBENCH_INPUT_BYTES") != nullptr; }

std::size_t input_bytes(std::size_t normal) {
  return quick_run() ? std::strtoull(std::getenv("TWEAKBENCH_INPUT_BYTES"), nullptr, 10) : normal;
}

}  // namespace bench
