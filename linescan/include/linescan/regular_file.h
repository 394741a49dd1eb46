#pragma once

#include <filesystem>

#include "linescan/unique_fd.h"

namespace linescan {

// Opens `path` for reading if it is a regular file, and returns an invalid
// descriptor otherwise. The open never blocks (a named pipe without a writer
// would wait forever) and the file's type is checked on the opened descriptor,
// so a folder, a device or a pipe is refused whatever it was renamed to.
[[nodiscard]] UniqueFd open_regular_file(const std::filesystem::path& path);

}  // namespace linescan
