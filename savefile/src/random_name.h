#pragma once

#include <filesystem>

namespace savefile {

// folder / prefix followed by six random letters and digits: the name of a
// file that a save makes beside another.
[[nodiscard]] std::filesystem::path random_name(const std::filesystem::path& folder, const std::filesystem::path& prefix);

}  // namespace savefile
