#pragma once

#include <filesystem>
#include <system_error>

#include "linescan/file.h"

// What TemporaryFile asks of the platform beyond the public interface.
namespace savefile::platform {

using linescan::File;

// folder / prefix followed by six random letters and digits.
[[nodiscard]] std::filesystem::path random_name(const std::filesystem::path& folder, const std::filesystem::path& prefix);

// A new file in folder, open for writing, with no name: an error where the
// system or the folder's file system cannot make one.
[[nodiscard]] File create_unnamed_file(const std::filesystem::path& folder, std::error_code& error);

// Gives a file made by create_unnamed_file() the name path, which must not exist.
[[nodiscard]] std::error_code give_name(File& file, const std::filesystem::path& path);

// Has the file at path removed should SIGINT, SIGTERM or SIGHUP end the
// process, until drop_signal_guard(); one file at a time.
void guard_against_signals(const std::filesystem::path& path);
void drop_signal_guard();

}  // namespace savefile::platform
