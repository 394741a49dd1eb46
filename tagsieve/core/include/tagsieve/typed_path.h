#pragma once

#include <filesystem>

namespace tagsieve {

// The file that a path typed or pasted into a box names. Windows's "Copier
// en tant que chemin d'accès" gives a path in double quotes, and a file
// manager's copy may give a file:// address: a path wholly in double quotes
// is the path inside them, and a file:// address (its %XX escapes decoded)
// the local path it names, or, with a host, that host's share. Any other
// text is the path as it is, spaces and all.
[[nodiscard]] std::filesystem::path typed_path(const std::filesystem::path& typed);

}  // namespace tagsieve
