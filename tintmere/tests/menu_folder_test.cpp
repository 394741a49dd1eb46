#include "tintmere/menu_folder.h"

#include <gtest/gtest.h>

#include <functional>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "test_support/scripted_io.h"

namespace {

namespace fs = std::filesystem;
using test_support::write_file;
using Tree = std::vector<std::string>;

const std::string k_shipped = "<Tweaks>\n" + std::string(200000, 'w') + "\n</Tweaks>\n";

// A launch with the documents folder dir/home/Docs and the template shipped at
// dir/shipped.xml: the work folder made, or the one message shown.
std::string launch(const fs::path& dir, const std::optional<fs::path>& documents) {
  test_support::RecordingMessages messages;
  const auto folder = tintmere::prepare_menu_folder(documents, dir / "shipped.xml", messages);
  if (folder && messages.shown.empty()) return folder->lexically_relative(dir).generic_string();
  return messages.shown.size() == 1 && !folder ? messages.shown.front() : "messages: " + std::to_string(messages.shown.size());
}

// The first launch copies the shipped template, whole; later ones keep it,
// the user's edits too.
// The menu and its launcher are the Linux desktop's.
#define SKIP_ON_WINDOWS() \
  if (test_support::k_on_windows) GTEST_SKIP() << "no desktop menu launcher on Windows"

TEST(PrepareMenuFolder, CopiesTheShippedTemplateOnceAndKeepsTheUsersOwn) {
  SKIP_ON_WINDOWS();
  test_support::TempDir dir;
  write_file(dir / "shipped.xml", k_shipped);
  fs::create_directory(dir / "home");
  const fs::path copied = dir / "home/Docs/Tintmere/twkdefaut.xml";
  EXPECT_EQ(launch(dir.path(), dir / "home/Docs"), "home/Docs/Tintmere");
  EXPECT_EQ(test_support::list_tree(dir.path()),
            (Tree{"home", "home/Docs", "home/Docs/Tintmere", "home/Docs/Tintmere/twkdefaut.xml", "shipped.xml"}));
  EXPECT_EQ(test_support::read_file(copied), k_shipped);
  write_file(copied, "edited");
  EXPECT_EQ(launch(dir.path(), dir / "home/Docs"), "home/Docs/Tintmere");
  EXPECT_EQ(test_support::read_file(copied), "edited");
}

// Each message the launcher chooses, and nothing made outside the home folder.
TEST(PrepareMenuFolder, SaysWhatStandsInTheWay) {
  SKIP_ON_WINDOWS();
  const struct {
    std::function<void(const fs::path&)> arrange;  // in a folder that holds the shipped template and home/
    std::string message;                          // with DIR for that folder
    bool unprivileged = false;
  } cases[] = {
      {[](const fs::path& dir) { write_file(dir / "home/Docs", ""); },
       "Impossible de créer le dossier «\u00A0DIR/home/Docs/Tintmere\u00A0»."},
      {[](const fs::path& dir) { fs::remove(dir / "home"); },
       "Impossible de créer le dossier «\u00A0DIR/home/Docs/Tintmere\u00A0»."},
      {[](const fs::path& dir) { fs::create_directories(dir / "home/Docs/Tintmere"), fs::permissions(dir / "home/Docs/Tintmere", fs::perms(0555)); },
       "Impossible de copier le modèle twkdefaut.xml dans le dossier «\u00A0DIR/home/Docs/Tintmere\u00A0» : le dossier "
       "est en lecture seule ou le disque est plein.", true},
      {[](const fs::path& dir) { fs::create_directories(dir / "home/Docs/Tintmere"), fs::remove(dir / "shipped.xml"); },
       "Impossible de trouver le modèle livré «\u00A0DIR/shipped.xml\u00A0» : réinstallez tweak-tools."},
      {[](const fs::path& dir) { fs::create_directories(dir / "home/Docs/Tintmere"), fs::permissions(dir / "shipped.xml", fs::perms::none); },
       "Impossible de lire le modèle livré «\u00A0DIR/shipped.xml\u00A0» : réinstallez tweak-tools.", true},
      {[](const fs::path& dir) { fs::create_directories(dir / "home/Docs/Tintmere/twkdefaut.xml/x"); },
       "«\u00A0DIR/home/Docs/Tintmere/twkdefaut.xml\u00A0» n'est pas un fichier : supprimez-le pour retrouver le modèle "
       "livré."},
      {nullptr,
       "Impossible de trouver votre dossier personnel : la variable HOME n'est pas définie et votre compte n'en indique "
       "aucun."},
  };
  for (const auto& c : cases) {
    test_support::TempDir top;
    const fs::path dir = top / "d";
    fs::create_directories(dir / "home");
    write_file(dir / "shipped.xml", k_shipped);
    if (c.arrange) c.arrange(dir);
    const Tree before = test_support::list_tree(dir);
    const auto run = [&] { return launch(dir, c.arrange ? std::optional(dir / "home/Docs") : std::nullopt); };
    std::string expected = c.message;
    if (const auto at = expected.find("DIR"); at != std::string::npos) expected.replace(at, 3, dir.string());
    EXPECT_EQ(c.unprivileged ? test_support::run_unprivileged(dir, run) : run(), expected);
    EXPECT_EQ(test_support::list_tree(dir), before);
  }
}

// A copy that cannot be read to its end leaves no template, so the next
// launch copies again; one that another launch beats to the name leaves that
// launch's template.
TEST(CopyWhole, LeavesNoFileOfItsOwnUnlessWholeAndFirst) {
  test_support::TempDir dir;
  test_support::ScriptedSource cut(k_shipped, 4096, 10000);
  EXPECT_FALSE(tintmere::copy_whole(cut, dir / "twkdefaut.xml"));
  EXPECT_EQ(test_support::list_tree(dir.path()), Tree{});

  struct Overtaken final : linescan::ByteSource {
    fs::path path;
    std::ptrdiff_t read_some(std::span<char>) override { return write_file(path, "theirs"), 0; }
  } overtaken;
  overtaken.path = dir / "twkdefaut.xml";
  EXPECT_FALSE(tintmere::copy_whole(overtaken, overtaken.path));
  EXPECT_EQ(test_support::list_tree(dir.path()), Tree{"twkdefaut.xml"});
  EXPECT_EQ(test_support::read_file(overtaken.path), "theirs");
}

}  // namespace
