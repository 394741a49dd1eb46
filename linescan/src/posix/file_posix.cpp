#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "linescan/file.h"

namespace linescan {

namespace {

std::error_code last_error() { return {errno, std::generic_category()}; }

int fd_of(File::Native native) { return static_cast<int>(native); }

// Whether the file lives on one of the kernel's own file systems, whose
// "files" are views of the running system: some block on read for ever
// (/proc/kmsg), none is a tweak file.
bool on_pseudo_file_system([[maybe_unused]] int fd) {
#ifdef __linux__
  static constexpr decltype(statfs::f_type) k_pseudo[] = {
      PROC_SUPER_MAGIC,   SYSFS_MAGIC,      DEBUGFS_MAGIC,   TRACEFS_MAGIC,  SECURITYFS_MAGIC,
      CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC, BPF_FS_MAGIC, EFIVARFS_MAGIC, PSTOREFS_MAGIC,
      SELINUX_MAGIC,      SMACK_MAGIC,      BINFMTFS_MAGIC,  0x62656570 /* configfs */, 0x65735543 /* fusectl */,
  };
  struct statfs system {};
  return ::fstatfs(fd, &system) == 0 && std::find(std::begin(k_pseudo), std::end(k_pseudo), system.f_type) != std::end(k_pseudo);
#else
  return false;
#endif
}

}  // namespace

std::ptrdiff_t File::read(std::span<char> buffer) {
  for (;;) {
    const ssize_t count = ::read(fd_of(native_), buffer.data(), buffer.size());
    if (count >= 0 || errno != EINTR) return count < 0 ? -1 : count;
  }
}

std::ptrdiff_t File::write(std::span<const char> bytes) {
  for (;;) {
    const ssize_t count = ::write(fd_of(native_), bytes.data(), bytes.size());
    if (count > 0) return count;
    if (count == 0 || errno != EINTR) return -1;
  }
}

std::error_code File::sync() { return ::fsync(fd_of(native_)) == 0 ? std::error_code() : last_error(); }

bool File::is_same_file(const std::filesystem::path& path) const {
  struct stat mine {};
  struct stat theirs {};
  return ::fstat(fd_of(native_), &mine) == 0 && ::stat(path.c_str(), &theirs) == 0 && mine.st_dev == theirs.st_dev &&
         mine.st_ino == theirs.st_ino;
}

void File::start_writeback() {
#ifdef __linux__
  // Linux's own call: the rest of POSIX can only wait for the disk.
  ::sync_file_range(fd_of(native_), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

std::error_code File::close() {
  if (!is_open()) return {};
  return ::close(fd_of(std::exchange(native_, k_invalid))) == 0 ? std::error_code() : last_error();
}

File open_regular_file(const std::filesystem::path& path, std::error_code& error) {
  // Why a file of this kind is not read, if it is not.
  const auto wrong_kind = [](const struct stat& status) {
    if (S_ISREG(status.st_mode)) return std::error_code();
    return std::make_error_code(S_ISDIR(status.st_mode) ? std::errc::is_a_directory : std::errc::not_supported);
  };
  // The kind is checked before the open, which on some devices does things
  // of its own (a watchdog starts counting), and again on what was opened,
  // which may no longer be what was checked.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    error = last_error();
    return {};
  }
  if ((error = wrong_kind(status))) return {};
  File file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file || ::fstat(fd_of(file.native()), &status) != 0) {
    error = last_error();
    return {};
  }
  if ((error = wrong_kind(status))) return {};
  if (on_pseudo_file_system(fd_of(file.native()))) {
    error = std::make_error_code(std::errc::operation_not_permitted);
    return {};
  }
  return file;
}

bool is_missing(const std::error_code& error) {
  if (error.category() != std::generic_category()) return false;
  switch (static_cast<std::errc>(error.value())) {
    case std::errc::no_such_file_or_directory:
    case std::errc::not_a_directory:
    case std::errc::filename_too_long:
    case std::errc::too_many_symbolic_link_levels:
    case std::errc::is_a_directory:
    case std::errc::not_supported:
    case std::errc::no_such_device_or_address:
    case std::errc::no_such_device:
      return true;
    default:
      return false;
  }
}

}  // namespace linescan
