#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "../random_name.h"
#include "linescan/file.h"
#include "savefile/disk.h"
#include "signal_guard.h"

namespace savefile {

namespace fs = std::filesystem;

namespace {

std::error_code last_error() { return {errno, std::generic_category()}; }

int fd_of(const linescan::File& file) { return static_cast<int>(file.native()); }

std::error_code result_of(int returned) { return returned == 0 ? std::error_code() : last_error(); }

// What a file system answers for a call it does not have.
std::error_code unsupported_where(int returned, std::initializer_list<int> unsupported) {
  if (returned == 0) return {};
  if (std::find(unsupported.begin(), unsupported.end(), errno) != unsupported.end()) {
    return std::make_error_code(std::errc::not_supported);
  }
  return last_error();
}

// The process's umask, as Linux shows it in /proc/self/status. It could
// only be read otherwise by setting it, which races any other thread making
// a file: where /proc cannot tell, the narrowest, by which nobody else gains
// access.
mode_t current_umask() {
  std::ifstream status("/proc/self/status");
  for (std::string key; status >> key;) {
    if (unsigned mask{}; key == "Umask:" && status >> std::oct >> mask) return static_cast<mode_t>(mask);
  }
  return 077;
}

constexpr const char* k_access_list = "system.posix_acl_access";

// Reads an extended attribute list or value whole, whatever its size, into
// ever larger buffers. Nothing where it fails.
template <class Call>
std::optional<std::string> read_whole(const Call& call) {
  constexpr std::size_t k_first_size = 256;  // Tuning: any size from 1 reads the same
  std::string value(k_first_size, '\0');
  for (;;) {
    const ssize_t size = call(value.data(), value.size());
    if (size >= 0) return value.substr(0, static_cast<std::size_t>(size));
    if (errno != ERANGE) return std::nullopt;
    value.resize(value.size() * 2);  // Tuning: any growth reads the same
  }
}

// The names in a list of extended attributes, each ended by a NUL.
std::vector<std::string> names_in(const std::string& list) {
  std::vector<std::string> names;
  for (std::size_t at = 0, end; at < list.size(); at = end + 1) names.push_back(list.substr(at, (end = list.find('\0', at)) - at));
  return names;
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

// The extended attributes of the file open as fd, names and values, sorted
// by name: a file system without any has none. Nothing where they cannot be
// read.
std::optional<Attributes> attributes_of(int fd) {
  const std::optional<std::string> list = read_whole([&](char* names, std::size_t size) { return ::flistxattr(fd, names, size); });
  if (!list) return errno == ENOTSUP ? std::optional<Attributes>(Attributes()) : std::nullopt;
  Attributes attributes;
  for (std::string& name : names_in(*list)) {
    auto value = read_whole([&](char* bytes, std::size_t size) { return ::fgetxattr(fd, name.c_str(), bytes, size); });
    if (!value) return std::nullopt;
    attributes.emplace_back(std::move(name), std::move(*value));
  }
  std::sort(attributes.begin(), attributes.end());
  return attributes;
}

Identity identity_of(int fd, std::error_code& error) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    error = last_error();
    return {};
  }
  Identity identity{};
  identity.kind = S_ISREG(status.st_mode) ? Identity::Kind::regular : Identity::Kind::other;
  identity.size = static_cast<std::uintmax_t>(status.st_size);
  identity.names = status.st_nlink;
  identity.owner = std::to_string(status.st_uid) + ":" + std::to_string(status.st_gid);
  if (const std::optional<Attributes> attributes = attributes_of(fd)) {
    // Each name and value followed by a NUL.
    identity.access = std::to_string(status.st_mode & 07777) + ":";
    for (const auto& [name, value] : *attributes) identity.access->append(name).append(1, '\0').append(value).append(1, '\0');
  }
  return identity;
}

// The mode of a file that a program makes with mode 0666 in folder: where
// the folder has a default access list, the file takes that list, and its
// owner, mask (or group) and other entries, instead of the umask.
mode_t new_file_mode(const fs::path& folder) {
  const auto list = read_whole([&](char* bytes, std::size_t size) {
    return ::getxattr(folder.c_str(), "system.posix_acl_default", bytes, size);
  });
  // The version in 32 bits, then each entry: tag and permissions in 16 bits each, and an id in 32.
  if (!list) return 0666 & ~current_umask();
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>((*list)[at]); };
  mode_t mode = 0;
  for (std::size_t at = 4; at + 8 <= list->size(); at += 8) {
    const unsigned tag = byte(at);  // in 16 bits, the high ones never set
    const mode_t permissions = byte(at + 2) & 07;
    if (tag == 0x01) mode |= permissions << 6;                                // the owner
    if (tag == 0x04 || tag == 0x10) mode = (mode & ~070) | permissions << 3;  // the group, then the mask
    if (tag == 0x20) mode |= permissions;                                     // others
  }
  return mode & 0666;
}

class PosixFile final : public OpenFile {
 public:
  explicit PosixFile(linescan::File file) : file_(std::move(file)), sink_(file_) {}

  [[nodiscard]] int fd() const { return fd_of(file_); }
  std::ptrdiff_t read_some(std::span<char> buffer) override { return file_.read(buffer); }
  std::ptrdiff_t write_some(std::span<const char> bytes) override { return sink_.write_some(bytes); }
  std::error_code sync() override { return file_.sync(); }
  std::error_code close() override { return file_.close(); }
  Identity identify(std::error_code& error) override { return identity_of(fd(), error); }

  void take_identity(const fs::path& old, const Identity& identity) override {
    // A disk without modes keeps the one it gives every file.
    if (identity.kind == Identity::Kind::missing) ::fchmod(fd(), new_file_mode(folder_of(old)));
    struct stat status {};
    if (identity.kind == Identity::Kind::missing || ::stat(old.c_str(), &status) != 0) return;
    // Only a privileged process may give a file away, and anyone else only
    // their own file a group that they belong to.
    [[maybe_unused]] const int given = ::fchown(fd(), status.st_uid, status.st_gid);
    // Its extended attributes, the access list among them, and no access
    // list where it has none (a new file takes its folder's default one).
    const File from(::open(old.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const Attributes attributes = attributes_of(fd_of(from)).value_or(Attributes());
    bool access_list = false;
    for (const auto& [name, value] : attributes) {
      ::fsetxattr(fd(), name.c_str(), value.data(), value.size(), 0);
      access_list = access_list || name == k_access_list;
    }
    if (!access_list) ::fremovexattr(fd(), k_access_list);
    // After the access list, which sets the group bits to its mask: the mode's.
    ::fchmod(fd(), status.st_mode & 07777);
    // Should this file take the old one's name after a write over it failed
    // midway, a group that is not the old one's, or whose access no list
    // limits as the old one's did, gets nothing.
    std::error_code error;
    const Identity made = identify(error);
    if (made.owner != identity.owner || made.access != identity.access) ::fchmod(fd(), status.st_mode & 07707);
  }

  std::error_code lock() override {
    if (::flock(fd(), LOCK_EX | LOCK_NB) == 0) return {};
    return errno == EWOULDBLOCK ? held_by_another() : last_error();
  }

  std::error_code clone_from(OpenFile& source) override {
    const int from = static_cast<PosixFile&>(source).fd();
    return unsupported_where(::ioctl(fd(), FICLONE, from), {EOPNOTSUPP, EXDEV, EINVAL, ENOTTY, ENOSYS, EBADF});
  }

  std::error_code reserve(std::uintmax_t size) override {
    return unsupported_where(::fallocate(fd(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)), {EOPNOTSUPP, ENOSYS});
  }

  std::uintmax_t free_room(std::error_code& error) override {
    struct statvfs disk {};
    error = result_of(::fstatvfs(fd(), &disk));
    return std::uintmax_t{disk.f_bavail} * disk.f_frsize;
  }

  std::error_code set_size(std::uintmax_t size) override { return result_of(::ftruncate(fd(), static_cast<off_t>(size))); }

 private:
  using File = linescan::File;
  File file_;
  linescan::FileSink sink_;
};

// Whether the system would follow the symbolic link at link, whose own
// status is given, for this process: not where the link sits in a folder
// that anyone may write to but only owners may delete from (/tmp), unless
// this process or the folder's owner owns the link: a link that another user
// planted there could lead a save onto a file of their choosing.
bool may_follow(const fs::path& link, const struct stat& status) {
  struct stat folder {};
  if (::stat(folder_of(link).c_str(), &folder) != 0) return false;
  const bool shared = (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || status.st_uid == ::geteuid() || status.st_uid == folder.st_uid;
}

class PosixDisk final : public Disk {
 public:
  fs::path read_link(const fs::path& path, std::error_code& error) override {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
      if (errno != ENOENT) error = last_error();
      return {};
    }
    if (!S_ISLNK(status.st_mode)) return {};
    if (!may_follow(path, status)) {
      error = std::make_error_code(std::errc::permission_denied);
      return {};
    }
    return fs::read_symlink(path, error);
  }

  Identity identify(const fs::path& path, std::error_code& error) override {
    // Opened by path alone first: opening a device may do things of its own.
    File file(::open(path.c_str(), O_PATH | O_CLOEXEC));
    struct stat status {};
    if (!file || ::fstat(fd_of(file), &status) != 0) {
      if (errno != ENOENT) error = last_error();
      return {};
    }
    if (!S_ISREG(status.st_mode)) {
      Identity other{};
      other.kind = Identity::Kind::other;
      return other;
    }
    // Attributes are read through a real open; those of a file that the
    // saver may write but not read stay unknown.
    if (File readable(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)); readable) file = std::move(readable);
    Identity identity = identity_of(fd_of(file), error);
    identity.writable = ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 && (status.st_mode & 0222) != 0;
    return identity;
  }

  NewFile create(const fs::path& folder, const fs::path& prefix, std::error_code& error) override {
    // Naming it later goes through /proc, which a chroot may lack.
    if (std::error_code none; fs::is_directory("/proc/self/fd", none)) {
      File file(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
      if (file) return {std::make_unique<PosixFile>(std::move(file)), {}};
    }
    std::string pattern = (folder / prefix).native() + "XXXXXX";
    File file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!file) {
      error = last_error();
      return {};
    }
    signal_guard::guard(pattern);
    return {std::make_unique<PosixFile>(std::move(file)), pattern};
  }

  fs::path give_name(OpenFile& file, const fs::path& folder, const fs::path& prefix, std::error_code& error) override {
    const std::string self = "/proc/self/fd/" + std::to_string(static_cast<PosixFile&>(file).fd());
    // A name that another file took meanwhile is tried again with other
    // characters, of which there are two billion.
    for (;;) {
      const fs::path name = random_name(folder, prefix);
      error = result_of(::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW));
      if (!error) signal_guard::guard(name);
      if (error != std::errc::file_exists) return error ? fs::path() : name;
    }
  }

  fs::path temporary_folder() override {
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    return error ? fs::path("/tmp") : folder;
  }

  std::unique_ptr<OpenFile> open(const fs::path& path, Access access, std::error_code& error) override {
    // Never waits for a pipe's other end, should one have come to path.
    File file(::open(path.c_str(), (access == Access::read ? O_RDONLY : O_WRONLY) | O_NONBLOCK | O_CLOEXEC));
    if (!file) {
      error = last_error();
      return nullptr;
    }
    return std::make_unique<PosixFile>(std::move(file));
  }

  std::error_code rename(const fs::path& from, const fs::path& to, bool replace) override {
    if (replace) return result_of(::rename(from.c_str(), to.c_str()));
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return last_error();
    // Where the file system cannot rename without replacing: a second name,
    // which a link never takes from another file, then the first one gone.
    if (::link(from.c_str(), to.c_str()) != 0) return last_error();
    ::unlink(from.c_str());
    return {};
  }

  std::error_code remove(const fs::path& path) override { return result_of(::unlink(path.c_str())); }

  std::error_code sync_folder(const fs::path& folder) override {
    const File file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!file) return last_error();
    // Some file systems cannot sync a folder; for them a rename is as durable as it gets.
    if (::fsync(fd_of(file)) != 0 && errno != EINVAL) return last_error();
    return {};
  }

  void pause() override {
    constexpr std::chrono::milliseconds k_pause(100);  // Tuning: the tries, not the pause, bound the wait
    std::this_thread::sleep_for(k_pause);
  }
  void drop_guard() override { signal_guard::drop(); }
  void hold_signals() override { signal_guard::hold(); }
  void release_signals() override { signal_guard::release(); }

 private:
  using File = linescan::File;
};

}  // namespace

Disk& system_disk() {
  static PosixDisk disk;
  return disk;
}

}  // namespace savefile
