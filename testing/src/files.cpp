#include "test_support/files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace test_support {

namespace fs = std::filesystem;

TempDir::TempDir() : path_(fs::temp_directory_path() / ("tweaktools-" + std::to_string(std::random_device()()))) {
  if (!fs::create_directory(path_)) throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave read-only folders behind; open them up so they can go.
  for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_all, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, ignored);
  fs::remove_all(path_, ignored);
}

void write_file(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) throw std::runtime_error("cannot write " + path.string());
}

std::optional<std::string> read_file(const fs::path& path) {
  std::error_code ignored;
  if (!fs::is_regular_file(path, ignored)) return std::nullopt;  // a pipe's open would wait for a writer
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> list_tree(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) names.push_back(entry.path().lexically_relative(folder).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace test_support
