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

// What the launcher knows of the user's session: HOME and XDG_CONFIG_HOME as
// the environment has them (empty when unset), and the home folder that the
// user's account names, for a session without HOME.
struct Session {
  std::string home;
  std::string config_home;
  std::string account_home;
};

// The work folder: "Tintmere" in the documents folder that the user's
// user-dirs.dirs names (XDG_DOCUMENTS_DIR), or in ~/Documents where it names
// none. A relative HOME or XDG_CONFIG_HOME counts as unset, as the XDG rules
// say. Nothing when no home folder is to be found.
[[nodiscard]] std::optional<std::filesystem::path> menu_folder(const Session& session);

// Makes the work folder where need be and, the first time, gives it a copy of
// the shipped template, whole or not at all. A template already there, the
// user's own or an earlier copy, is never replaced. Only the documents folder
// and the work folder are ever made, and only inside a folder that exists.
// The work folder, or nothing after a message that says why not.
[[nodiscard]] std::optional<std::filesystem::path> prepare_menu_folder(const Session& session,
                                                                       const std::filesystem::path& shipped_template,
                                                                       messaging::MessageSink& messages);

// Copies all of source to a new file at path: the file appears whole, with
// path's name, or not at all. False when a read or a write fails.
[[nodiscard]] bool copy_whole(linescan::ByteSource& source, const std::filesystem::path& path);

// The messages, for a folder or file shown as it is named.
[[nodiscard]] std::string no_home_message();
[[nodiscard]] std::string folder_unusable_message(const std::filesystem::path& folder);
[[nodiscard]] std::string shipped_missing_message(const std::filesystem::path& shipped_template);
[[nodiscard]] std::string copy_failed_message(const std::filesystem::path& folder);
[[nodiscard]] std::string template_unusable_message(const std::filesystem::path& copied_template);

}  // namespace tintmere
