#pragma once

#include <filesystem>
#include <optional>

#include "linescan/file.h"

namespace tintmere {

// A new version of a file, written beside it and put in its place whole.
//
// The new content goes to a temporary file in the target's folder, which
// nothing can leave behind (see linescan::TemporaryFile); commit() makes it
// durable and puts it in the target's place in one step, so the target never
// exists half-written. If the target is a symbolic
// link, the file it leads to is replaced and the link stays. An existing target
// keeps its permissions (and, where this process may set it, its owner), and
// one that may not be written is not replaced. Until commit() succeeds the
// target is untouched; the temporary file goes with the object.
class FileReplacement {
 public:
  // Nothing when the target cannot be replaced: it is not a regular file, it
  // may not be written, or no temporary file can be made beside it.
  [[nodiscard]] static std::optional<FileReplacement> begin(
      const std::filesystem::path& target,
      linescan::TemporaryFile::Naming naming = linescan::TemporaryFile::Naming::unnamed_where_possible);

  // Where the new content is to be written.
  [[nodiscard]] linescan::File& file() { return temporary_.file(); }

  // Makes the new content durable, closes it, puts it in the target's place
  // and makes that durable too. False if any step fails; the target then
  // keeps its old content unless the replacement itself was done.
  [[nodiscard]] bool commit();

 private:
  FileReplacement(linescan::TemporaryFile temporary, std::filesystem::path target)
      : temporary_(std::move(temporary)), target_(std::move(target)) {}

  linescan::TemporaryFile temporary_;
  std::filesystem::path target_;
};

}  // namespace tintmere
