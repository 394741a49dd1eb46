#pragma once

#include <filesystem>
#include <optional>

#include "linescan/file.h"

namespace tintmere {

// A new version of a file, written beside it and put in its place whole.
//
// The new content goes to a temporary file created exclusively in the target's
// folder; commit() makes it durable and puts it in the target's place in one
// step, so the target never exists half-written. If the target is a symbolic
// link, the file it leads to is replaced and the link stays. An existing target
// keeps its permissions (and, where this process may set it, its owner), and
// one that may not be written is not replaced. Until commit() succeeds the
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
  [[nodiscard]] linescan::File& file() { return file_; }

  // Makes the new content durable, closes it, puts it in the target's place
  // and makes that durable too. False if any step fails; the target then
  // keeps its old content unless the replacement itself was done.
  [[nodiscard]] bool commit();

 private:
  FileReplacement(linescan::File file, std::filesystem::path temporary, std::filesystem::path target);

  linescan::File file_;
  std::filesystem::path temporary_;
  std::filesystem::path target_;
  bool replaced_ = false;
};

}  // namespace tintmere
