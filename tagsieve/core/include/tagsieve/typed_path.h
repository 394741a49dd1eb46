#pragma once

#include <filesystem>

namespace tagsieve {

// The file that a path typed or pasted into a box names: the path as typed
// where something is there by that name, else the path meant. A terminal's
// copy adds blanks or a line end around it, which go; Windows's "Copier en
// tant que chemin d'accès" puts it in double quotes, a Linux file manager or
// terminal in single ones, which go too; a file manager's copy may give a
// file:// address (or file:/path), which is the local path it names, its %XX
// escapes decoded, or, with a host, that host's share; on Linux, ~/ is the
// home folder. A path with a NUL in it names nothing (an empty path). On
// Linux, a name that names nothing as typed, in UTF-8, is tried as the
// Windows-1252 bytes of its characters, where each has one: the name a file
// unpacked from a Windows archive keeps.
[[nodiscard]] std::filesystem::path typed_path(const std::filesystem::path& typed);

// A file handed to the window, on its command line or dropped on it: its
// path, whatever bytes its name holds, and the path that the path box shows
// for it, readable (its bytes as display_text() shows them).
struct GivenPath {
  std::filesystem::path path;
  std::filesystem::path shown;
};
[[nodiscard]] GivenPath given_path(const std::filesystem::path& path);

// The path that the path box names: the given file's own while the box
// shows it, else what the box holds.
[[nodiscard]] std::filesystem::path boxed_path(const std::filesystem::path& box, const GivenPath& given);

}  // namespace tagsieve
