#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <string>

#include "../platform.h"
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
  ::umask(mask);
  return mask;
}

mode_t new_file_mode() { return 0666 & ~current_umask(); }

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
  return ::fchmod(fd, status.st_mode & 07777) == 0 ? std::error_code() : last_error();
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
