#include "tagsieve/memory_left.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>

namespace tagsieve {

namespace fs = std::filesystem;

namespace {

// The number that the file at path holds, or that follows `key` in it;
// nothing where there is none, or only a word ("max": no limit).
std::optional<std::uint64_t> number_in(const fs::path& path, std::string_view key = {}) {
  std::ifstream file(path);
  std::string word;
  while (file >> word) {
    if (!key.empty() && (word != key || !(file >> word))) continue;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return number;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> memory_left(const fs::path& root) {
  std::optional<std::uint64_t> left;
  const auto at_most = [&left](std::optional<std::uint64_t> limit, std::optional<std::uint64_t> used) {
    if (!limit) return;
    const std::uint64_t room = *limit - std::min(*limit, used.value_or(0));
    left = std::min(left.value_or(std::numeric_limits<std::uint64_t>::max()), room);
  };
  if (const std::optional<std::uint64_t> available = number_in(root / "proc/meminfo", "MemAvailable:")) {
    at_most(*available * 1024, 0);  // in kB
  }
  // "0::/path" for cgroup v2, "N:memory,...:/path" for v1's memory controller.
  std::ifstream groups(root / "proc/self/cgroup");
  for (std::string line; std::getline(groups, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    std::string controllers = line.substr(first + 1, second - first - 1);
    const bool v2 = controllers.empty();
    controllers.insert(0, 1, ',').push_back(',');
    if (!v2 && controllers.find(",memory,") == std::string::npos) continue;
    const fs::path base = root / (v2 ? "sys/fs/cgroup" : "sys/fs/cgroup/memory");
    for (fs::path group = fs::path(line.substr(second + 1)).relative_path();; group = group.parent_path()) {
      const fs::path folder = base / group;
      // What the group uses less the pages of files that the kernel gives
      // back on demand: its working set, as the tools that watch containers
      // count it.
      std::optional<std::uint64_t> used = number_in(folder / (v2 ? "memory.current" : "memory.usage_in_bytes"));
      const auto cache = number_in(folder / "memory.stat", v2 ? "inactive_file" : "total_inactive_file");
      if (used) *used -= std::min(*used, cache.value_or(0));
      at_most(number_in(folder / (v2 ? "memory.max" : "memory.limit_in_bytes")), used);
      if (group.empty()) break;
    }
  }
  return left;
}

}  // namespace tagsieve
