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

struct TargetCase {
  const char* name;
  std::function<void(const fs::path&)> arrange;  // in the folder that is to hold Tweak.xml
  bool replaced;
  const char* lands;  // the file that takes the new content, if any
  fs::perms mode;     // its permissions after a replacement, where they are POSIX modes
};

void old_file(const fs::path& path, fs::perms mode) {
  test_support::write_file(path, "old");
  fs::permissions(path, mode);
}

auto link(const char* target) {
  return [=](const fs::path& dir) { fs::create_symlink(target, dir / "Tweak.xml"); };
}

void game(const fs::path& dir) {
  fs::create_directory(dir / "game");
  old_file(dir / "game" / "real.xml", fs::perms(0640));
}

// One save of "new" over dir/Tweak.xml, by an ordinary user, and all it must
// leave: the content where the target leads, its mode, the link, and no
// other file.
void check(const TargetCase& c) {
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

TEST(FileReplacement, ReplacesAWritableFileOrLeavesTheTargetAsItWas) {
  const test_support::ScopedUmask mask(077);  // a new file is then 0600
  const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const TargetCase cases[] = {
      {"absent", [](const fs::path&) {}, true, "Tweak.xml", fs::perms(0600)},
      {"regular", [](const fs::path& dir) { old_file(dir / "Tweak.xml", fs::perms(0640)); }, true, "Tweak.xml",
       fs::perms(0640)},
      {"read-only", [=](const fs::path& dir) { old_file(dir / "Tweak.xml", readable); }, false, "Tweak.xml", {}},
      {"folder", [](const fs::path& dir) { fs::create_directory(dir / "Tweak.xml"); }, false, "Tweak.xml", {}},
  };
  for (const auto& c : cases) check(c);
}

TEST(FileReplacement, ReplacesWhatASymbolicLinkLeadsTo) {
  if (!test_support::can_make_symlinks()) GTEST_SKIP() << "this system makes no symbolic links";
  const test_support::ScopedUmask mask(077);  // a new file is then 0600
  const TargetCase cases[] = {
      {"symbolic link", [](const fs::path& dir) { game(dir), link("game/real.xml")(dir); }, true, "game/real.xml",
       fs::perms(0640)},
      {"chain of links",
       [](const fs::path& dir) { game(dir), link("next")(dir), fs::create_symlink("game/real.xml", dir / "next"); },
       true, "game/real.xml", fs::perms(0640)},
      {"dangling link", [](const fs::path& dir) { game(dir), link("game/new.xml")(dir); }, true, "game/new.xml",
       fs::perms(0600)},
      {"link loop", [](const fs::path& dir) { link("loop")(dir), fs::create_symlink("Tweak.xml", dir / "loop"); },
       false, "Tweak.xml", {}},
      {"link into a missing folder", link("nowhere/real.xml"), false, "nowhere/real.xml", {}},
  };
  for (const auto& c : cases) check(c);
}

TEST(FileReplacement, RefusesAPipeAndALinkIntoAReadOnlyFolder) {
  if (k_on_windows) GTEST_SKIP() << "Windows has no named pipes in folders, and a folder's read-only attribute does not stop writing";
  const TargetCase cases[] = {
      {"pipe", [](const fs::path& dir) { ASSERT_TRUE(test_support::make_pipe(dir / "Tweak.xml")); }, false,
       "Tweak.xml", {}},
      {"link into a read-only folder",
       [](const fs::path& dir) {
         game(dir), link("game/real.xml")(dir), fs::permissions(dir / "game", fs::perms(0555));
       },
       false, "game/real.xml", {}},
  };
  for (const auto& c : cases) check(c);
}

// A commit that cannot put the new file in place says so, and the
// temporary file goes with the object, named or not.
TEST(FileReplacement, AFailedCommitSaysSoAndLeavesNothing) {
  using Naming = savefile::TemporaryFile::Naming;
  const test_support::ScopedUmask mask(077);
  for (const Naming naming : {Naming::unnamed_where_possible, Naming::named}) {
    test_support::TempDir dir;
    {
      auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", naming);
      ASSERT_TRUE(replacement);
      fs::create_directories(dir / "Tweak.xml/taken");  // a folder that a file cannot replace
      EXPECT_FALSE(replacement->commit());
    }
    EXPECT_EQ(test_support::list_tree(dir.path()), (std::vector<std::string>{"Tweak.xml", "Tweak.xml/taken"}));
    // The mask that the new file's mode was taken from is the process's again.
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
#endif

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

// While a temporary file has a name, SIGINT, SIGTERM and SIGHUP remove it
// before they end the process; a signal the process ignores (SIGHUP under
// nohup) stays ignored. Afterwards each handles as it did.
TEST(FileReplacement, GuardsANamedTemporaryFileWhileItIsThere) {
  using Naming = savefile::TemporaryFile::Naming;
  ::signal(SIGINT, ignore_signal);
  ::signal(SIGHUP, SIG_IGN);
  const auto before = handlers();
  for (const bool commits : {false, true}) {
    test_support::TempDir dir;
    {
      auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", Naming::named);
      const auto guarded = handlers();
      EXPECT_NE(guarded[0], before[0]);
      EXPECT_EQ(guarded[1], guarded[0]);
      EXPECT_EQ(guarded[2], SIG_IGN);
      EXPECT_TRUE(!commits || replacement->commit());
      EXPECT_EQ(handlers() == before, commits);
    }
    EXPECT_EQ(handlers(), before);
    EXPECT_EQ(test_support::list_tree(dir.path()).size(), commits ? 1u : 0u);
  }
  // An unnamed file needs no guard until it is named, in the commit.
  test_support::TempDir dir;
  auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml");
  EXPECT_EQ(handlers(), before);
  EXPECT_TRUE(replacement->commit());
  EXPECT_EQ(handlers(), before);
  ::signal(SIGINT, SIG_DFL);
  ::signal(SIGHUP, SIG_DFL);
}
#endif

// What a save that a signal ends leaves, at each stage: the old file or the
// whole new one, and nothing else, but for a named temporary file that
// SIGKILL, which no process can catch, ends before the commit. SIGINT and
// SIGHUP end it as SIGTERM does.
TEST(FileReplacement, ASaveEndedByASignalLeavesTheOldFileOrTheNewOne) {
#ifdef _WIN32
  GTEST_SKIP() << "no signal ends a Windows program";
#else
  using Naming = savefile::TemporaryFile::Naming;
  // The child stops before each step; the signal comes at the stop named.
  const std::pair<const char*, int> stages[] = {{"between two writes", 1}, {"at the commit", 2}, {"after it", 3}};
  for (const Naming naming : {Naming::unnamed_where_possible, Naming::named}) {
    for (const int signal : {SIGTERM, SIGKILL}) {
      for (const auto& [stage, stops] : stages) {
        SCOPED_TRACE(testing::Message() << (naming == Naming::named ? "named, " : "unnamed, ") << strsignal(signal)
                                        << ", " << stage);
        test_support::TempDir dir;
        test_support::write_file(dir / "Tweak.xml", "old");
        const pid_t child = ::fork();
        if (child == 0) {
          auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml", naming);
          linescan::FileSink sink(replacement->file());
          const bool written = sink.write_some({"ne", 2}) == 2 && ::raise(SIGSTOP) == 0 && sink.write_some({"w", 1}) == 1;
          ::raise(SIGSTOP);
          const bool committed = written && replacement->commit();
          ::raise(SIGSTOP);
          ::_exit(committed ? 0 : 1);
        }
        int status = 0;
        for (int stop = 1; stop <= stops; ++stop) {
          ASSERT_EQ(::waitpid(child, &status, WUNTRACED), child);
          ASSERT_TRUE(WIFSTOPPED(status));
          if (stop < stops) ::kill(child, SIGCONT);
        }
        ::kill(child, signal);
        ::kill(child, SIGCONT);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"), stops < 3 ? "old" : "new");
        const auto left = test_support::list_tree(dir.path());
        const bool kept = naming == Naming::named && signal == SIGKILL && stops < 3;
        EXPECT_EQ(left.size(), kept ? 2u : 1u);
        EXPECT_TRUE(left.front().starts_with(kept ? ".Tweak.xml." : "Tweak.xml")) << left.front();
      }
    }
  }
#endif
}

}  // namespace
