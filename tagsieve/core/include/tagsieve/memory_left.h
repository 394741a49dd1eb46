#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tagsieve {

// How much more memory this process may take before the system refuses it or
// ends the process: the least of MemAvailable and, for its memory cgroup and
// each cgroup above it, the limit less what that cgroup uses (cgroup v2's
// memory.max and memory.current, v1's memory.limit_in_bytes and
// memory.usage_in_bytes), but for the inactive file pages that the kernel
// takes back on demand (memory.stat). A cgroup ends a process that passes its limit
// instead of failing an allocation, so this is asked before a large one.
// Nothing where none of them can be read (Windows). root stands for the
// file system's root, so that tests can give another.
[[nodiscard]] std::optional<std::uint64_t> memory_left(const std::filesystem::path& root = "/");

}  // namespace tagsieve
