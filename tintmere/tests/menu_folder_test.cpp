#include "tintmere/menu_folder.h"

#include <gtest/gtest.h>

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
// the user's edits too. (The menu and its launcher are the Linux desktop's.)
TEST(PrepareMenuFolder, CopiesTheShippedTemplateOnceAndKeepsTheUsersOwn) {
  if (test_support::k_on_windows) GTEST_SKIP() << "no desktop menu launcher on Windows";
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

// A launch whose home folder is not there says so, and makes none.
TEST(PrepareMenuFolder, MakesNoHomeFolder) {
  if (test_support::k_on_windows) GTEST_SKIP() << "no desktop menu launcher on Windows";
  test_support::TempDir dir;
  write_file(dir / "shipped.xml", k_shipped);
  EXPECT_EQ(launch(dir.path(), dir / "home/Docs"),
            "Impossible de créer le dossier «\u00A0" + (dir / "home/Docs/Tintmere").string() + "\u00A0».");
  EXPECT_EQ(test_support::list_tree(dir.path()), Tree{"shipped.xml"});
}

// A copy that cannot be read to its end leaves no template, so the next
// launch copies again; one that another launch beats to the name leaves that
// launch's template, and takes it.
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
  EXPECT_TRUE(tintmere::copy_whole(overtaken, overtaken.path));
  EXPECT_EQ(test_support::list_tree(dir.path()), Tree{"twkdefaut.xml"});
  EXPECT_EQ(test_support::read_file(overtaken.path), "theirs");
}

}  // namespace
