#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "../platform.h"
#include "linescan/byte_stream.h"
#include "savefile/steps.h"

namespace savefile {

using linescan::File;

namespace {

std::error_code last_error() { return {errno, std::generic_category()}; }

int fd_of(File::Native native) { return static_cast<int>(native); }

// The process's umask. Linux shows it in /proc/self/status; elsewhere it can
// only be read by setting it, which races any other thread making a file.
mode_t current_umask() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(0);
  [[maybe_unused]] const mode_t unmasked = ::umask(mask);
  return mask;
}

PlantedFailures g_planted;

// Whether a signal leaves the file guarded against signals, rather than
// removing it: while that file holds the only whole new content.
volatile std::sig_atomic_t g_leave_guarded = 0;

// Each signal that would end the process, and how it was handled before the
// guard against signals took it.
struct GuardedSignal {
  int signal;
  struct sigaction previous;
};
GuardedSignal g_guarded_signals[] = {{SIGINT, {}}, {SIGTERM, {}}, {SIGHUP, {}}};

// Holds back the signals that end a process until the object goes.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t ending;
    ::sigemptyset(&ending);
    for (const GuardedSignal& guarded : g_guarded_signals) ::sigaddset(&ending, guarded.signal);
    ::pthread_sigmask(SIG_BLOCK, &ending, &previous_);
  }
  ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t previous_{};
};

// What call returned, or -1 with error where a test planted one.
int planted(int error, int result) {
  if (error == 0) return result;
  errno = error;
  return -1;
}

constexpr std::string_view k_access_list = "system.posix_acl_access";

// The mode of a file that a program makes with mode 0666 in folder: where
// the folder has a default access list, the file takes that list, and its
// owner, mask (or group) and other entries, instead of the umask.
mode_t new_file_mode(const std::filesystem::path& folder) {
  // The version in 32 bits, then each entry: tag and permissions in 16 bits each, and an id in 32.
  unsigned char list[4 + 8 * 64];
  const ssize_t size = ::getxattr(folder.c_str(), "system.posix_acl_default", list, sizeof list);
  if (size < 4) return 0666 & ~current_umask();
  mode_t mode = 0;
  for (ssize_t at = 4; at + 8 <= size; at += 8) {
    const unsigned tag = list[at] | list[at + 1] << 8;
    const mode_t permissions = list[at + 2] & 07;
    if (tag == 0x01) mode |= permissions << 6;                  // the owner
    if (tag == 0x04 || tag == 0x10) mode = (mode & ~070) | permissions << 3;  // the group, then the mask
    if (tag == 0x20) mode |= permissions;                       // others
  }
  return mode & 0666;
}

// The extended attribute name of the file at path, or of the open file fd
// where path is empty; nothing where it has none.
std::string attribute(const std::filesystem::path& path, int fd, const char* name) {
  const auto get = [&](char* value, std::size_t size) {
    return path.empty() ? ::fgetxattr(fd, name, value, size) : ::getxattr(path.c_str(), name, value, size);
  };
  std::string value(static_cast<std::size_t>(std::max<ssize_t>(get(nullptr, 0), 0)), '\0');
  value.resize(static_cast<std::size_t>(std::max<ssize_t>(get(value.data(), value.size()), 0)));
  return value;
}

// Gives fd target's extended attributes, and takes from it an access list
// that target lacks (a folder's default one, which a new file takes):
// whether fd then has target's, as they are. Those that may not be set
// (another namespace's) are left as they are.
bool copy_extended_attributes(int fd, const std::filesystem::path& target) {
  std::string names(static_cast<std::size_t>(std::max<ssize_t>(::listxattr(target.c_str(), nullptr, 0), 0)), '\0');
  names.resize(static_cast<std::size_t>(std::max<ssize_t>(::listxattr(target.c_str(), names.data(), names.size()), 0)));
  bool alike = true;
  // Each name ends with a NUL, and so does the string.
  for (const char* name = names.c_str(); name < names.c_str() + names.size(); name += std::strlen(name) + 1) {
    const std::string value = attribute(target, -1, name);
    if (::fsetxattr(fd, name, value.data(), value.size(), 0) != 0) alike = alike && attribute({}, fd, name) == value;
  }
  const bool access_list = ::getxattr(target.c_str(), k_access_list.data(), nullptr, 0) >= 0;
  if (!access_list && ::fremovexattr(fd, k_access_list.data()) != 0 && errno != ENODATA && errno != ENOTSUP) return false;
  return alike;
}

// Whether the disk of the file open as fd has room for it to grow by
// growth bytes, with a little more for the file system's own records.
std::error_code check_free_space(int fd, std::uintmax_t growth) {
  struct statvfs disk {};
  if (::fstatvfs(fd, &disk) != 0) return last_error();
  const std::uintmax_t free = g_planted.no_free_room ? 0 : std::uintmax_t{disk.f_bavail} * disk.f_frsize;
  if (free < growth + growth / 64 + 16 * std::uintmax_t{disk.f_frsize}) return std::make_error_code(std::errc::no_space_on_device);
  return {};
}

// Makes sure that the file open as fd can grow from size to new_size before
// it is touched: the room reserved where the file system can, else checked
// against the free space. (The size limit stopped the hidden copy, which is
// as large, already.)
std::error_code make_room(int fd, off_t size, off_t new_size) {
  if (new_size <= size) return {};
  if (planted(g_planted.reserve, ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, new_size)) == 0) return {};
  const std::error_code error = errno == ENOSPC || errno == EDQUOT ? last_error()
                                                                   : check_free_space(fd, static_cast<std::uintmax_t>(new_size - size));
  // A full disk may have let part of the room be reserved, past the file's end.
  if (error) {
    [[maybe_unused]] const int given_back = ::ftruncate(fd, size);
  }
  return error;
}

}  // namespace

File create_unique_file(const std::filesystem::path& folder, const std::filesystem::path& prefix, std::filesystem::path& created,
                        std::error_code& error) {
  std::string pattern = (folder / prefix).string();
  pattern += "XXXXXX";
  File file(::mkostemp(pattern.data(), O_CLOEXEC));
  error = file ? std::error_code() : last_error();
  if (file) created = pattern;
  return file;
}

bool may_follow_link(const std::filesystem::path& link) {
  struct stat folder {};
  struct stat status {};
  if (::stat(link.parent_path().empty() ? "." : link.parent_path().c_str(), &folder) != 0 ||
      ::lstat(link.c_str(), &status) != 0) {
    return false;
  }
  const bool shared = (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || status.st_uid == ::geteuid() || status.st_uid == folder.st_uid;
}

std::error_code match_attributes(File& file, const std::filesystem::path& target, Likeness& likeness) {
  const int fd = fd_of(file.native());
  likeness = {};
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) {
    if (errno != ENOENT) return last_error();
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    // A disk without modes keeps the one it gives every file.
    if (g_planted.set_mode == 0) {
      [[maybe_unused]] const int moded = ::fchmod(fd, new_file_mode(folder));
    }
    return {};
  }
  if (!S_ISREG(old.st_mode)) return std::make_error_code(std::errc::not_supported);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return last_error();
  // A file that nobody may write stays as it is even for root, whose rights
  // see through permissions: its owner made it read-only.
  if ((old.st_mode & 0222) == 0) return std::make_error_code(std::errc::permission_denied);
  // Only a privileged process may give a file away; anyone else may give
  // their own file a group that they belong to.
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    [[maybe_unused]] const int group_kept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  // After the access list, which sets the group bits to its mask: the mode's.
  likeness.attributes = copy_extended_attributes(fd, target);
  const mode_t mode = old.st_mode & 07777;
  if (g_planted.set_mode == 0) {
    [[maybe_unused]] const int moded = ::fchmod(fd, mode);
  }
  // What the file now has is what counts: a disk that keeps no modes or
  // owners refuses to set them, yet gives every file the same.
  struct stat made {};
  if (::fstat(fd, &made) != 0) return last_error();
  likeness.one_name = old.st_nlink == 1;
  likeness.owner = made.st_uid == old.st_uid && made.st_gid == old.st_gid;
  likeness.mode = (made.st_mode & 07777) == mode;
  // This file may yet take target's place, should a write over it fail: a
  // group that is not target's, or a group whose access the list did not
  // limit, gets nothing.
  if (made.st_gid != old.st_gid || !likeness.attributes) {
    [[maybe_unused]] const int narrowed = ::fchmod(fd, mode & ~S_IRWXG);
  }
  return {};
}

std::error_code write_in_place(const std::filesystem::path& source, const std::filesystem::path& target, bool& touched) {
  touched = false;
  File from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!from) return last_error();
  File to(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (!to) return last_error();
  const int fd = fd_of(to.native());
  // Another save of the same file ends its write before this one starts.
  if (::flock(fd, LOCK_EX) != 0) return last_error();
  struct stat new_status {};
  struct stat old_status {};
  if (::fstat(fd_of(from.native()), &new_status) != 0 || ::fstat(fd, &old_status) != 0) return last_error();
  if (const std::error_code error = make_room(fd, old_status.st_size, new_status.st_size)) return error;
  touched = true;
  g_leave_guarded = 1;
  linescan::FileSource in(from);
  linescan::FileSink out(to);
  if (g_planted.write != 0 || !linescan::copy_all(in, out) ||
      ::ftruncate(fd, new_status.st_size) != 0) {
    // Room reserved and not written is given back.
    struct stat cut {};
    if (::fstat(fd, &cut) == 0) {
      [[maybe_unused]] const int given_back = ::ftruncate(fd, cut.st_size);
    }
    return std::make_error_code(std::errc::io_error);
  }
  // Signals wait while the content becomes durable: one that comes before
  // leaves source, which holds the only whole copy; one after removes it.
  const HeldSignals held;
  if (const std::error_code error = to.sync()) return error;
  g_leave_guarded = 0;
  return to.close();
}

void plant_failures(const PlantedFailures& failures) { g_planted = failures; }

// A rename is never tried again here, so there is never a pause to make.
void pause_before_retry() {}

// A rename replaces a file whoever holds it open: no retry is ever needed.
std::error_code replace_file(const std::filesystem::path& source, const std::filesystem::path& target,
                             Existing existing, const RetryPause&) {
  if (existing == Existing::replace) {
    return ::rename(source.c_str(), target.c_str()) == 0 ? std::error_code() : last_error();
  }
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return last_error();
#endif
  // Where the file system cannot rename without replacing: a second name,
  // which a link never takes from another file, then the first one gone.
  if (::link(source.c_str(), target.c_str()) != 0) return last_error();
  ::unlink(source.c_str());
  return {};
}

File platform::create_unnamed_file(const std::filesystem::path& folder, std::error_code& error) {
#ifdef O_TMPFILE
  // Naming it later goes through /proc, which a chroot may lack.
  if (::access("/proc/self/fd", X_OK) == 0) {
    File file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    error = file ? std::error_code() : last_error();
    return file;
  }
#endif
  error = std::make_error_code(std::errc::not_supported);
  return {};
}

std::error_code platform::give_name(File& file, const std::filesystem::path& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_of(file.native()));
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? std::error_code()
                                                                                          : last_error();
}

namespace {

// The one named temporary file that the handler removes, as a terminated
// string the handler can use as it is, and whether there is one.
char g_guarded_path[PATH_MAX];
volatile std::sig_atomic_t g_guarded = 0;

// Removes the file, then lets the signal do what it would have done.
extern "C" void remove_then_reraise(int signal) {
  if (g_guarded != 0 && g_leave_guarded == 0) ::unlink(g_guarded_path);
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  ::sigemptyset(&plain.sa_mask);
  ::sigaction(signal, &plain, nullptr);
  ::raise(signal);
}

}  // namespace

void platform::guard_against_signals(const std::filesystem::path& path) {
  const std::string& name = path.native();
  if (g_guarded != 0 || name.size() >= sizeof g_guarded_path) return;
  std::copy(name.begin(), name.end(), g_guarded_path);
  g_guarded_path[name.size()] = '\0';
  g_leave_guarded = 0;
  g_guarded = 1;
  struct sigaction action {};
  action.sa_handler = remove_then_reraise;
  ::sigemptyset(&action.sa_mask);
  for (GuardedSignal& guarded : g_guarded_signals) {
    ::sigaction(guarded.signal, nullptr, &guarded.previous);
    // A signal the process ignores (SIGHUP under nohup) stays ignored.
    if (guarded.previous.sa_handler != SIG_IGN) ::sigaction(guarded.signal, &action, nullptr);
  }
}

void platform::drop_signal_guard() {
  if (g_guarded == 0) return;
  for (const GuardedSignal& guarded : g_guarded_signals) ::sigaction(guarded.signal, &guarded.previous, nullptr);
  g_guarded = 0;
}

std::error_code sync_folder(const std::filesystem::path& folder) {
  const File file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!file) return last_error();
  // Some file systems cannot sync a folder; for them the rename is as durable as it gets.
  if (::fsync(fd_of(file.native())) != 0 && errno != EINVAL) return last_error();
  return {};
}

}  // namespace savefile
