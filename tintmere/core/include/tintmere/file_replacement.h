#pragma once

#include <filesystem>
#include <optional>

#include "linescan/unique_fd.h"

namespace tintmere {

// A new version of a file, written beside it and put in its place whole.
//
// The new content goes to a temporary file created exclusively in the target's
// folder; commit() syncs it to the disk and renames it over the target, so the
// target never exists half-written. If the target is a symbolic link, the file
// it leads to is replaced and the link stays. An existing target keeps its
// permission bits (and, where this process may set them, its owner), and one
// this process may not write is not replaced. Until commit() succeeds the
// target is untouched; the temporary file goes with the object.
class FileReplacement {
 public:
  // Nothing when the target cannot be replaced: it is not a regular file, it
  // may not be written, or no temporary file can be made beside it.
  [[nodiscard]] static std::optional<FileReplacement> begin(const std::filesystem::path& target);

  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&&) = delete;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  // Where the new content is to be written.
  [[nodiscard]] int fd() const { return file_.get(); }

  // Syncs and closes the new content, puts it in the target's place and syncs
  // the folder. False if any step fails; the target then keeps its old content
  // unless the rename itself was done.
  [[nodiscard]] bool commit();

 private:
  FileReplacement(linescan::UniqueFd file, std::filesystem::path temporary, std::filesystem::path target);

  linescan::UniqueFd file_;
  std::filesystem::path temporary_;
  std::filesystem::path target_;
  bool renamed_ = false;
};

}  // namespace tintmere
