#include "tintmere/menu_folder.h"

#include <span>

#include "linescan/file.h"
#include "savefile/file_replacement.h"
#include "tintmere/tweak_file.h"

namespace tintmere {

namespace fs = std::filesystem;

namespace {

// A path the XDG rules accept: an absolute one. A relative one counts as unset.
std::optional<fs::path> absolute(std::string_view text) {
  if (text.empty()) return std::nullopt;
  fs::path path(text);
  if (!path.is_absolute()) return std::nullopt;
  return path;
}

// The bytes of a small text file, or nothing when it cannot be read.
std::optional<std::string> read_small_file(const fs::path& path) {
  constexpr std::size_t k_most = 1 << 16;
  std::error_code error;
  linescan::File file = linescan::open_regular_file(path, error);
  if (error) return std::nullopt;
  std::string text(k_most, '\0');
  std::size_t used = 0;
  while (used < k_most) {
    const std::ptrdiff_t count = file.read(std::span(text).subspan(used));
    if (count < 0) return std::nullopt;
    if (count == 0) break;
    used += static_cast<std::size_t>(count);
  }
  text.resize(used);
  return text;
}

// The folder that a line XDG_DOCUMENTS_DIR="…" names, as xdg-user-dirs
// writes it: "$HOME", "$HOME/…" or an absolute path, in double quotes, with
// backslash escapes. Nothing for any other line.
std::optional<fs::path> documents_in(std::string_view line, const fs::path& home) {
  constexpr std::string_view k_key = "XDG_DOCUMENTS_DIR=\"";
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
  if (!line.starts_with(k_key) || line.size() < k_key.size() + 1 || !line.ends_with('"')) return std::nullopt;
  line = line.substr(k_key.size(), line.size() - k_key.size() - 1);
  std::string value;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) ++i;
    value += line[i];
  }
  constexpr std::string_view k_home = "$HOME";
  if (value == k_home) return home;
  if (value.starts_with("$HOME/")) return home / value.substr(k_home.size() + 1);
  return absolute(value);
}

fs::path documents_folder(const Session& session, const fs::path& home) {
  const fs::path config = absolute(session.config_home).value_or(home / ".config");
  std::optional<fs::path> documents;
  if (const auto dirs = read_small_file(config / "user-dirs.dirs")) {
    std::string_view rest = *dirs;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      // The last line that names the folder counts, as when a shell reads the file.
      if (auto named = documents_in(rest.substr(0, end), home)) documents = std::move(named);
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
  }
  return documents.value_or(home / "Documents");
}

// In French quotation marks, held to the name by no-break spaces.
std::string quoted(const fs::path& path) { return "«\u00A0" + path.string() + "\u00A0»"; }

}  // namespace

std::string no_home_message() {
  return "Impossible de trouver votre dossier personnel : la variable HOME n'est pas définie et votre compte n'en "
         "indique aucun.";
}

std::string folder_unusable_message(const fs::path& folder) {
  return "Impossible de créer le dossier " + quoted(folder) + ".";
}

std::string shipped_missing_message(const fs::path& shipped_template) {
  return "Impossible de trouver le modèle livré " + quoted(shipped_template) + " : réinstallez tweak-tools.";
}

std::string copy_failed_message(const fs::path& folder) {
  return "Impossible de copier le modèle twkdefaut.xml dans le dossier " + quoted(folder) +
         " : le dossier est en lecture seule ou le disque est plein.";
}

std::string template_unusable_message(const fs::path& copied_template) {
  return quoted(copied_template) + " n'est pas un fichier : supprimez-le pour retrouver le modèle livré.";
}

std::optional<fs::path> menu_folder(const Session& session) {
  std::optional<fs::path> home = absolute(session.home);
  if (!home) home = absolute(session.account_home);
  if (!home) return std::nullopt;
  return documents_folder(session, *home) / k_menu_folder_name;
}

std::optional<fs::path> prepare_menu_folder(const Session& session, const fs::path& shipped_template,
                                            messaging::MessageSink& messages) {
  const auto fail = [&](const std::string& message) -> std::optional<fs::path> {
    messages.show_message(message);
    return std::nullopt;
  };
  const std::optional<fs::path> folder = menu_folder(session);
  if (!folder) return fail(no_home_message());
  // The documents folder may be made, and the work folder, but never what
  // holds them: a home folder that is not there is no place to start.
  std::error_code error;
  const fs::path documents = folder->parent_path();
  if (!fs::is_directory(documents.parent_path(), error)) return fail(folder_unusable_message(*folder));
  for (const fs::path& each : {documents, *folder}) {
    fs::create_directory(each, error);
    if (!fs::is_directory(each, error)) return fail(folder_unusable_message(*folder));
  }

  const fs::path copied = *folder / k_template_name;
  if (fs::symlink_status(copied, error).type() != fs::file_type::not_found) {
    if (!fs::is_regular_file(copied, error)) return fail(template_unusable_message(copied));
    return folder;
  }
  linescan::File shipped = linescan::open_regular_file(shipped_template, error);
  if (error) return fail(shipped_missing_message(shipped_template));
  linescan::FileSource source(shipped);
  if (!copy_whole(source, copied)) return fail(copy_failed_message(*folder));
  return folder;
}

bool copy_whole(linescan::ByteSource& source, const fs::path& path) {
  std::optional<savefile::FileReplacement> copy = savefile::FileReplacement::begin(path);
  if (!copy) return false;
  linescan::FileSink sink(copy->file());
  return linescan::copy_all(source, sink) && copy->commit();
}

}  // namespace tintmere
