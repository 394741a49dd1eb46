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
// home folder. A path with a NUL in it names nothing (an empty path).
[[nodiscard]] std::filesystem::path typed_path(const std::filesystem::path& typed);

}  // namespace tagsieve
