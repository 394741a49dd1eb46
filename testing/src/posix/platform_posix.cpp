#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "test_support/files.h"

namespace test_support {

namespace fs = std::filesystem;

bool make_pipe(const fs::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

std::string run_unprivileged(const fs::path& folder, const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();

  constexpr uid_t k_nobody = 65534;
  constexpr gid_t k_nogroup = 65534;
  constexpr gid_t k_users = 100;
  // What the test gave to another user stays theirs.
  const auto take = [](const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || (status.st_uid == 0 && ::lchown(path.c_str(), k_nobody, k_nogroup) != 0)) {
      throw std::runtime_error("lchown failed");
    }
  };
  for (const auto& entry : fs::recursive_directory_iterator(folder)) take(entry.path());
  take(folder);

  int channel[2];
  if (::pipe(channel) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::close(channel[0]);
    if (::setgroups(1, &k_users) != 0 || ::setgid(k_nogroup) != 0 || ::setuid(k_nobody) != 0) ::_exit(2);
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

std::string while_unreadable(const fs::path& path, const std::function<std::string()>& body) {
  fs::permissions(path, fs::perms::none);
  return run_unprivileged(path.parent_path(), body);
}

}  // namespace test_support
