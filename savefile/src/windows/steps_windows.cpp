#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../platform.h"
#include "linescan/byte_stream.h"
#include "savefile/steps.h"

namespace savefile {

using linescan::File;

namespace {

std::error_code last_error() { return {static_cast<int>(::GetLastError()), std::system_category()}; }

File::Native native_of(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? File::k_invalid : reinterpret_cast<File::Native>(handle);
}

HANDLE handle_of(const File& file) { return reinterpret_cast<HANDLE>(file.native()); }

// Windows refuses to replace a file that another program holds open without
// letting others delete it; that program may soon let go.
bool held_by_another_program(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

constexpr int k_replace_attempts = 10;

// What a new version of a file keeps of the old one's attributes.
constexpr DWORD k_kept_attributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Gives source the list of who may do what with target. Where there is none
// to copy (no target, a FAT drive) or it cannot be set, source keeps its
// folder's.
void copy_access_list(const std::filesystem::path& source, const std::filesystem::path& target) {
  constexpr SECURITY_INFORMATION k_access_list = DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  ::GetFileSecurityW(target.c_str(), k_access_list, nullptr, 0, &size);
  if (size == 0) return;
  std::vector<std::byte> descriptor(size);
  if (::GetFileSecurityW(target.c_str(), k_access_list, descriptor.data(), size, &size)) {
    ::SetFileSecurityW(source.c_str(), k_access_list, descriptor.data());
  }
}

// The attributes that source is to take with target's place: target's, or
// a new file's when there is no target.
DWORD attributes_for(const std::filesystem::path& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_ARCHIVE : attributes & k_kept_attributes;
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

PlantedFailures g_planted;

// Gives back the room reserved past size.
void give_room_back(HANDLE file, LARGE_INTEGER size) {
  FILE_ALLOCATION_INFO room{size};
  ::SetFileInformationByHandle(file, FileAllocationInfo, &room, sizeof room);
}

// Makes sure that the file can grow from size to new_size before it is
// touched: reserved where the file system can, else checked against the free
// space, with a little more for the file system's own records.
std::error_code make_room(HANDLE file, const std::filesystem::path& path, LARGE_INTEGER size, LARGE_INTEGER new_size) {
  // An allocation below the file's size would cut it.
  if (new_size.QuadPart <= size.QuadPart) return {};
  FILE_ALLOCATION_INFO room{new_size};
  const bool reserved = ::SetFileInformationByHandle(file, FileAllocationInfo, &room, sizeof room);
  const DWORD failure = g_planted.reserve != 0 ? static_cast<DWORD>(g_planted.reserve) : reserved ? 0 : ::GetLastError();
  if (failure == 0) return {};
  if (failure == ERROR_DISK_FULL || failure == ERROR_HANDLE_DISK_FULL) {
    give_room_back(file, size);
    return {static_cast<int>(failure), std::system_category()};
  }
  ULARGE_INTEGER free{};
  if (!::GetDiskFreeSpaceExW(path.parent_path().empty() ? L"." : path.parent_path().c_str(), &free, nullptr, nullptr)) {
    return last_error();
  }
  const std::uint64_t room_left = g_planted.no_free_room ? 0 : free.QuadPart;
  const auto growth = static_cast<std::uint64_t>(new_size.QuadPart - size.QuadPart);
  if (room_left < growth + growth / 64 + 65536) return {ERROR_DISK_FULL, std::system_category()};
  return {};
}

}  // namespace

File create_unique_file(const std::filesystem::path& folder, const std::filesystem::path& prefix, std::filesystem::path& created,
                        std::error_code& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path path = platform::random_name(folder, prefix);
    File file(native_of(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN,
                                      nullptr)));
    if (file) {
      created = path;
      error.clear();
      return file;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  error = last_error();
  return {};
}

// The attributes and access list come with the move (replace_file()), so a
// new file lacks only the old one's other names.
std::error_code match_attributes(File&, const std::filesystem::path& target, Likeness& likeness) {
  likeness = {};
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? std::error_code() : last_error();
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return std::make_error_code(std::errc::is_a_directory);
  if (attributes & FILE_ATTRIBUTE_READONLY) return std::make_error_code(std::errc::permission_denied);
  const File file(native_of(::CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  BY_HANDLE_FILE_INFORMATION information{};
  likeness.one_name = !file || !::GetFileInformationByHandle(handle_of(file), &information) || information.nNumberOfLinks <= 1;
  return {};
}

void pause_before_retry() { ::Sleep(100); }

bool may_follow_link(const std::filesystem::path&) { return true; }

std::error_code replace_file(const std::filesystem::path& source, const std::filesystem::path& target,
                             Existing existing, const RetryPause& pause) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (existing == Existing::replace ? MOVEFILE_REPLACE_EXISTING : 0);
  for (int attempt = 1;; ++attempt) {
    // Shown only for the move itself: while a try waits, the file stays
    // hidden, as it was made.
    if (!::SetFileAttributesW(source.c_str(), attributes_for(target))) return last_error();
    // After the attributes: wine keeps both in the same Unix permissions.
    copy_access_list(source, target);
    if (::MoveFileExW(source.c_str(), target.c_str(), flags)) return {};
    const DWORD failure = ::GetLastError();
    ::SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_HIDDEN);
    if (!held_by_another_program(failure) || attempt == k_replace_attempts) {
      return {static_cast<int>(failure), std::system_category()};
    }
    pause();
  }
}

std::error_code write_in_place(const std::filesystem::path& source, const std::filesystem::path& target, bool& touched) {
  touched = false;
  File from(native_of(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
  if (!from) return last_error();
  File to(native_of(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr)));
  if (!to) return last_error();
  // Another save of the same file ends its write before this one starts.
  OVERLAPPED whole_file{};
  if (!::LockFileEx(handle_of(to), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole_file)) return last_error();
  LARGE_INTEGER size{};
  LARGE_INTEGER old_size{};
  if (!::GetFileSizeEx(handle_of(from), &size) || !::GetFileSizeEx(handle_of(to), &old_size)) return last_error();
  if (const std::error_code error = make_room(handle_of(to), target, old_size, size)) return error;
  touched = true;
  linescan::FileSource in(from);
  linescan::FileSink out(to);
  if (g_planted.write != 0 || !linescan::copy_all(in, out) || !::SetFilePointerEx(handle_of(to), size, nullptr, FILE_BEGIN) ||
      !::SetEndOfFile(handle_of(to))) {
    // Room reserved and not written is given back.
    if (::GetFileSizeEx(handle_of(to), &size)) give_room_back(handle_of(to), size);
    return std::make_error_code(std::errc::io_error);
  }
  if (const std::error_code error = to.sync()) return error;
  return to.close();
}

void plant_failures(const PlantedFailures& failures) { g_planted = failures; }

std::error_code sync_folder(const std::filesystem::path&) { return {}; }

// A file that Windows deletes when the process ends can never be kept, so a
// temporary file here always has a name; no signal ends a Windows program.
File platform::create_unnamed_file(const std::filesystem::path&, std::error_code& error) {
  error = std::make_error_code(std::errc::not_supported);
  return {};
}

std::error_code platform::give_name(File&, const std::filesystem::path&) {
  return std::make_error_code(std::errc::not_supported);
}

void platform::guard_against_signals(const std::filesystem::path&) {}
void platform::drop_signal_guard() {}

}  // namespace savefile
