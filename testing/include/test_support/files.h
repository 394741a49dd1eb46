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

// Makes a folder the current one for the life of the object.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::filesystem::path& folder);
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

 private:
  std::filesystem::path previous_;
};

void write_file(const std::filesystem::path& path, std::string_view bytes);
// The file's bytes, or nothing when it is no regular file or cannot be read.
[[nodiscard]] std::optional<std::string> read_file(const std::filesystem::path& path);
// The paths of all that a folder holds, relative to it and sorted; links are
// listed, not followed.
[[nodiscard]] std::vector<std::string> list_tree(const std::filesystem::path& folder);

// Where the test program's data files were copied at build time.
[[nodiscard]] std::filesystem::path data_dir();

// Runs body with the rights of an ordinary user and returns what it returned.
// As root, whose rights see through file permissions, body runs in a child
// process under the user "nobody", which then owns all that `folder` holds;
// otherwise it runs here.
[[nodiscard]] std::string run_unprivileged(const std::filesystem::path& folder, const std::function<std::string()>& body);

}  // namespace test_support
