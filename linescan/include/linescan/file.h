#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>
#include <utility>

// The tools' only contact with the platform's files: one interface, with a
// POSIX and a Windows implementation. Files are always binary; any text-mode
// translation is the piece reader's and the text writer's own.
namespace linescan {

// An open file, closed when the object goes.
class File {
 public:
  // A POSIX file descriptor or a Windows HANDLE, held as an integer.
  using Native = std::intptr_t;
  static constexpr Native k_invalid = -1;

  File() = default;
  explicit File(Native native) : native_(native) {}
  File(File&& other) noexcept : native_(std::exchange(other.native_, k_invalid)) {}
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  [[nodiscard]] bool is_open() const { return native_ != k_invalid; }
  explicit operator bool() const { return is_open(); }
  [[nodiscard]] Native native() const { return native_; }

  // Reads up to buffer.size() bytes: the count read, 0 at the end of the
  // file, or -1 on a read error.
  [[nodiscard]] std::ptrdiff_t read(std::span<char> buffer);
  // Writes some of bytes, at least one: the count written, or -1 on an error.
  [[nodiscard]] std::ptrdiff_t write(std::span<const char> bytes);
  // Makes what was written durable.
  [[nodiscard]] std::error_code sync();
  // Asks the system to start putting what was written on the disk, without
  // waiting for it, so that a later sync() has less left to wait for. Does
  // nothing where the system takes no such request.
  void start_writeback();
  // Whether the file at path, its links followed, is this very file: the
  // same file by any name, hard links included.
  [[nodiscard]] bool is_same_file(const std::filesystem::path& path) const;
  // Closes the file now. The result matters for a file just written: some
  // file systems report write errors only here.
  [[nodiscard]] std::error_code close();

 private:
  Native native_ = k_invalid;
};

// Opens path for reading if it is a regular file. A folder, a device or a
// pipe is refused, and the open never waits for a pipe's writer; so is a file
// of the kernel's own file systems (Linux's /proc, /sys and their kin), whose
// reads may never end.
[[nodiscard]] File open_regular_file(const std::filesystem::path& path, std::error_code& error);

// Whether an error of open_regular_file() means that there is no file to read
// at the path (nothing there, a folder, a device, a pipe), rather than a file
// that is there but may not or cannot be read (its permissions, another
// program's hold, a file of the kernel's).
[[nodiscard]] bool is_missing(const std::error_code& error);

}  // namespace linescan
