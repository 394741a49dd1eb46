#include "tintmere/menu_folder.h"

#include <gtest/gtest.h>

#include <functional>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "test_support/scripted_io.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;

// The menu, its launcher and XDG's folders are the Linux desktop's.
#define SKIP_ON_WINDOWS() \
  if (test_support::k_on_windows) GTEST_SKIP() << "no desktop menu launcher on Windows"

using test_support::write_file;
using Tree = std::vector<std::string>;

TEST(MenuFolder, IsTintmereInTheDocumentsFolderThatTheDesktopNames) {
  SKIP_ON_WINDOWS();
  test_support::TempDir dir;
  const fs::path home = dir / "home";
  const std::string h = home.string();
  const std::string key = "XDG_DOCUMENTS_DIR=\"";
  const struct {
    const char* name;
    std::string user_dirs;  // in the configuration folder, if any
    std::optional<fs::path> expected;
    tintmere::Session session;
  } cases[] = {
      {"no user-dirs.dirs", "", home / "Documents/Tintmere", {h, "", ""}},
      {"the desktop's own name", key + "$HOME/Mes documents\"\n", home / "Mes documents/Tintmere", {h, "", ""}},
      {"the last line counts, comments do not",
       "# " + key + "$HOME/no\"\n" + key + "$HOME/a\"\r\n  " + key + "$HOME/b\"\t\n", home / "b/Tintmere", {h, "", ""}},
      {"an absolute folder, with an escape", key + "/srv/\\\"d\\\\\"\n", "/srv/\"d\\/Tintmere", {h, "", ""}},
      {"the home folder itself", key + "$HOME\"\n", home / "Tintmere", {h, "", ""}},
      {"a relative folder is no folder", key + "docs\"\n", home / "Documents/Tintmere", {h, "", ""}},
      {"no closing quote", key + "$HOME/a\n", home / "Documents/Tintmere", {h, "", ""}},
      {"only the first 64 KiB are read", std::string(1 << 16, '#') + "\n" + key + "$HOME/a\"\n",
       home / "Documents/Tintmere", {h, "", ""}},
      {"configuration elsewhere", key + "$HOME/c\"\n", home / "elsewhere/Tintmere", {h, (dir / "config").string(), ""}},
      {"a relative configuration folder counts as unset", key + "$HOME/c\"\n", home / "c/Tintmere", {h, "config", ""}},
      {"no HOME: the account's", "", home / "Documents/Tintmere", {"", "", h}},
      {"a relative HOME counts as unset", "", home / "Documents/Tintmere", {"home", "", h}},
      {"no home at all", "", std::nullopt, {"", "", ""}},
  };
  // The configuration folder that XDG_CONFIG_HOME names, absolute or
  // relative to the current folder.
  fs::create_directories(dir / "config");
  write_file(dir / "config/user-dirs.dirs", key + "$HOME/elsewhere\"\n");
  const test_support::ScopedCurrentDir in_dir(dir.path());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(home);
    fs::create_directories(home / ".config");
    if (!c.user_dirs.empty()) write_file(home / ".config/user-dirs.dirs", c.user_dirs);
    EXPECT_EQ(tintmere::menu_folder(c.session), c.expected);
  }
}

const std::string k_shipped = "<Tweaks>\n" + std::string(200000, 'w') + "\n</Tweaks>\n";

// One launch with HOME at dir/home and the shipped template at dir/shipped.xml:
// the messages it shows.
std::vector<std::string> launch(const test_support::TempDir& dir) {
  test_support::RecordingMessages messages;
  const auto folder = tintmere::prepare_menu_folder({(dir / "home").string(), "", ""}, dir / "shipped.xml", messages);
  EXPECT_EQ(folder, dir / "home/Documents/Tintmere");
  return messages.shown;
}

TEST(PrepareMenuFolder, CopiesTheShippedTemplateOnceAndKeepsTheUsersOwn) {
  SKIP_ON_WINDOWS();
  test_support::TempDir dir;
  write_file(dir / "shipped.xml", k_shipped);
  fs::create_directory(dir / "home");
  const fs::path copied = dir / "home/Documents/Tintmere/twkdefaut.xml";
  EXPECT_TRUE(launch(dir).empty());
  EXPECT_EQ(test_support::list_tree(dir.path()), (Tree{"home", "home/Documents", "home/Documents/Tintmere",
                                                       "home/Documents/Tintmere/twkdefaut.xml", "shipped.xml"}));
  EXPECT_EQ(read_file(copied), k_shipped);
  write_file(copied, "edited");
  EXPECT_TRUE(launch(dir).empty());
  EXPECT_EQ(read_file(copied), "edited");
}

TEST(PrepareMenuFolder, SaysWhatStandsInTheWayAndMakesNothingOutsideTheHome) {
  SKIP_ON_WINDOWS();
  test_support::TempDir top;
  const auto read_only = [](const char* made) {
    return [=](const fs::path& dir) { fs::create_directories(dir / made), fs::permissions(dir / made, fs::perms(0555)); };
  };
  const struct {
    const char* name;
    std::function<void(const fs::path&)> arrange;  // in a folder that holds the shipped template
    std::string (*message)(const fs::path&);
    const char* about;  // the path that the message names
    bool unprivileged = false;
    std::string home = "";  // dir/home unless set
  } cases[] = {
      {"the work folder is a file",
       [](const fs::path& dir) { fs::create_directories(dir / "home/Documents"), write_file(dir / "home/Documents/Tintmere", ""); },
       tintmere::folder_unusable_message, "home/Documents/Tintmere"},
      {"the home folder is read-only", read_only("home"), tintmere::folder_unusable_message,
       "home/Documents/Tintmere", true},
      {"the work folder is read-only", read_only("home/Documents/Tintmere"), tintmere::copy_failed_message,
       "home/Documents/Tintmere", true},
      {"no home folder there", [](const fs::path&) {}, tintmere::folder_unusable_message, "home/Documents/Tintmere"},
      {"HOME unset, nor any for the account", [](const fs::path&) {},
       [](const fs::path&) { return tintmere::no_home_message(); }, "", false, "relative"},
      {"no shipped template",
       [](const fs::path& dir) { fs::create_directories(dir / "home/Documents/Tintmere"), fs::remove(dir / "shipped.xml"); },
       tintmere::shipped_missing_message, "shipped.xml"},
      {"the copied template leads nowhere",
       [](const fs::path& dir) {
         fs::create_directories(dir / "home/Documents/Tintmere");
         fs::create_symlink(dir / "gone.xml", dir / "home/Documents/Tintmere/twkdefaut.xml");
       },
       tintmere::template_unusable_message, "home/Documents/Tintmere/twkdefaut.xml"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dir = top / c.name;
    fs::create_directory(dir);
    write_file(dir / "shipped.xml", k_shipped);
    c.arrange(dir);
    const Tree before = test_support::list_tree(dir);
    const auto run = [&] {
      test_support::RecordingMessages messages;
      const auto folder = tintmere::prepare_menu_folder({c.home.empty() ? (dir / "home").string() : c.home, "", ""},
                                                        dir / "shipped.xml", messages);
      EXPECT_FALSE(folder);
      return messages.shown.size() == 1 ? messages.shown.front() : "messages: " + std::to_string(messages.shown.size());
    };
    EXPECT_EQ(c.unprivileged ? test_support::run_unprivileged(dir, run) : run(), c.message(dir / c.about));
    EXPECT_EQ(test_support::list_tree(dir), before);
  }
}

// A copy that cannot be read to its end leaves no template, so the next
// launch copies again.
TEST(CopyWhole, AReadErrorMidwayLeavesNoFile) {
  test_support::TempDir dir;
  test_support::ScriptedSource cut(k_shipped, 4096, 10000);
  EXPECT_FALSE(tintmere::copy_whole(cut, dir / "twkdefaut.xml"));
  EXPECT_EQ(test_support::list_tree(dir.path()), Tree{});
  test_support::ScriptedSource whole(k_shipped, 4096);
  EXPECT_TRUE(tintmere::copy_whole(whole, dir / "twkdefaut.xml"));
  EXPECT_EQ(read_file(dir / "twkdefaut.xml"), k_shipped);
}

}  // namespace
