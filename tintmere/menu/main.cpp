// tintmere-menu: how the desktop's menu starts the colour tool. The tool
// works in the folder it starts in; from the menu, that is the user's work
// folder, which this prepares (see tintmere/menu_folder.h) before it becomes
// the tool. Started from no terminal, it says in a message box whatever
// stops it.

#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QStandardPaths>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "qtkit/guarded_application.h"
#include "qtkit/message_box.h"
#include "tintmere/menu_folder.h"

namespace {

namespace fs = std::filesystem;

// The documents folder that the desktop names (XDG_DOCUMENTS_DIR in
// user-dirs.dirs, as xdg-user-dir prints it), or ~/Documents where it names
// none; the home folder is HOME's or, where HOME names no absolute path, the
// user's account's. Nothing when there is no home folder at all.
std::optional<fs::path> documents_folder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || !fs::path(home).is_absolute()) {
    const passwd* account = ::getpwuid(::getuid());
    if (account == nullptr || account->pw_dir == nullptr || !fs::path(account->pw_dir).is_absolute()) return std::nullopt;
    ::setenv("HOME", account->pw_dir, 1);
  }
  // In the file system's own bytes, as Qt decoded them from it.
  return fs::path(QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  if (!qtkit::check_display("tintmere")) return 1;
  // The display is tried before anything is made: one that does not answer
  // is said, and no work folder is left behind for nothing.
  const auto application = qtkit::open_application<QApplication>("tintmere", argc, argv);
  QApplication::setApplicationName("tintmere");
  // A copy past the file-size limit fails and says so, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  qtkit::MessageBoxSink messages;
  std::error_code error;
  const fs::path here = fs::read_symlink("/proc/self/exe", error).parent_path();
  const fs::path shipped = (here / TINTMERE_SHIPPED_TEMPLATE).lexically_normal();
  const auto folder = tintmere::prepare_menu_folder(documents_folder(), shipped, messages);
  if (!folder) return 1;
  const fs::path program = here / TINTMERE_PROGRAM;
  if (::chdir(folder->c_str()) == 0) ::execl(program.c_str(), "tintmere", static_cast<char*>(nullptr));
  messages.show_message("Impossible de lancer le programme « " + program.string() + " ».");
  return 1;
}
