#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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

// Makes a new, empty file in folder, open for writing, named prefix and a few
// random characters; it never replaces a file. created gets its path. On
// Windows it is hidden, as a name that starts with a dot hides it elsewhere.
[[nodiscard]] File create_unique_file(const std::filesystem::path& folder, const std::filesystem::path& prefix,
                                      std::filesystem::path& created, std::error_code& error);

// Readies file, which is to take target's place, by giving it what target
// has: its permissions and, where this process may set it, its owner. When
// target does not exist, file gets what a new file would. An error when
// target is not a regular file or may not be written (read-only).
[[nodiscard]] std::error_code match_attributes(File& file, const std::filesystem::path& target);

// How long to wait before trying a replacement again: by default a tenth of a
// second; a test may do something else.
using RetryPause = std::function<void()>;
void pause_before_retry();

// Puts the file at source in target's place in one step; on Windows it first
// takes target's attributes (hidden, system, archive, not indexed) and access
// list, or a new file's where there is no target. Where another
// program holds target open (Windows refuses to replace it then: an editor, a
// virus scanner), the replacement is tried again a few times, with pause
// between tries, before the error is returned.
[[nodiscard]] std::error_code replace_file(const std::filesystem::path& source, const std::filesystem::path& target,
                                           const RetryPause& pause = pause_before_retry);

// A new file in a folder, made to take the place of another there. Where the
// system allows it (Linux's O_TMPFILE) it has no name until replace() gives
// it one, so it vanishes with the process however the process ends. Elsewhere
// it is named prefix and a few random characters, and removed if SIGINT,
// SIGTERM or SIGHUP ends the process first (SIGKILL cannot be caught; the
// handler serves one such file at a time). A file that has not taken its
// place is removed when the object goes.
class TemporaryFile {
 public:
  enum class Naming { unnamed_where_possible, named };

  [[nodiscard]] static TemporaryFile create(const std::filesystem::path& folder, const std::filesystem::path& prefix,
                                            std::error_code& error, Naming naming = Naming::unnamed_where_possible);
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile();

  [[nodiscard]] File& file() { return file_; }

  // Closes the file and puts it in target's place in one step, as
  // replace_file() does, first naming it in its folder if it has no name.
  [[nodiscard]] std::error_code replace(const std::filesystem::path& target,
                                        const RetryPause& pause = pause_before_retry);

 private:
  TemporaryFile(std::filesystem::path folder, std::filesystem::path prefix);

  File file_;
  std::filesystem::path folder_;
  std::filesystem::path prefix_;
  std::filesystem::path name_;  // empty while it has none
  bool placed_ = false;
};

// Makes folder's entries durable, so that a file renamed into it stays there
// after a crash. Nothing is needed on Windows.
[[nodiscard]] std::error_code sync_folder(const std::filesystem::path& folder);

}  // namespace linescan
