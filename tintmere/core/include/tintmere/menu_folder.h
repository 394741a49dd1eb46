#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "linescan/byte_stream.h"
#include "messaging/message_sink.h"

// Started from the desktop's menu, the colour tool needs a folder of the
// user's own that holds a template: the folder is "Tintmere" in the user's
// documents folder, where the first launch puts a copy of the shipped
// template and the user finds the Tweak.xml each save writes.
namespace tintmere {

inline constexpr std::string_view k_menu_folder_name = "Tintmere";

// Makes the work folder, "Tintmere" in the user's documents folder, where
// need be and, the first time, gives it a copy of the shipped template, whole
// or not at all. A template already there, the user's own or an earlier copy,
// is never replaced. Only the documents folder and the work folder are ever
// made, and only inside a folder that exists. The work folder, or nothing
// after a message that says why not; no documents folder means that no home
// folder was to be found.
[[nodiscard]] std::optional<std::filesystem::path> prepare_menu_folder(
    const std::optional<std::filesystem::path>& documents, const std::filesystem::path& shipped_template,
    messaging::MessageSink& messages);

// Copies all of source to a new file at path: the file appears whole, with
// path's name, or not at all, and never in place of a file that another
// program put there meanwhile. True when path then holds a file, this copy
// or the one that another launch, started at the same time, put there
// first; false when a read or a write fails and there is none.
[[nodiscard]] bool copy_whole(linescan::ByteSource& source, const std::filesystem::path& path);

}  // namespace tintmere
