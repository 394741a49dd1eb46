#include "savefile/file_replacement.h"

#ifdef _WIN32
#include <windows.h>
// Windows's own name for its ANSI function, not this file's subject.
#undef ReplaceFile
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <thread>

#include "linescan/byte_stream.h"
#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;
using test_support::k_on_windows;
using Naming = savefile::TemporaryFile::Naming;

// Makes in dir what layout says, item after item, each separated by ';':
// "a>b", a link a to b; "a=b", a second name a of the file b; "a|", a named
// pipe; "a/" a folder and any other name a file that holds "old", either
// with ":mode" in octal, and "+" gives a file an attribute and an access list
// by which user 1005 may read and write it, its group and others only read;
// and any with "@uid", given to that user and the group "users" (100). A
// folder's "+" is its default access list.
void arrange(const fs::path& dir, std::string_view layout) {
  for (std::size_t end; !layout.empty(); layout.remove_prefix(end == layout.npos ? layout.size() : end + 1)) {
    end = layout.find(';');
    std::string item(layout.substr(0, end));
    const std::size_t at = item.find('@');
    const std::string owner = at == item.npos ? "" : item.substr(at + 1);
    item.resize(std::min(at, item.size()));
    const std::string name = item.substr(0, item.find_first_of(":>|=+"));
    if (item.find('>') != std::string::npos) {
      fs::create_symlink(item.substr(name.size() + 1), dir / name);
    } else if (item.find('=') != std::string::npos) {
      fs::create_hard_link(dir / item.substr(name.size() + 1), dir / name);
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
    if (item.ends_with('+')) {
      // The version, then each entry: tag and permissions in 16 bits each, and an id in 32.
      const std::string_view list("\2\0\0\0\1\0\6\0\377\377\377\377\2\0\6\0\355\3\0\0\4\0\4\0\377\377\377\377"
                                  "\20\0\6\0\377\377\377\377\40\0\4\0\377\377\377\377", 44);
      const char* kind = name.ends_with('/') ? "system.posix_acl_default" : "system.posix_acl_access";
      ASSERT_EQ(::setxattr((dir / name).c_str(), "user.empty", "", 0, 0), 0);
      ASSERT_EQ(::setxattr((dir / name).c_str(), kind, list.data(), list.size(), 0), 0);
    }
    if (!owner.empty()) {
      ASSERT_EQ(::lchown((dir / name).c_str(), static_cast<uid_t>(std::stoi(owner)), 100), 0);
    }
#endif
  }
}

#ifndef _WIN32
// Each extended attribute of the file at path, an access list among them.
std::string attributes(const fs::path& path) {
  char names[256];
  std::string all;
  const ssize_t size = ::listxattr(path.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    char value[256];
    all.append(names + at).append("=").append(value, std::max<ssize_t>(::getxattr(path.c_str(), names + at, value, sizeof value), 0));
  }
  return all;
}
#endif

// Saves content over target: "saved", "failed" or "refused".
std::string save(const fs::path& target, std::string_view content) {
  auto replacement = savefile::FileReplacement::begin(target);
  if (!replacement) return "refused";
  linescan::FileSink sink(replacement->file());
  return sink.write_some(content) == std::ssize(content) && replacement->commit() ? "saved" : "failed";
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

// A save over dir/Tweak.xml by an ordinary user, and all it must leave: the
// content where the target leads, its mode and group, the link, what a reader
// of the old file reads, and no other file. A new file's mode comes from the
// umask, here 077. In a folder where anyone may make a file but only its owner
// remove it (/tmp), a link is followed only where the saver or the folder's
// owner made it. A file that a new one could not stand for unchanged is
// written over in place, once the room it grows by is sure; a write over it
// that fails midway leaves the whole new content under Tweak.xml's own name.
TEST(FileReplacement, ReplacesAWritableFileOrLeavesTheTargetAsItWas) {
#ifndef _WIN32
  const mode_t umask = ::umask(077);
#endif
  const std::string k_new(5000, 'n');  // longer than a block, so that its room must be found
  const std::string k_long(249, 'l');
  const std::string k_linked = "Tweak.xml:640;game/;game/real.xml=Tweak.xml";
  using Planted = savefile::PlantedFailures;

  const struct {
    std::string layout;
    std::string lands;  // the file that takes the new content, if any
    std::string how;  // "new file", "in place", "cut short" (failed, yet lands reads the new content), "failed", "refused"
    fs::perms mode = {};  // the permissions lands then has, where they are POSIX modes
    bool posix = false;  // needs modes, named pipes, links or planted failures, which a Windows folder lacks
    int group = -1;  // the group it then has, where it is not the saver's
    Planted planted = {};
  } cases[] = {
      {"", "Tweak.xml", "new file", fs::perms(0600)},
      {"Tweak.xml:640", "Tweak.xml", "new file", fs::perms(0640)},
      {k_linked, "game/real.xml", "in place", fs::perms(0640)},
      {k_linked, "Tweak.xml", "failed", {}, true, -1, Planted{.reserve = ENOSPC}},
      {k_linked, "Tweak.xml", "failed", {}, true, -1, Planted{.reserve = EOPNOTSUPP, .no_free_room = true}},
      {k_linked, "game/real.xml", "in place", fs::perms(0640), true, -1, Planted{.reserve = EOPNOTSUPP}},
      {k_linked, "Tweak.xml", "cut short", fs::perms(0640), true, -1, Planted{.write = EIO}},
      {"Tweak.xml:640+", "Tweak.xml", "new file", fs::perms(0664), true},  // the group bits: the access list's mask
      {"Tweak.xml:660;./+", "Tweak.xml", "new file", fs::perms(0660), true},  // and none from the folder's default one
      {"./+", "Tweak.xml", "new file", fs::perms(0664), true},  // a new file: the default list, not the umask
      {"", "Tweak.xml", "new file", fs::perms(0600), true, -1, Planted{.set_mode = EPERM}},  // a disk without modes
      {"Tweak.xml:600", "Tweak.xml", "new file", fs::perms(0600), true, -1, Planted{.set_mode = EPERM}},
      {"Tweak.xml:640", "Tweak.xml", "in place", fs::perms(0640), true, -1, Planted{.set_mode = EPERM}},
      {"Tweak.xml:444", "Tweak.xml", "refused"},
      {"Tweak.xml/", "Tweak.xml", "refused"},
      {chain(1), "game/real.xml", "new file", fs::perms(0640), true},
      {chain(40), "game/real.xml", "new file", fs::perms(0640), true},  // as many as Linux follows
      {chain(41), "game/real.xml", "refused", {}, true},
      {"game/;Tweak.xml>game/new.xml", "game/new.xml", "new file", fs::perms(0600), true},
      {k_long + ";Tweak.xml>" + k_long, k_long, "new file", fs::perms(0600), true},
      {"Tweak.xml>nowhere/real.xml", "nowhere/real.xml", "refused", {}, true},
      {"Tweak.xml|", "Tweak.xml", "refused", {}, true},
      {chain(1) + ";game/:555", "game/real.xml", "refused", {}, true},
      {"Tweak.xml:664@1", "Tweak.xml", "in place", fs::perms(0664), true, 100},  // a file the saver cannot give away
      {"./:1777;" + chain(1), "game/real.xml", "new file", fs::perms(0640), true},
      {"./:1777@1;game/real.xml:640;Tweak.xml>game/real.xml@1", "game/real.xml", "new file", fs::perms(0640), true},
      {"./:1777;game/real.xml:640;Tweak.xml>game/real.xml@1", "game/real.xml", "refused", {}, true},
  };
  for (const auto& c : cases) {
    if (c.posix && k_on_windows) continue;
#ifndef _WIN32
    if (c.layout.find('@') != std::string::npos && ::geteuid() != 0) continue;  // only root gives files away
#endif
    SCOPED_TRACE(c.layout.substr(0, 80) + " " + c.how);
    test_support::TempDir dir;
    arrange(dir.path(), c.layout);
    const bool was_link = fs::is_symlink(dir / "Tweak.xml");
    const auto old_content = test_support::read_file(dir / c.lands);
    const bool saved = c.how == "new file" || c.how == "in place";
#ifndef _WIN32
    const std::string old_attributes = attributes(dir / c.lands);
    struct stat old_status {};
    ::stat((dir / c.lands).c_str(), &old_status);
    // A reader of the old file keeps reading it, unless it is written over in place (no pipe: it would wait).
    std::ifstream reader(old_content ? dir / c.lands : fs::path());
#endif
    auto expected_tree = test_support::list_tree(dir.path());
    if (saved && !old_content) expected_tree.push_back(c.lands);
    std::sort(expected_tree.begin(), expected_tree.end());

    const std::string outcome = test_support::run_unprivileged(dir.path(), [&] {
      savefile::plant_failures(c.planted);
      const std::string saved_or_not = save(dir / "Tweak.xml", k_new);
      savefile::plant_failures({});
      return saved_or_not;
    });
    EXPECT_EQ(outcome, saved ? "saved" : c.how == "cut short" ? "failed" : c.how);
    EXPECT_EQ(test_support::read_file(dir / c.lands), saved || c.how == "cut short" ? k_new : old_content);
    if (saved || c.how == "cut short") {
      // Windows has no modes: a file is read-only or it is not.
      EXPECT_EQ(fs::status(dir / c.lands).permissions() & fs::perms(0777), k_on_windows ? fs::perms(0666) : c.mode);
#ifndef _WIN32
      struct stat status {};
      if (c.group >= 0) {
        EXPECT_TRUE(::stat((dir / c.lands).c_str(), &status) == 0 && status.st_gid == gid_t(c.group));
      }
      if (old_content) {
        EXPECT_EQ(attributes(dir / c.lands), old_attributes);
      }
#endif
    }
#ifndef _WIN32
    if (old_content) {
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), c.how == "in place" ? k_new : "old");
    }
    // Room reserved for a save that did not come is given back, where the old file still is.
    struct stat status {};
    const bool gave_up = c.how == "failed" || c.how == "cut short";
    EXPECT_TRUE(!gave_up || (::stat((dir / (c.how == "cut short" ? "game/real.xml" : c.lands)).c_str(), &status) == 0 &&
                             status.st_blocks == old_status.st_blocks));
#endif
    EXPECT_EQ(fs::is_symlink(dir / "Tweak.xml"), was_link);
    EXPECT_EQ(test_support::list_tree(dir.path()), expected_tree);
  }
#ifndef _WIN32
  ::umask(umask);
#endif
}

// A commit that cannot put the new file in place, as a folder came to the
// target's place, says so.
TEST(FileReplacement, AFailedCommitSaysSo) {
  test_support::TempDir dir;
  auto replacement = savefile::FileReplacement::begin(dir / "Tweak.xml");
  fs::create_directory(dir / "Tweak.xml");
  EXPECT_TRUE(replacement && !replacement->commit());
}

#ifndef _WIN32
// What a save that a signal ends before its commit leaves: the old file, and
// nothing else but for a named temporary file that SIGKILL, which no process
// can catch, ends. The save runs after another has come and gone.
TEST(FileReplacement, ASaveEndedByASignalLeavesTheOldFile) {
  const struct {
    Naming naming;
    int signal;
    std::size_t files;
  } cases[] = {{Naming::named, SIGTERM, 1}, {Naming::named, SIGKILL, 2}, {Naming::unnamed_where_possible, SIGKILL, 1}};
  for (const auto& c : cases) {
    test_support::TempDir dir;
    test_support::write_file(dir / "Tweak.xml", "old");
    const pid_t child = ::fork();
    if (child == 0) {
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
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal);
    EXPECT_EQ(test_support::read_file(dir / "Tweak.xml"), "old") << strsignal(c.signal);
    EXPECT_EQ(test_support::list_tree(dir.path()).size(), c.files + 1) << strsignal(c.signal);  // and Earlier.xml
  }
}

// Two saves over a file of several names take turns: one that finds the file
// held by another waits for it (the system's list of locks shows it waiting),
// then writes its whole content.
TEST(FileReplacement, SavesInPlaceTakeTurns) {
  test_support::TempDir dir;
  arrange(dir.path(), "Tweak.xml;other.xml=Tweak.xml");
  const int held = ::open((dir / "Tweak.xml").c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  std::thread later([&] { EXPECT_EQ(save(dir / "Tweak.xml", "later"), "saved"); });
  int look = 0;
  while (test_support::read_file("/proc/locks").value_or("").find("-> FLOCK") == std::string::npos && ++look < 10000) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_LT(look, 10000) << "the save does not wait";
  EXPECT_EQ(::write(held, "first, and longer", 17), 17);
  ::close(held);
  later.join();
  EXPECT_EQ(test_support::read_file(dir / "other.xml"), "later");
}
#endif

#ifdef _WIN32
// A new version, hidden until then as a name starting with a dot hides it
// elsewhere, takes the old one's place hidden only where the old one was, or
// shown where there was none.
TEST(ReplaceFile, TheNewFileIsHiddenOnlyWhereTheTargetWas) {
  for (const DWORD attributes : {DWORD{0}, DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN}}) {
    test_support::TempDir dir;
    if (attributes != 0) {
      test_support::write_file(dir / "target", "old");
      ASSERT_TRUE(::SetFileAttributesW((dir / "target").c_str(), attributes));
    }
    fs::path made;
    std::error_code error;
    linescan::File file = savefile::create_unique_file(dir.path(), ".t.", made, error);
    ASSERT_TRUE(file) << error.message();
    EXPECT_EQ(::GetFileAttributesW(made.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    ASSERT_FALSE(file.close());
    EXPECT_FALSE(savefile::replace_file(made, dir / "target"));
    EXPECT_EQ(::GetFileAttributesW((dir / "target").c_str()) & FILE_ATTRIBUTE_HIDDEN, attributes & FILE_ATTRIBUTE_HIDDEN);
  }
}
#endif

}  // namespace
