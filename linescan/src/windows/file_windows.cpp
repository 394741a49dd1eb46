#include <windows.h>

#include <algorithm>
#include <climits>
#include <string_view>

#include "linescan/file.h"

namespace linescan {

namespace {

std::error_code last_error() { return {static_cast<int>(::GetLastError()), std::system_category()}; }

HANDLE handle_of(File::Native native) { return reinterpret_cast<HANDLE>(native); }
File::Native native_of(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? File::k_invalid : reinterpret_cast<File::Native>(handle);
}

DWORD chunk_of(std::size_t size) { return static_cast<DWORD>(std::min<std::size_t>(size, INT_MAX)); }

}  // namespace

std::ptrdiff_t File::read(std::span<char> buffer) {
  DWORD count = 0;
  if (!::ReadFile(handle_of(native_), buffer.data(), chunk_of(buffer.size()), &count, nullptr)) return -1;
  return count;
}

std::ptrdiff_t File::write(std::span<const char> bytes) {
  DWORD count = 0;
  if (!::WriteFile(handle_of(native_), bytes.data(), chunk_of(bytes.size()), &count, nullptr) || count == 0) return -1;
  return count;
}

std::error_code File::sync() { return ::FlushFileBuffers(handle_of(native_)) ? std::error_code() : last_error(); }

bool File::is_same_file(const std::filesystem::path& path) const {
  // Opened for no access at all, which another program's hold never refuses;
  // a folder opens too, and is no file of ours.
  const File other(native_of(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
  BY_HANDLE_FILE_INFORMATION mine{};
  BY_HANDLE_FILE_INFORMATION theirs{};
  return other && ::GetFileInformationByHandle(handle_of(native_), &mine) &&
         ::GetFileInformationByHandle(handle_of(other.native_), &theirs) &&
         mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber && mine.nFileIndexHigh == theirs.nFileIndexHigh &&
         mine.nFileIndexLow == theirs.nFileIndexLow;
}

// Windows's only way to the disk, FlushFileBuffers, waits for it.
void File::start_writeback() {}

std::error_code File::close() {
  if (!is_open()) return {};
  return ::CloseHandle(handle_of(std::exchange(native_, k_invalid))) ? std::error_code() : last_error();
}

File open_regular_file(const std::filesystem::path& path, std::error_code& error) {
  // Others may go on reading, writing, even deleting the file meanwhile, as
  // they could with any other program that only reads it. A folder cannot be
  // opened this way at all.
  File file(native_of(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) {
    error = last_error();
    // Windows refuses to open a folder as a file with "access denied".
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      error = std::make_error_code(std::errc::is_a_directory);
    }
    // A device's name (CON, C:\CON) that would not open is still no file:
    // its full path is the device's own, \\.\CON.
    wchar_t full[8] = {};
    if (::GetFullPathNameW(path.c_str(), 8, full, nullptr) < 8 && std::wstring_view(full).starts_with(L"\\\\.\\")) {
      error = std::make_error_code(std::errc::not_supported);
    }
    return {};
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (::GetFileType(handle_of(file.native())) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(handle_of(file.native()), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = std::make_error_code(std::errc::not_supported);
    return {};
  }
  error.clear();
  return file;
}

bool is_missing(const std::error_code& error) {
  if (error.category() == std::generic_category()) {
    return error == std::errc::is_a_directory || error == std::errc::not_supported;
  }
  switch (error.value()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
      return true;
    default:
      return false;
  }
}

}  // namespace linescan
