#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "linescan/byte_stream.h"
#include "savefile/disk.h"

namespace savefile {

// What a commit came to.
struct Outcome {
  enum class Kind {
    saved,      // every name of the target reads the new content, durably
    unchanged,  // every name of the target reads the old content, and nothing is left
    // A write over the target failed midway, and its names read part of the
    // new content; the target's own name then took the whole of it (rescued)
    // or, where even that failed, whole_copy holds it (cut_short).
    rescued,
    cut_short,
  };
  Kind kind = Kind::unchanged;
  std::filesystem::path whole_copy;
};

// What becomes of a file found where a new file is to go.
enum class Existing { replace, keep };

// A new version of a file, written beside it and put in its place whole: a
// save that fails leaves the target as it was, and nothing of the save is
// left behind (file_replacement.cpp tells how).
//
// If the target is a symbolic link, the file it leads to is replaced and the
// link stays, where the system would follow the link. An existing target that
// may not be written is not replaced, even by root. A new target gets what
// any new file in its folder gets.
class FileReplacement {
 public:
  // Nothing when the target cannot be replaced: it is not a regular file, it
  // may not be written, a link on the way may not be followed, or no file can
  // be made for the new content.
  [[nodiscard]] static std::optional<FileReplacement> begin(const std::filesystem::path& target,
                                                            Disk& disk = system_disk());
  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&&) = delete;
  ~FileReplacement();

  // Where the new content is to be written.
  [[nodiscard]] linescan::ByteSink& sink() { return *copy_; }

  // Puts the new content in the target's place. With Existing::keep, a file
  // that has come to the target's place since begin() stays, and the commit
  // leaves everything unchanged.
  [[nodiscard]] Outcome commit(Existing existing = Existing::replace);

 private:
  FileReplacement(Disk& disk, std::filesystem::path target, Identity old)
      : disk_(&disk), target_(std::move(target)), old_(std::move(old)) {}

  [[nodiscard]] bool made_beside() const;
  [[nodiscard]] std::error_code name_copy();
  [[nodiscard]] Outcome put_in_place(Existing existing);
  [[nodiscard]] Outcome write_over();
  [[nodiscard]] Outcome rescue(OpenFile& target);

  Disk* disk_;
  std::filesystem::path target_;  // the file itself, its links followed
  Identity old_;                  // the target as begin() found it
  std::unique_ptr<OpenFile> copy_;
  std::filesystem::path copy_folder_;
  std::filesystem::path copy_name_;  // empty while it has none
  bool kept_ = false;                // the copy has taken the target's name, or holds the only whole new content
};

}  // namespace savefile
