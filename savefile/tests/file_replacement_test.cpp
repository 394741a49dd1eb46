#include "savefile/file_replacement.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "linescan/byte_stream.h"
#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;
using test_support::k_on_windows;
using Naming = savefile::TemporaryFile::Naming;
using Tree = std::vector<std::string>;

// Makes in dir what layout says, item after item, each separated by ';':
// "a>b", a link a to b; "a|", a named pipe; "a/" a folder and any other name a
// file that holds "old", either with ":mode" in octal, and any with "@uid",
// given to that user and the group "users" (100).
void arrange(const fs::path& dir, std::string_view layout) {
  for (std::size_t end; !layout.empty(); layout.remove_prefix(end == layout.npos ? layout.size() : end + 1)) {
    end = layout.find(';');
    std::string item(layout.substr(0, end));
    const std::size_t at = item.find('@');
    const std::string owner = at == item.npos ? "" : item.substr(at + 1);
    item.resize(std::min(at, item.size()));
    const std::string name = item.substr(0, item.find_first_of(":>|"));
    if (item.find('>') != std::string::npos) {
      fs::create_symlink(item.substr(name.size() + 1), dir / name);
    } else if (item.ends_with('|')) {
      ASSERT_TRUE(test_support::make_pipe(dir / name));
    } else if (!name.ends_with('/')) {
      fs::create_directories((dir / name).parent_path());
      test_support::write_file(dir / name, "old");
    } else {
      fs::create_directories(dir / name);
    }
    if (item.find(':') != std::string::npos) fs::permissions(dir / name, fs::perms(std::stoi(item.substr(name.size() + 1), nullptr, 8)));
#ifndef _WIN32
    if (!owner.empty()) {
      ASSERT_EQ(::lchown((dir / name).c_str(), static_cast<uid_t>(std::stoi(owner)), 100), 0);
    }
#endif
  }
}

// Tweak.xml, then a chain of links to game/real.xml: `links` links in all.
std::string chain(int links) {
  std::string layout = "game/real.xml:640;Tweak.xml>";
  for (int i = 1; i < links; ++i) {
    const std::string link = std::string(1, 'l') += std::to_string(i);
    layout.append(link).append(";").append(link).append(">");
  }
  return layout + "game/real.xml";
}

// A save of "new" over dir/Tweak.xml by an ordinary user, and all it must
// leave: the content where the target leads, its mode and group, the link,
// and no other file. A new file's mode comes from the umask, here 077. In a
// folder where anyone may make a file but only its owner remove it (/tmp),
// a link is followed only where the saver or the folder's owner made it.
TEST(FileReplacement, ReplacesAWritableFileOrLeavesTheTargetAsItWas) {
  const test_support::ScopedUmask mask(077);

  const struct {
    std::string layout;
    const char* lands;  // the file that takes the new content, if any
    bool replaced;
    fs::perms mode = {};  // its permissions after a replacement, where they are POSIX modes
    bool posix = false;  // needs modes, named pipes or links, which a Windows folder lacks
    int group = -1;  // the group it then has, where it is not the saver's
  } cases[] = {
      {"", "Tweak.xml", true, fs::perms(0600)},
      {"Tweak.xml:640", "Tweak.xml", true, fs::perms(0640)},
      {"Tweak.xml:444", "Tweak.xml", false},
      {"Tweak.xml/", "Tweak.xml", false},
      {chain(1), "game/real.xml", true, fs::perms(0640), true},
      {chain(40), "game/real.xml", true, fs::perms(0640), true},  // as many as Linux follows
      {chain(41), "game/real.xml", false, {}, true},
      {"game/;Tweak.xml>game/new.xml", "game/new.xml", true, fs::perms(0600), true},
      {"Tweak.xml>loop;loop>Tweak.xml", "Tweak.xml", false, {}, true},
      {"Tweak.xml>nowhere/real.xml", "nowhere/real.xml", false, {}, true},
      {"Tweak.xml|", "Tweak.xml", false, {}, true},
      {chain(1) + ";game/:555", "game/real.xml", false, {}, true},
      {"Tweak.xml:664@1", "Tweak.xml", true, fs::perms(0664), true, 100},
      {"./:1777;" + chain(1), "game/real.xml", true, fs::perms(0640), true},
      {"./:1777@1;game/real.xml:640;Tweak.xml>game/real.xml@1", "game/real.xml", true, fs::perms(0640), true},
      {"./:1777;game/real.xml:640;Tweak.xml>game/real.xml@1", "game/real.xml", false, {}, true},
  };
  for (const auto& c : cases) {
    if (c.posix && k_on_windows) continue;
#ifndef _WIN32
    if (c.layout.find('@') != std::string::npos && ::geteuid() != 0) continue;  // only root gives files away
#endif
    SCOPED_TRACE(c.layout);
    test_support::TempDir dir;
    arrange(dir.path(), c.layout);
    const bool was_link = fs::is_symlink(dir / "Tweak.xml");
    const auto old_content = test_support::read_file(dir / c.lands);
    auto expected_tree = test_support::list_tree(dir.path());
    if (c.replaced && !old_content) expected_tree.push_back(c.lands);
    std::sort(expected_tree.begin(), expected_tree.end());

    const std::string outcome = test_support::run_unprivileged(dir.path(), [&] {
      auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml");
      if (!replacement) return "refused";
      linescan::FileSink sink(replacement->file());
      return sink.write_some({"new", 3}) == 3 && replacement->commit() ? "replaced" : "failed";
    });
    EXPECT_EQ(outcome, c.replaced ? "replaced" : "refused");
    EXPECT_EQ(test_support::read_file(dir / c.lands), c.replaced ? std::optional<std::string>("new") : old_content);
    if (c.replaced) {
      // Windows has no modes: a file is read-only or it is not.
      EXPECT_EQ(fs::status(dir / c.lands).permissions() & fs::perms(0777), k_on_windows ? fs::perms(0666) : c.mode);
#ifndef _WIN32
      struct stat status {};
      if (c.group >= 0) {
        EXPECT_TRUE(::stat((dir / c.lands).c_str(), &status) == 0 && status.st_gid == gid_t(c.group));
      }
#endif
    }
    EXPECT_EQ(fs::is_symlink(dir / "Tweak.xml"), was_link);
    EXPECT_EQ(test_support::list_tree(dir.path()), expected_tree);
  }
}

// A commit that cannot put the new file in place says so, and the temporary
// file goes with the object, named or not: a folder came to the target's
// place, which a file cannot replace, or a file that is to be kept. The
// umask that a new file's mode was taken from is the process's still.
TEST(FileReplacement, AFailedCommitSaysSoAndLeavesNothing) {
  const test_support::ScopedUmask mask(077);
  for (const Naming naming : {Naming::unnamed_where_possible, Naming::named}) {
    for (const savefile::Existing existing : {savefile::Existing::replace, savefile::Existing::keep}) {
      test_support::TempDir dir;
      const fs::path came = existing == savefile::Existing::keep ? dir / "Tweak.xml" : dir / "Tweak.xml/taken";
      {
        auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", naming);
        ASSERT_TRUE(replacement);
        fs::create_directories(came.parent_path());
        test_support::write_file(came, "theirs");
        EXPECT_FALSE(replacement->commit(existing));
      }
      EXPECT_EQ(test_support::read_file(came), "theirs");
      EXPECT_EQ(test_support::list_tree(dir.path()).size(), existing == savefile::Existing::keep ? 1u : 2u);
      test_support::write_file(dir / "other", "");
      EXPECT_EQ(fs::status(dir / "other").permissions(), k_on_windows ? fs::perms(0666) : fs::perms(0600));
    }
  }
}

#ifndef _WIN32
// Root, who may give a file away, saves another user's file as theirs still.
TEST(FileReplacement, KeepsTheOwnerWhereItMay) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may keep another user's file theirs";
  test_support::TempDir dir;
  test_support::write_file(dir / "Tweak.xml", "old");
  ASSERT_EQ(::chown((dir / "Tweak.xml").c_str(), 65534, 65534), 0);
  auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml");
  ASSERT_TRUE(replacement && replacement->commit());
  struct stat status {};
  ASSERT_EQ(::stat((dir / "Tweak.xml").c_str(), &status), 0);
  EXPECT_EQ(std::pair(status.st_uid, status.st_gid), std::pair(uid_t{65534}, gid_t{65534}));
}

// What a save that a signal ends before its commit leaves: the old file, and
// nothing else but for a named temporary file that SIGKILL, which no process
// can catch, ends. The save runs after another has come and gone, and a
// signal that the process ignores does not end it.
TEST(FileReplacement, ASaveEndedByASignalLeavesTheOldFile) {
  const struct {
    Naming naming;
    int signal;
    const char* content;
    std::size_t files;
    bool ignored = false;
  } cases[] = {{Naming::named, SIGTERM, "old", 1}, {Naming::named, SIGKILL, "old", 2},
               {Naming::unnamed_where_possible, SIGKILL, "old", 1}, {Naming::named, SIGHUP, "new", 1, true}};
  for (const auto& c : cases) {
    test_support::TempDir dir;
    test_support::write_file(dir / "Tweak.xml", "old");
    const pid_t child = ::fork();
    if (child == 0) {
      if (c.ignored) ::signal(c.signal, SIG_IGN);
      const bool before = savefile::FileReplacement::begin(dir / "Earlier.xml", c.naming)->commit();
      auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", c.naming);
      linescan::FileSink sink(replacement->file());
      const bool written = before && sink.write_some({"new", 3}) == 3;
      ::raise(SIGSTOP);  // the signal comes here
      ::_exit(written && replacement->commit() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, WUNTRACED), child);
    ::kill(child, c.signal);
    ::kill(child, SIGCONT);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(c.ignored ? WIFEXITED(status) && WEXITSTATUS(status) == 0 : WIFSIGNALED(status) && WTERMSIG(status) == c.signal);
    EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"), c.content) << strsignal(c.signal);
    EXPECT_EQ(test_support::list_tree(dir.path()).size(), c.files + 1) << strsignal(c.signal);  // and Earlier.xml
  }
}
#endif

}  // namespace
