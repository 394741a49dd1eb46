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

void old_file(const fs::path& path, fs::perms mode) {
  test_support::write_file(path, "old");
  fs::permissions(path, mode);
}

auto link(const char* target, const char* at = "Tweak.xml") {
  return [=](const fs::path& dir) { fs::create_symlink(target, dir / at); };
}

void game(const fs::path& dir) {
  fs::create_directory(dir / "game");
  old_file(dir / "game" / "real.xml", fs::perms(0640));
}

// Tweak.xml, then a chain of links to game/real.xml: `links` links in all.
auto chain(int links) {
  return [=](const fs::path& dir) {
    game(dir);
    const auto link_name = [](int n) { return fs::path("l").concat(std::to_string(n)); };
    for (int i = 0; i < links; ++i) {
      fs::create_symlink(i + 1 == links ? fs::path("game/real.xml") : link_name(i + 1),
                         dir / (i == 0 ? fs::path("Tweak.xml") : link_name(i)));
    }
  };
}

// A save of "new" over dir/Tweak.xml by an ordinary user, and all it must
// leave: the content where the target leads, its mode, the link, and no
// other file. A new file's mode comes from the umask, here 077.
TEST(FileReplacement, ReplacesAWritableFileOrLeavesTheTargetAsItWas) {
  const test_support::ScopedUmask mask(077);
  enum Needs { nothing, symlinks, posix };  // what the system must have to make the case
  const struct {
    const char* name;
    std::function<void(const fs::path&)> arrange;  // in the folder that is to hold Tweak.xml
    bool replaced;
    const char* lands;  // the file that takes the new content, if any
    fs::perms mode = {};  // its permissions after a replacement, where they are POSIX modes
    Needs needs = nothing;
  } cases[] = {
      {"absent", [](const fs::path&) {}, true, "Tweak.xml", fs::perms(0600)},
      {"regular", [](const fs::path& dir) { old_file(dir / "Tweak.xml", fs::perms(0640)); }, true, "Tweak.xml",
       fs::perms(0640)},
      {"read-only", [](const fs::path& dir) { old_file(dir / "Tweak.xml", fs::perms(0444)); }, false, "Tweak.xml"},
      {"folder", [](const fs::path& dir) { fs::create_directory(dir / "Tweak.xml"); }, false, "Tweak.xml"},
      {"symbolic link", chain(1), true, "game/real.xml", fs::perms(0640), symlinks},
      {"chain of links, as long as Linux follows", chain(40), true, "game/real.xml", fs::perms(0640), symlinks},
      {"a longer chain", chain(41), false, "game/real.xml", {}, symlinks},
      {"dangling link", [](const fs::path& dir) { game(dir), link("game/new.xml")(dir); }, true, "game/new.xml",
       fs::perms(0600), symlinks},
      {"link loop", [](const fs::path& dir) { link("loop")(dir), link("Tweak.xml", "loop")(dir); }, false, "Tweak.xml",
       {}, symlinks},
      {"link into a missing folder", link("nowhere/real.xml"), false, "nowhere/real.xml", {}, symlinks},
      // Windows has no named pipes in folders, and a folder's read-only
      // attribute does not stop writing.
      {"pipe", [](const fs::path& dir) { ASSERT_TRUE(test_support::make_pipe(dir / "Tweak.xml")); }, false,
       "Tweak.xml", {}, posix},
      {"link into a read-only folder",
       [](const fs::path& dir) { chain(1)(dir), fs::permissions(dir / "game", fs::perms(0555)); }, false,
       "game/real.xml", {}, posix},
  };
  for (const auto& c : cases) {
    if ((c.needs == symlinks && !test_support::can_make_symlinks()) || (c.needs == posix && k_on_windows)) continue;
    SCOPED_TRACE(c.name);
    test_support::TempDir dir;
    c.arrange(dir.path());
    const bool was_link = fs::is_symlink(dir / "Tweak.xml");
    const auto old_content = test_support::read_file(dir / c.lands);
    auto expected_tree = test_support::list_tree(dir.path());
    if (c.replaced && !old_content) expected_tree.push_back(fs::path(c.lands).generic_string());
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
      const fs::perms expected = k_on_windows ? fs::perms(0666) : c.mode;
      EXPECT_EQ(fs::status(dir / c.lands).permissions() & fs::perms(0777), expected);
    }
    EXPECT_EQ(fs::is_symlink(dir / "Tweak.xml"), was_link);
    EXPECT_EQ(test_support::list_tree(dir.path()), expected_tree);
  }
}

#ifndef _WIN32
extern "C" void ignore_signal(int) {}

// How this process handles each signal that a named temporary file guards.
std::vector<void (*)(int)> handlers() {
  std::vector<void (*)(int)> found;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    ::sigaction(signal, nullptr, &action);
    found.push_back(action.sa_handler);
  }
  return found;
}

#endif

// A commit that cannot put the new file in place says so, and the temporary
// file goes with the object, named or not; the umask that a new file's mode
// was taken from is the process's again.
TEST(FileReplacement, AFailedCommitSaysSoAndLeavesNothing) {
  const test_support::ScopedUmask mask(077);
#ifndef _WIN32
  const auto before = handlers();
#endif
  for (const Naming naming : {Naming::unnamed_where_possible, Naming::named}) {
    test_support::TempDir dir;
    {
      auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", naming);
      ASSERT_TRUE(replacement);
      fs::create_directories(dir / "Tweak.xml/taken");  // a folder that a file cannot replace
      EXPECT_FALSE(replacement->commit());
#ifndef _WIN32
      EXPECT_NE(handlers(), before) << "the file, named by now, is not guarded";
#endif
    }
    EXPECT_EQ(test_support::list_tree(dir.path()), (Tree{"Tweak.xml", "Tweak.xml/taken"}));
    test_support::write_file(dir / "other", "");
    EXPECT_EQ(fs::status(dir / "other").permissions(), k_on_windows ? fs::perms(0666) : fs::perms(0600));
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

// While a temporary file has a name, SIGINT, SIGTERM and SIGHUP share a
// handler that removes it; a signal the process ignores (SIGHUP under nohup)
// stays ignored. Once the file is gone or in place, each handles as it did.
TEST(FileReplacement, GuardsANamedTemporaryFileWhileItIsThere) {
  ::signal(SIGINT, ignore_signal);
  ::signal(SIGHUP, SIG_IGN);
  const auto before = handlers();
  for (const bool commits : {false, true}) {
    test_support::TempDir dir;
    {
      auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", Naming::named);
      const auto guarded = handlers();
      EXPECT_NE(guarded[0], before[0]);
      EXPECT_EQ(guarded, (std::vector{guarded[0], guarded[0], SIG_IGN}));
      EXPECT_TRUE(!commits || replacement->commit());
      EXPECT_EQ(handlers() == before, commits);
    }
    EXPECT_EQ(handlers(), before);
    EXPECT_EQ(test_support::list_tree(dir.path()).size(), commits ? 1u : 0u);
  }
  // An unnamed file needs no guard until the commit names it.
  test_support::TempDir dir;
  auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml");
  EXPECT_EQ(handlers(), before);
  EXPECT_TRUE(replacement->commit());
  EXPECT_EQ(handlers(), before);
  // SIGHUP that is not ignored is guarded as the others are.
  ::signal(SIGINT, SIG_DFL);
  ::signal(SIGHUP, SIG_DFL);
  auto named = savefile::FileReplacement::begin(dir / "Other.xml", Naming::named);
  const auto guarded = handlers();
  EXPECT_EQ(guarded, (std::vector{guarded[0], guarded[0], guarded[0]}));
  EXPECT_NE(guarded[0], SIG_DFL);
}

// What a save that a signal ends leaves: the old file before the commit, the
// whole new one after it, and nothing else, but for a named temporary file
// that SIGKILL, which no process can catch, ends before the commit.
TEST(FileReplacement, ASaveEndedByASignalLeavesTheOldFileOrTheNewOne) {
  for (const Naming naming : {Naming::unnamed_where_possible, Naming::named}) {
    for (const int signal : {SIGTERM, SIGKILL}) {
      for (const bool committed : {false, true}) {
        SCOPED_TRACE(testing::Message() << (naming == Naming::named ? "named, " : "unnamed, ") << strsignal(signal)
                                        << (committed ? ", after the commit" : ", before it"));
        test_support::TempDir dir;
        test_support::write_file(dir / "Tweak.xml", "old");
        const pid_t child = ::fork();
        if (child == 0) {
          auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", naming);
          linescan::FileSink sink(replacement->file());
          const bool written = sink.write_some({"new", 3}) == 3;
          ::raise(SIGSTOP);  // the signal comes here, or at the next stop
          const bool done = written && replacement->commit();
          ::raise(SIGSTOP);
          ::_exit(done ? 0 : 1);
        }
        int status = 0;
        for (int stop = 0; stop <= int{committed}; ++stop) {
          ASSERT_EQ(::waitpid(child, &status, WUNTRACED), child);
          ASSERT_TRUE(WIFSTOPPED(status));
          if (stop < int{committed}) ::kill(child, SIGCONT);
        }
        ::kill(child, signal);
        ::kill(child, SIGCONT);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"), committed ? "new" : "old");
        const auto left = test_support::list_tree(dir.path());
        const bool kept = naming == Naming::named && signal == SIGKILL && !committed;
        EXPECT_EQ(left.size(), kept ? 2u : 1u);
        EXPECT_TRUE(left.front().starts_with(kept ? ".Tweak.xml." : "Tweak.xml")) << left.front();
      }
    }
  }
}
#endif

}  // namespace
