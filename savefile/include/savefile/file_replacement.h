#pragma once

#include <filesystem>
#include <optional>

#include "linescan/file.h"
#include "savefile/temporary_file.h"

namespace savefile {

// A new version of a file, written beside it and put in its place whole: the
// target is never half-written by a save that fails, and nothing of a save is
// left behind.
//
// The new content goes to a temporary file in the target's folder; commit()
// makes it durable, then puts it in the target's place in one step where it
// can be given all that the target has: its one name, owner and group, mode,
// extended attributes and access list (placement.h says why). Elsewhere the
// target is written over where it is, in turns with any other save of it,
// once the room it grows by is sure; if that write still fails midway, the
// target's own name takes the whole new content. Until the commit the target
// is untouched, and the temporary file goes with the object, or with the
// process however it ends. Only where the system cannot make a file without a
// name (elsewhere than Linux), or in the moment between the naming and the
// move, or while the target is being written over, does a SIGKILL, which no
// process can catch, leave the temporary file, hidden: a dot and the target's
// name, and on Windows the hidden attribute.
//
// If the target is a symbolic link, the file it leads to is replaced and the
// link stays, but only where the system would follow the link (see
// may_follow_link()). An existing target that may not be written is not
// replaced, even by root. A new target gets what any new file in its folder
// gets.
class FileReplacement {
 public:
  // Nothing when the target cannot be replaced: it is not a regular file, it
  // may not be written, a link on the way may not be followed, or no
  // temporary file can be made beside it.
  [[nodiscard]] static std::optional<FileReplacement> begin(
      const std::filesystem::path& target,
      TemporaryFile::Naming naming = TemporaryFile::Naming::unnamed_where_possible);

  // Where the new content is to be written.
  [[nodiscard]] linescan::File& file() { return temporary_.file(); }

  // Makes the new content durable, closes it, puts it in the target's place
  // and makes that durable too. False if any step fails; the target then
  // keeps its old content unless the replacement itself was done. With
  // Existing::keep, a file that has come to the target's place since begin()
  // stays, and the commit fails.
  [[nodiscard]] bool commit(Existing existing = Existing::replace);

 private:
  FileReplacement(TemporaryFile temporary, std::filesystem::path target, Likeness likeness)
      : temporary_(std::move(temporary)), target_(std::move(target)), likeness_(likeness) {}

  TemporaryFile temporary_;
  std::filesystem::path target_;
  Likeness likeness_;
};

}  // namespace savefile
