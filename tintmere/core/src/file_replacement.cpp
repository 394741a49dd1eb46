#include "tintmere/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tintmere {

namespace fs = std::filesystem;

namespace {

// Where path finally leads once every symbolic link is followed; the last
// link may dangle, and then its target is where the file will be made.
std::optional<fs::path> resolve_links(fs::path path) {
  constexpr int k_max_links = 40;  // as the kernel allows
  for (int links = 0; links <= k_max_links; ++links) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
      if (errno == ENOENT) return path;
      return std::nullopt;
    }
    if (!S_ISLNK(status.st_mode)) return path;
    std::error_code error;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

mode_t new_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Gives the new file what the old one had, or what a new file would get.
bool match_existing(int fd, const fs::path& target) {
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) {
    return errno == ENOENT && ::fchmod(fd, new_file_mode()) == 0;
  }
  if (!S_ISREG(status.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  // Only a privileged process may give a file away; for anyone else the new
  // file is theirs, as a file they rewrote in place would have stayed.
  [[maybe_unused]] const int owner_kept = ::fchown(fd, status.st_uid, status.st_gid);
  return ::fchmod(fd, status.st_mode & 07777) == 0;
}

bool sync_folder(const fs::path& folder) {
  linescan::UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) return false;
  // Some file systems cannot sync a folder; for them the rename is as durable as it gets.
  return ::fsync(fd.get()) == 0 || errno == EINVAL;
}

fs::path folder_of(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

}  // namespace

std::optional<FileReplacement> FileReplacement::begin(const fs::path& target) {
  const std::optional<fs::path> resolved = resolve_links(target);
  if (!resolved) return std::nullopt;
  std::string name = ".";  // hidden, and named for its target
  name += resolved->filename().string();
  name += ".XXXXXX";
  std::string pattern = (folder_of(*resolved) / name).string();
  linescan::UniqueFd file(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!file) return std::nullopt;
  FileReplacement replacement(std::move(file), pattern, *resolved);
  if (!match_existing(replacement.fd(), *resolved)) return std::nullopt;
  return replacement;
}

FileReplacement::FileReplacement(linescan::UniqueFd file, fs::path temporary, fs::path target)
    : file_(std::move(file)), temporary_(std::move(temporary)), target_(std::move(target)) {}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : file_(std::move(other.file_)), temporary_(std::move(other.temporary_)), target_(std::move(other.target_)),
      renamed_(other.renamed_) {
  other.temporary_.clear();
}

FileReplacement::~FileReplacement() {
  file_.reset();
  if (!renamed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

bool FileReplacement::commit() {
  if (::fsync(file_.get()) != 0 || !file_.close()) return false;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
  renamed_ = true;
  return sync_folder(folder_of(target_));
}

}  // namespace tintmere
