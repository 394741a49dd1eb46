#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../random_name.h"
#include "linescan/file.h"
#include "savefile/disk.h"

namespace savefile {

namespace fs = std::filesystem;

namespace {

std::error_code error_of(DWORD code) { return {static_cast<int>(code), std::system_category()}; }
std::error_code last_error() { return error_of(::GetLastError()); }
std::error_code result_of(BOOL done) { return done ? std::error_code() : last_error(); }

HANDLE handle_of(const linescan::File& file) { return reinterpret_cast<HANDLE>(file.native()); }

linescan::File file_of(HANDLE handle) {
  return linescan::File(handle == INVALID_HANDLE_VALUE ? linescan::File::k_invalid
                                                       : reinterpret_cast<linescan::File::Native>(handle));
}

// Windows refuses a file that another program holds open without sharing it
// (an editor, a virus scanner); that program may soon let go.
std::error_code unless_held(DWORD code, bool denied_is_held) {
  const bool held = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                    code == ERROR_UNABLE_TO_REMOVE_REPLACED || (denied_is_held && code == ERROR_ACCESS_DENIED);
  return held ? held_by_another() : error_of(code);
}

// What a new version of a file keeps of the old one's attributes, which wine
// does not carry over on a replacement.
constexpr DWORD k_kept_attributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The attributes that a file is to take with target's place: target's, or a
// new file's where there is no target.
DWORD attributes_for(const fs::path& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_ARCHIVE : attributes & k_kept_attributes;
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

constexpr SECURITY_INFORMATION k_owner_and_access = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The file's owner and access list, as Windows keeps them; nothing where
// they cannot be read.
std::vector<std::byte> security_of(const fs::path& path) {
  DWORD size = 0;
  ::GetFileSecurityW(path.c_str(), k_owner_and_access, nullptr, 0, &size);
  std::vector<std::byte> descriptor(size);
  if (size == 0 || !::GetFileSecurityW(path.c_str(), k_owner_and_access, descriptor.data(), size, &size)) return {};
  return descriptor;
}

// The owner and the access list of a descriptor, as bytes.
void read_security(const std::vector<std::byte>& descriptor, Identity& identity) {
  auto* security = const_cast<std::byte*>(descriptor.data());
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (::GetSecurityDescriptorOwner(security, &owner, &defaulted) && owner != nullptr) {
    identity.owner = std::string(static_cast<const char*>(owner), ::GetLengthSid(owner));
  }
  BOOL present = FALSE;
  PACL list = nullptr;
  if (::GetSecurityDescriptorDacl(security, &present, &list, &defaulted)) {
    identity.access = present && list != nullptr ? std::string(reinterpret_cast<const char*>(list), list->AclSize) : "";
  }
}

Identity identity_of(const fs::path& path, std::error_code& error) {
  Identity identity{};
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = ::GetLastError();
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) error = error_of(code);
    return identity;
  }
  identity.kind = attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE) ? Identity::Kind::other : Identity::Kind::regular;
  identity.writable = (attributes & FILE_ATTRIBUTE_READONLY) == 0;
  // Opened for no access at all, which another program's hold never refuses.
  const linescan::File file = file_of(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (file && ::GetFileInformationByHandle(handle_of(file), &information)) {
    identity.size = std::uint64_t{information.nFileSizeHigh} << 32 | information.nFileSizeLow;
    identity.names = information.nNumberOfLinks;
  }
  const std::vector<std::byte> descriptor = security_of(path);
  if (!descriptor.empty()) read_security(descriptor, identity);
  return identity;
}

void give_room_back(HANDLE file, std::uintmax_t size) {
  FILE_ALLOCATION_INFO room{};
  room.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
  ::SetFileInformationByHandle(file, FileAllocationInfo, &room, sizeof room);
}

class WindowsFile final : public OpenFile {
 public:
  WindowsFile(linescan::File file, fs::path path) : file_(std::move(file)), path_(std::move(path)) {}

  std::ptrdiff_t read_some(std::span<char> buffer) override { return file_.read(buffer); }
  std::ptrdiff_t write_some(std::span<const char> bytes) override { return file_.write(bytes); }
  std::error_code sync() override { return file_.sync(); }
  std::error_code close() override { return file_.close(); }
  Identity identify(std::error_code& error) override { return identity_of(path_, error); }

  // A new file takes its folder's inherited access list as it is made.
  void take_identity(const fs::path& old, const Identity&) override {
    std::vector<std::byte> descriptor = security_of(old);
    if (descriptor.empty()) return;
    // Only a privileged process may give a file away: the access list alone then.
    if (!::SetFileSecurityW(path_.c_str(), k_owner_and_access, descriptor.data())) {
      ::SetFileSecurityW(path_.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
    }
  }

  std::error_code lock() override {
    OVERLAPPED whole_file{};
    if (::LockFileEx(handle_of(file_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole_file)) {
      return {};
    }
    return unless_held(::GetLastError(), false);
  }

  std::error_code clone_from(OpenFile&) override { return std::make_error_code(std::errc::not_supported); }

  std::error_code reserve(std::uintmax_t size) override {
    // An allocation below the file's size would cut it.
    LARGE_INTEGER now{};
    if (!::GetFileSizeEx(handle_of(file_), &now)) return last_error();
    if (static_cast<std::uintmax_t>(now.QuadPart) >= size) return {};
    FILE_ALLOCATION_INFO room{};
    room.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (::SetFileInformationByHandle(handle_of(file_), FileAllocationInfo, &room, sizeof room)) return {};
    const DWORD code = ::GetLastError();
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL) return error_of(code);
    return std::make_error_code(std::errc::not_supported);
  }

  std::uintmax_t free_room(std::error_code& error) override {
    ULARGE_INTEGER free{};
    error = result_of(::GetDiskFreeSpaceExW(folder_of(path_).c_str(), &free, nullptr, nullptr));
    return free.QuadPart;
  }

  std::error_code set_size(std::uintmax_t size) override {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(handle_of(file_), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle_of(file_))) return last_error();
    give_room_back(handle_of(file_), size);
    return {};
  }

 private:
  linescan::File file_;
  fs::path path_;
};

class WindowsDisk final : public Disk {
 public:
  // Windows follows every link.
  fs::path read_link(const fs::path& path, std::error_code& error) override {
    if (fs::symlink_status(path, error).type() != fs::file_type::symlink) {
      if (error == std::errc::no_such_file_or_directory) error.clear();
      return {};
    }
    return fs::read_symlink(path, error);
  }

  Identity identify(const fs::path& path, std::error_code& error) override { return identity_of(path, error); }

  // A file that Windows deletes when the process ends could never be kept,
  // so a new file here always has a name; and no signal ends a Windows
  // program, so none is guarded.
  NewFile create(const fs::path& folder, const fs::path& prefix, std::error_code& error) override {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path path = random_name(folder, prefix);
      linescan::File file = file_of(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                  FILE_ATTRIBUTE_HIDDEN, nullptr));
      if (file) return {std::make_unique<WindowsFile>(std::move(file), path), path};
      if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    error = last_error();
    return {};
  }

  fs::path give_name(OpenFile&, const fs::path&, const fs::path&, std::error_code& error) override {
    error = std::make_error_code(std::errc::not_supported);
    return {};
  }

  fs::path temporary_folder() override {
    std::error_code error;
    return fs::temp_directory_path(error);
  }

  std::unique_ptr<OpenFile> open(const fs::path& path, Access access, std::error_code& error) override {
    const DWORD wanted = access == Access::read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    linescan::File file = file_of(::CreateFileW(path.c_str(), wanted, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
      error = unless_held(::GetLastError(), false);
      return nullptr;
    }
    return std::make_unique<WindowsFile>(std::move(file), path);
  }

  // ReplaceFileW keeps the old file's access list and named streams with its
  // place; wine, which keeps neither the hidden attribute nor an access list
  // beyond the Unix mode, wants full paths.
  std::error_code rename(const fs::path& from, const fs::path& to, bool replace) override {
    // Wine's ReplaceFileW would put the file in a folder's place.
    const DWORD there = ::GetFileAttributesW(to.c_str());
    if (there != INVALID_FILE_ATTRIBUTES && (there & FILE_ATTRIBUTE_DIRECTORY) != 0) return error_of(ERROR_ACCESS_DENIED);
    // Shown only for the move itself: a try that fails leaves it hidden, as it was made.
    if (!::SetFileAttributesW(from.c_str(), attributes_for(to))) return last_error();
    const fs::path whole_from = fs::absolute(from);
    const fs::path whole_to = fs::absolute(to);
    BOOL done = FALSE;
    if (replace) done = ::ReplaceFileW(whole_to.c_str(), whole_from.c_str(), nullptr, 0, nullptr, nullptr);
    if (!done && (!replace || ::GetLastError() == ERROR_FILE_NOT_FOUND)) {
      done = ::MoveFileExW(whole_from.c_str(), whole_to.c_str(), MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0));
    }
    if (done) return {};
    const DWORD code = ::GetLastError();
    ::SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return unless_held(code, true);
  }

  std::error_code remove(const fs::path& path) override { return result_of(::DeleteFileW(path.c_str())); }
  // NTFS keeps its folders' entries in its journal, and a move is written through.
  std::error_code sync_folder(const fs::path&) override { return {}; }
  void pause() override { ::Sleep(100); }
  void drop_guard() override {}
  void hold_signals() override {}
  void release_signals() override {}
};

}  // namespace

Disk& system_disk() {
  static WindowsDisk disk;
  return disk;
}

}  // namespace savefile
