#include "random_name.h"

#include <random>
#include <string>
#include <string_view>

namespace savefile {

std::filesystem::path random_name(const std::filesystem::path& folder, const std::filesystem::path& prefix) {
  static constexpr std::string_view k_letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, k_letters.size() - 1);
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += k_letters[pick(random)];
  std::filesystem::path name = folder / prefix;
  name += suffix;
  return name;
}

}  // namespace savefile
