#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "linescan/byte_stream.h"

// The few things a save asks of the platform's files, and nothing of how a
// save uses them (file_replacement.cpp tells that). Each platform answers them
// once, on its real disks; the tests answer them in memory too, with any call
// failing and the power going after any call.
namespace savefile {

// What a file is, as far as a save needs to know it; made as Identity{},
// nothing but what is set: missing, not writable, no size, no names.
struct Identity {
  enum class Kind { missing, regular, other };
  Kind kind;
  // This process may write the file, and its owner has not made it read-only.
  bool writable;
  std::uintmax_t size;
  // How many names (hard links) the file has; 0 where that could not be read.
  std::uintmax_t names;
  // Who owns the file, and who may do what with it (permissions, access list,
  // extended attributes), as the platform spells them: two files are alike
  // where these are equal. Nothing where they could not be read.
  std::optional<std::string> owner;
  std::optional<std::string> access;
};

// What a file of the platform's may answer besides the system's own errors:
// another program holds the file, and may let go of it soon.
[[nodiscard]] inline std::error_code held_by_another() {
  return std::make_error_code(std::errc::resource_unavailable_try_again);
}

// An open file; it is closed when the object goes, if close() has not been
// called.
class OpenFile : public linescan::ByteSource, public linescan::ByteSink {
 public:
  // Makes what was written durable.
  [[nodiscard]] virtual std::error_code sync() = 0;
  // Some file systems report a write's failure only here.
  [[nodiscard]] virtual std::error_code close() = 0;
  [[nodiscard]] virtual Identity identify(std::error_code& error) = 0;
  // Gives this file what it can of the identity of the file at old, as
  // identify() read it; a file whose owner or access lists cannot be those of
  // old gives its group no access at all, rather than more than old gave it.
  // Where there is no file at old, it gets the permissions of a file that a
  // program makes there: its folder's default access list, or the umask.
  virtual void take_identity(const std::filesystem::path& old, const Identity& identity) = 0;
  // An exclusive lock on the whole file, or held_by_another() at once.
  [[nodiscard]] virtual std::error_code lock() = 0;
  // Makes this file's content source's, sharing its blocks where the file
  // system can: std::errc::not_supported where it cannot, before anything
  // was changed.
  [[nodiscard]] virtual std::error_code clone_from(OpenFile& source) = 0;
  // Reserves room on the disk for the file to be size bytes long, without
  // changing its size, nor giving back room where it is longer:
  // std::errc::not_supported where the file system cannot.
  [[nodiscard]] virtual std::error_code reserve(std::uintmax_t size) = 0;
  // The room left on this file's disk, in bytes.
  [[nodiscard]] virtual std::uintmax_t free_room(std::error_code& error) = 0;
  // Cuts or extends the file to size bytes, giving back any room reserved past them.
  [[nodiscard]] virtual std::error_code set_size(std::uintmax_t size) = 0;
};

// A new file, and its name: empty while it has none.
struct NewFile {
  std::unique_ptr<OpenFile> file;
  std::filesystem::path name;
};

// What a folder's entries may be after a power cut is what it was at its
// last sync_folder(); a file's bytes, what they were at its last sync().
class Disk {
 public:
  virtual ~Disk() = default;
  // Where the symbolic link at path leads; empty when path is no link. An
  // error where the system would not follow it for this process.
  [[nodiscard]] virtual std::filesystem::path read_link(const std::filesystem::path& path, std::error_code& error) = 0;
  // What is at path: Kind::missing when nothing is, and no error.
  [[nodiscard]] virtual Identity identify(const std::filesystem::path& path, std::error_code& error) = 0;
  // A new, empty file in folder, open for reading and writing, that no other
  // file's name can lead to: without a name where the system can make one,
  // else named prefix and a few random characters, hidden, and guarded: a
  // signal that ends the process (SIGINT, SIGTERM, SIGHUP) removes it first,
  // until drop_guard(). One file is guarded at a time.
  [[nodiscard]] virtual NewFile create(const std::filesystem::path& folder, const std::filesystem::path& prefix,
                                       std::error_code& error) = 0;
  // Names a file that create() made without a name in folder, and guards
  // it, as create() names and guards one; returns the name.
  [[nodiscard]] virtual std::filesystem::path give_name(OpenFile& file, const std::filesystem::path& folder,
                                                        const std::filesystem::path& prefix, std::error_code& error) = 0;
  // The user's folder for temporary files.
  [[nodiscard]] virtual std::filesystem::path temporary_folder() = 0;
  enum class Access { read, write };
  // An existing file, opened for reading, or for writing where it is; for
  // writing, held_by_another() where another program holds it.
  [[nodiscard]] virtual std::unique_ptr<OpenFile> open(const std::filesystem::path& path, Access access,
                                                       std::error_code& error) = 0;
  // Puts the closed file at from in to's place in one step, keeping what
  // to has of its own that the platform keeps with it; with replace false,
  // only where nothing is at to. held_by_another() where another program
  // holds to.
  [[nodiscard]] virtual std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to,
                                               bool replace) = 0;
  [[nodiscard]] virtual std::error_code remove(const std::filesystem::path& path) = 0;
  // Makes the folder's entries durable, as they are now.
  [[nodiscard]] virtual std::error_code sync_folder(const std::filesystem::path& folder) = 0;
  // Waits a little before a call that another program's hold refused is made again.
  virtual void pause() = 0;
  // Leaves the guarded file to signals. Between hold_signals() and
  // release_signals() a signal that ends the process waits, and is acted on
  // at the release.
  virtual void drop_guard() = 0;
  virtual void hold_signals() = 0;
  virtual void release_signals() = 0;
};

// The folder that holds path.
[[nodiscard]] inline std::filesystem::path folder_of(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// The disks of the system this program runs on.
[[nodiscard]] Disk& system_disk();

}  // namespace savefile
