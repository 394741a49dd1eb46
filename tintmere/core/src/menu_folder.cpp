#include "tintmere/menu_folder.h"

#include "linescan/file.h"
#include "savefile/file_replacement.h"
#include "tintmere/tweak_file.h"

namespace tintmere {

using messaging::quoted;

namespace fs = std::filesystem;

namespace {

std::string no_home_message() {
  return "Impossible de trouver votre dossier personnel : la variable HOME n'est pas définie et votre compte n'en "
         "indique aucun.";
}

std::string folder_unusable_message(const fs::path& folder) {
  return "Impossible de créer le dossier " + quoted(folder) + ".";
}

std::string shipped_unusable_message(const fs::path& shipped_template, const std::error_code& error) {
  return (linescan::is_missing(error) ? "Impossible de trouver le modèle livré " : "Impossible de lire le modèle livré ") +
         quoted(shipped_template) + " : réinstallez tweak-tools.";
}

std::string copy_failed_message(const fs::path& folder) {
  return "Impossible de copier le modèle twkdefaut.xml dans le dossier " + quoted(folder) +
         " : le dossier est en lecture seule ou le disque est plein.";
}

std::string template_unusable_message(const fs::path& copied_template) {
  return quoted(copied_template) + " n'est pas un fichier : supprimez-le pour retrouver le modèle livré.";
}

}  // namespace

std::optional<fs::path> prepare_menu_folder(const std::optional<fs::path>& documents, const fs::path& shipped_template,
                                            messaging::MessageSink& messages) {
  const auto fail = [&](const std::string& message) -> std::optional<fs::path> {
    messages.show_message(message);
    return std::nullopt;
  };
  if (!documents) return fail(no_home_message());
  const fs::path folder = *documents / k_menu_folder_name;
  // The documents folder may be made, and the work folder, but never what
  // holds them: a home folder that is not there is no place to start.
  std::error_code error;
  if (!fs::is_directory(documents->parent_path(), error)) return fail(folder_unusable_message(folder));
  for (const fs::path& each : {*documents, folder}) {
    fs::create_directory(each, error);
    if (!fs::is_directory(each, error)) return fail(folder_unusable_message(folder));
  }

  const fs::path copied = folder / k_template_name;
  if (fs::symlink_status(copied, error).type() != fs::file_type::not_found) {
    if (!fs::is_regular_file(copied, error)) return fail(template_unusable_message(copied));
    return folder;
  }
  linescan::File shipped = linescan::open_regular_file(shipped_template, error);
  if (error) return fail(shipped_unusable_message(shipped_template, error));
  linescan::FileSource source(shipped);
  if (!copy_whole(source, copied)) return fail(copy_failed_message(folder));
  return folder;
}

bool copy_whole(linescan::ByteSource& source, const fs::path& path) {
  std::optional<savefile::FileReplacement> copy = savefile::FileReplacement::begin(path);
  if (!copy) return false;
  if (linescan::copy_all(source, copy->sink()) && copy->commit(savefile::Existing::keep).kind == savefile::Outcome::Kind::saved) {
    return true;
  }
  // Two launches at once (a double click) both copy; the one that comes
  // second takes the first one's template, whole as its own would be.
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace tintmere
