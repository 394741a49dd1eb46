#include "test_support/files.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace test_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "tweaktools-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave read-only folders behind; open them up so they can go.
  for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_all, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, ignored);
  fs::remove_all(path_, ignored);
}

ScopedCurrentDir::ScopedCurrentDir(const fs::path& folder) : previous_(fs::current_path()) {
  fs::current_path(folder);
}

ScopedCurrentDir::~ScopedCurrentDir() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

void write_file(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

std::optional<std::string> read_file(const fs::path& path) {
  std::error_code ignored;
  if (!fs::is_regular_file(path, ignored)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> list_tree(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    names.push_back(entry.path().lexically_relative(folder).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

fs::path data_dir() { return fs::read_symlink("/proc/self/exe").parent_path() / "data"; }

std::string run_unprivileged(const fs::path& folder, const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();

  constexpr uid_t k_nobody = 65534;
  constexpr gid_t k_nogroup = 65534;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (::lchown(entry.path().c_str(), k_nobody, k_nogroup) != 0) throw std::runtime_error("lchown failed");
  }
  if (::chown(folder.c_str(), k_nobody, k_nogroup) != 0) throw std::runtime_error("chown failed");

  int channel[2];
  if (::pipe(channel) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::close(channel[0]);
    if (::setgroups(0, nullptr) != 0 || ::setgid(k_nogroup) != 0 || ::setuid(k_nobody) != 0) ::_exit(2);
    const std::string result = body();
    const bool sent = ::write(channel[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    ::_exit(sent ? 0 : 3);
  }
  ::close(channel[1]);
  std::string result;
  char block[4096];
  for (ssize_t count; (count = ::read(channel[0], block, sizeof block)) > 0;) result.append(block, static_cast<std::size_t>(count));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("unprivileged child failed");
  return result;
}

}  // namespace test_support
