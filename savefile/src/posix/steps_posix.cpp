#include <fcntl.h>
#include <sys/stat.h>
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

mode_t new_file_mode() { return 0666 & ~current_umask(); }

// Gives fd target's extended attributes, after its mode, whose group bits
// an access list sets to the list's mask. Where the access list cannot be
// set, the mode's group bits, which were that mask, are taken away: the
// group keeps no access that the list did not give it, and nobody gains any.
// Other attributes that may not be set (another namespace's) are left.
void copy_extended_attributes(int fd, const std::filesystem::path& target, mode_t mode) {
  constexpr std::string_view k_access_list = "system.posix_acl_access";
  std::string names(static_cast<std::size_t>(std::max<ssize_t>(::listxattr(target.c_str(), nullptr, 0), 0)), '\0');
  names.resize(static_cast<std::size_t>(std::max<ssize_t>(::listxattr(target.c_str(), names.data(), names.size()), 0)));
  // Each name ends with a NUL, and so does the string.
  for (const char* name = names.c_str(); name < names.c_str() + names.size(); name += std::strlen(name) + 1) {
    std::string value(static_cast<std::size_t>(std::max<ssize_t>(::getxattr(target.c_str(), name, nullptr, 0), 0)), '\0');
    const ssize_t size = ::getxattr(target.c_str(), name, value.data(), value.size());
    if (size < 0 || ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(size), 0) == 0 || name != k_access_list) continue;
    [[maybe_unused]] const int narrowed = ::fchmod(fd, mode & ~S_IRWXG);
  }
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

std::error_code match_attributes(File& file, const std::filesystem::path& target) {
  const int fd = fd_of(file.native());
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) {
    if (errno != ENOENT) return last_error();
    return ::fchmod(fd, new_file_mode()) == 0 ? std::error_code() : last_error();
  }
  if (!S_ISREG(status.st_mode)) return std::make_error_code(std::errc::not_supported);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return last_error();
  // A file that nobody may write stays as it is even for root, whose rights
  // see through permissions: its owner made it read-only.
  if ((status.st_mode & 0222) == 0) return std::make_error_code(std::errc::permission_denied);
  // Only a privileged process may give a file away, so for anyone else the
  // new file becomes theirs; its group stays wherever they belong to it.
  if (::fchown(fd, status.st_uid, status.st_gid) != 0) {
    [[maybe_unused]] const int group_kept = ::fchown(fd, static_cast<uid_t>(-1), status.st_gid);
  }
  if (::fchmod(fd, status.st_mode & 07777) != 0) return last_error();
  copy_extended_attributes(fd, target, status.st_mode & 07777);
  return {};
}

bool has_other_names(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && status.st_nlink > 1;
}

std::error_code write_in_place(const std::filesystem::path& source, const std::filesystem::path& target, bool& touched) {
  touched = false;
  File from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!from) return last_error();
  File to(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  struct stat status {};
  if (!to || ::fstat(fd_of(from.native()), &status) != 0) return last_error();
#ifdef FALLOC_FL_KEEP_SIZE
  // Where the file system cannot reserve room, the write itself finds out.
  if (::fallocate(fd_of(to.native()), FALLOC_FL_KEEP_SIZE, 0, status.st_size) != 0 && (errno == ENOSPC || errno == EDQUOT)) {
    return last_error();
  }
#endif
  touched = true;
  linescan::FileSource in(from);
  linescan::FileSink out(to);
  if (!linescan::copy_all(in, out)) return std::make_error_code(std::errc::io_error);
  if (::ftruncate(fd_of(to.native()), status.st_size) != 0) return last_error();
  if (const std::error_code error = to.sync()) return error;
  return to.close();
}

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
// Each signal that would end the process, and how it was handled before.
struct GuardedSignal {
  int signal;
  struct sigaction previous;
};
GuardedSignal g_guarded_signals[] = {{SIGINT, {}}, {SIGTERM, {}}, {SIGHUP, {}}};

// Removes the file, then lets the signal do what it would have done.
extern "C" void remove_then_reraise(int signal) {
  if (g_guarded != 0) ::unlink(g_guarded_path);
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
