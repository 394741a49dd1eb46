#pragma once

#include <filesystem>
#include <functional>
#include <system_error>

#include "linescan/file.h"
#include "savefile/placement.h"

// The platform's steps of putting a new version of a file in the old one's
// place, each with a POSIX and a Windows implementation; FileReplacement
// (savefile/file_replacement.h) takes them in order.
namespace savefile {

// Makes a new, empty file in folder, open for writing, named prefix and a few
// random characters; it never replaces a file. created gets its path. On
// Windows it is hidden, as a name that starts with a dot hides it elsewhere.
[[nodiscard]] linescan::File create_unique_file(const std::filesystem::path& folder, const std::filesystem::path& prefix,
                                      std::filesystem::path& created, std::error_code& error);

// Whether the system would follow the symbolic link at link for this
// process. Not where the link sits in a folder that anyone may write to but
// only owners may delete from (/tmp), unless this process or the folder's
// owner owns the link: a link that another user planted there could lead a
// save onto a file of this user's choosing. Always on Windows.
[[nodiscard]] bool may_follow_link(const std::filesystem::path& link);

// Readies file, which is to take target's place, by giving it what target
// has: its owner and group where this process may give them, its extended
// attributes (on Linux: its access list among them, and none where target
// has none) and its permissions; likeness says what file then holds of
// target's own (see placement.h). Where file's group or access list is not
// target's, the group is given no access at all rather than more than it
// had. When target does not exist, file gets what a new file in its folder
// would: the umask, or the folder's default access list. A setting that the
// file system cannot store is no error: a disk without modes gives every
// file the same. An error when target is not a regular file or may not be
// written (read-only).
[[nodiscard]] std::error_code match_attributes(linescan::File& file, const std::filesystem::path& target,
                                               Likeness& likeness);

// How long to wait before trying a replacement again: on Windows, by default,
// a tenth of a second; a test may do something else.
using RetryPause = std::function<void()>;
void pause_before_retry();

// What becomes of a file found where a new file is to go.
enum class Existing { replace, keep };

// Puts the file at source in target's place in one step or, where existing
// says keep, gives it target's name only while no file has that name. On
// Windows it takes target's attributes (hidden, system, archive, not indexed)
// and access list, or a new file's where there is no target, and stays hidden
// until it is in place. Where another program holds target open (Windows
// refuses to replace it then: an editor, a virus scanner), the replacement is
// tried again a few times, with pause between tries, before the error is
// returned.
[[nodiscard]] std::error_code replace_file(const std::filesystem::path& source, const std::filesystem::path& target,
                                           Existing existing = Existing::replace,
                                           const RetryPause& pause = pause_before_retry);

// Writes the content of the file at source over the file at target, where it
// is, so that every name of target reads it, and makes it durable. Saves of
// the same file take turns (a lock on target). Before target is touched, the
// room it grows by is reserved where the file system can, else checked
// against the free space: where the room is not there the write fails, target
// keeps its old content, and room reserved in part is given back. touched
// says whether target was written. On POSIX a file guarded against signals
// (source) is left by a signal only while target is being written, when it
// holds the only whole new content.
[[nodiscard]] std::error_code write_in_place(const std::filesystem::path& source, const std::filesystem::path& target,
                                             bool& touched);

// Makes folder's entries durable, so that a file renamed into it stays there
// after a crash. Nothing is needed on Windows.
[[nodiscard]] std::error_code sync_folder(const std::filesystem::path& folder);

// What a file system may answer that a test cannot get from a real disk: each
// step named fails with that error (an errno, or on Windows a system error
// code), 0 for none. A reservation fails after it was made, in part as a full
// disk leaves it; the write over the file fails before it writes anything;
// the mode is not set at all.
struct PlantedFailures {
  int reserve = 0;
  bool no_free_room = false;  // the free space the room is checked against
  int write = 0;
  int set_mode = 0;
};
// For tests only: the failures that every later step plants.
void plant_failures(const PlantedFailures& failures);

}  // namespace savefile
