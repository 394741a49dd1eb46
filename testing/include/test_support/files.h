#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// A fresh folder under the system's temporary folder, removed with all it holds.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void write_file(const std::filesystem::path& path, std::string_view bytes);
// The file's bytes, or nothing when it is no regular file or cannot be read.
[[nodiscard]] std::optional<std::string> read_file(const std::filesystem::path& path);
// The paths of all that a folder holds, relative to it and sorted; links are
// listed, not followed.
[[nodiscard]] std::vector<std::string> list_tree(const std::filesystem::path& folder);

// Whether the tests run on Windows, where some cases cannot be made (no modes,
// named pipes or links in folders): they skip there.
#ifdef _WIN32
inline constexpr bool k_on_windows = true;
#else
inline constexpr bool k_on_windows = false;
#endif

// Makes a named pipe at path (POSIX only).
[[nodiscard]] bool make_pipe(const std::filesystem::path& path);

// Runs body with the rights of an ordinary user and returns what it returned.
// As root, whose rights see through file permissions, body runs in a child
// process under the user "nobody", a member of the group "users" (100) too,
// which then owns all that `folder` holds but what the test gave to another
// user; otherwise it runs here.
[[nodiscard]] std::string run_unprivileged(const std::filesystem::path& folder, const std::function<std::string()>& body);

// Runs body while the file at path is there but may not be read by it, and
// returns what it returned: on Windows another program holds the file open
// without sharing; elsewhere body runs as an ordinary user (see
// run_unprivileged) with every permission of the file taken away.
[[nodiscard]] std::string while_unreadable(const std::filesystem::path& path, const std::function<std::string()>& body);

}  // namespace test_support
