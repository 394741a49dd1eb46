#include "linescan/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace linescan {

UniqueFd open_regular_file(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd) return {};
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
  // Reads of a regular file never block; clear the flag anyway so that the
  // descriptor behaves like any ordinary one.
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return {};
  return fd;
}

}  // namespace linescan
