#include "savefile/file_replacement.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <thread>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "test_support/files.h"

// The save on the system's own disks, where only a real disk answers: modes,
// owners, access lists, extended attributes, links, locks, signals.
namespace {

namespace fs = std::filesystem;
using test_support::k_on_windows;

#ifndef _WIN32
// An access list: the owner may read and write, and `named` users from 2000
// on; the group read, the mask (where there are named users) read and write,
// others `other`.
std::string access_list(int named, char other) {
  std::string list("\2\0\0\0\1\0\6\0\377\377\377\377", 12);
  for (int user = 2000; user < 2000 + named; ++user) list += std::string("\2\0\6\0", 4) + char(user) + char(user >> 8) + std::string(2, 0);
  list += std::string("\4\0\4\0\377\377\377\377", 8) + (named > 0 ? std::string("\20\0\6\0\377\377\377\377", 8) : "");
  return list + std::string("\40\0", 2) + other + std::string(1, 0) + std::string(4, '\377');
}
#endif

// Holds a lock on the file at path, as another program would, until it goes.
struct HeldLock {
#ifdef _WIN32
  explicit HeldLock(const fs::path& path) : file(::CreateFileW(path.c_str(), GENERIC_READ, 7, nullptr, OPEN_EXISTING, 0, nullptr)) {
    ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
  }
  OVERLAPPED whole{};
  ~HeldLock() { ::CloseHandle(file); }
  HANDLE file;
#else
  explicit HeldLock(const fs::path& path) : file(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) { ::flock(file, LOCK_EX); }
  ~HeldLock() { ::close(file); }
  int file;
#endif
};

// Makes in dir what layout says, item after item, each separated by ';':
// "a>b", a link a to b; "a=b", a second name a of the file b; "a|", a named
// pipe; "a/" a folder and any other name a file that holds "old", either
// with ":mode" in octal, and "+" gives a file an attribute and an access list
// by which user 2000 may read and write it, its group and others only read
// ("*" the attribute alone);
// and any with "@uid", given to that user and the group "users" (100). A
// folder's "+" is its default access list, "++" a long one by which 74
// users may read and write, others nothing, and "-+" one without named users. "a!" locks the file a, as
// another program would, until held goes.
void arrange(const fs::path& dir, std::string_view layout, std::optional<HeldLock>& held) {
  for (std::size_t end; !layout.empty(); layout.remove_prefix(end == layout.npos ? layout.size() : end + 1)) {
    end = layout.find(';');
    std::string item(layout.substr(0, end));
    const std::size_t at = item.find('@');
    const std::string owner = at == item.npos ? "" : item.substr(at + 1);
    item.resize(std::min(at, item.size()));
    const std::string name = item.substr(0, item.find_first_of(":>|=+!-*"));
    if (item.find('>') != std::string::npos) {
      fs::create_symlink(item.substr(name.size() + 1), dir / name);
    } else if (item.find('=') != std::string::npos) {
      fs::create_hard_link(dir / item.substr(name.size() + 1), dir / name);
    } else if (item.ends_with('|')) {
      ASSERT_TRUE(test_support::make_pipe(dir / name));
    } else if (!name.ends_with('/')) {
      fs::create_directories((dir / name).parent_path());
      test_support::write_file(dir / name, "old");
      if (item.ends_with('!')) held.emplace(dir / name);
    } else {
      fs::create_directories(dir / name);
    }
    if (item.find(':') != std::string::npos) fs::permissions(dir / name, fs::perms(std::stoi(item.substr(name.size() + 1), nullptr, 8)));
#ifndef _WIN32
    if (item.ends_with('+') || item.ends_with('*')) {
      ASSERT_EQ(::setxattr((dir / name).c_str(), "user.empty", "", 0, 0), 0);
    }
    if (item.ends_with('+')) {
      const std::string list = item.ends_with("++") ? access_list(74, 0) : item.ends_with("-+") ? access_list(0, 0) : access_list(1, 4);
      const char* kind = name.ends_with('/') ? "system.posix_acl_default" : "system.posix_acl_access";
      ASSERT_EQ(::setxattr((dir / name).c_str(), kind, list.data(), list.size(), 0), 0);
    }
    if (!owner.empty()) {
      ASSERT_EQ(::lchown((dir / name).c_str(), static_cast<uid_t>(std::stoi(owner)), 100), 0);
    }
#endif
  }
}

// Each extended attribute of the file at path, an access list among them,
// and with group its group (nothing on Windows).
std::set<std::string> owned([[maybe_unused]] const fs::path& path, [[maybe_unused]] bool group) {
  std::set<std::string> all;
#ifndef _WIN32
  struct stat status {};
  if (group && ::stat(path.c_str(), &status) == 0) all.insert("group " + std::to_string(status.st_gid));
  char names[256];
  const ssize_t size = ::listxattr(path.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    char value[256];
    all.insert(std::string(names + at) + "=" + std::string(value, std::max<ssize_t>(::getxattr(path.c_str(), names + at, value, sizeof value), 0)));
  }
#endif
  return all;
}

// Saves content over target: "saved", "failed" or "refused".
std::string save(const fs::path& target, std::string_view content) {
  auto replacement = savefile::FileReplacement::begin(target);
  if (!replacement) return "refused";
  const bool written = linescan::write_all(replacement->sink(), content);
  return written && replacement->commit().kind == savefile::Outcome::Kind::saved ? "saved" : "failed";
}

// Tweak.xml, then a chain of links to game/real.xml: `links` links in all.
std::string chain(int links) {
  std::string layout = "game/real.xml:640;Tweak.xml>";
  for (int i = 1; i < links; ++i) layout.append("l").append(std::to_string(i)).append(";l").append(std::to_string(i)).append(">");
  return layout + "game/real.xml";
}

// A save over dir/Tweak.xml by an ordinary user, and all it must leave: the
// content where the target leads, its mode, group and attributes, the link, what a reader
// of the old file reads, and no other file. A new file's mode comes from the
// umask, here 022, or the folder's default access list. In a folder where
// anyone may make a file but only its owner remove it (/tmp), a link is
// followed only where the saver or the folder's owner made it. A file that a
// new one could not stand for unchanged is written over in place, unless
// another program holds it locked.
TEST(FileReplacement, ReplacesAWritableFileOrLeavesTheTargetAsItWas) {
#ifndef _WIN32
  const mode_t umask = ::umask(022);
#endif
  const std::string k_new(5000, 'n');
  const std::string k_long(249, 'l');

  const struct {
    std::string layout;
    std::string lands;    // the file that takes the new content, if any
    std::string how;      // "new file", "in place", "failed", "refused"
    fs::perms mode = {};  // the permissions lands then has, where they are POSIX modes
    bool posix = false;   // needs modes, named pipes or links, which a Windows folder lacks
    bool group = false;   // it keeps its group, which is not the saver's own
  } cases[] = {
      {"", "Tweak.xml", "new file", fs::perms(0644)},
      {"Tweak.xml:640", "Tweak.xml", "new file", fs::perms(0640)},
      {"Tweak.xml:640;game/;game/real.xml=Tweak.xml", "game/real.xml", "in place", fs::perms(0640)},
      {"Tweak.xml:640+", "Tweak.xml", "new file", fs::perms(0664), true},  // the group bits: the access list's mask
      {"Tweak.xml:660;./+", "Tweak.xml", "new file", fs::perms(0660), true},  // and none from the folder's default one
      {"Tweak.xml:660*;./+", "Tweak.xml", "new file", fs::perms(0660), true},
      {"Tweak.xml:640+;./++", "Tweak.xml", "new file", fs::perms(0664), true},  // its own, not the folder's
      {"./+", "Tweak.xml", "new file", fs::perms(0664), true},  // a new file: the default list, not the umask
      {"./++", "Tweak.xml", "new file", fs::perms(0660), true},
      {"./-+", "Tweak.xml", "new file", fs::perms(0640), true},
      {"Tweak.xml!;other.xml=Tweak.xml", "Tweak.xml", "failed"},  // after a few seconds
      {"Tweak.xml:444", "Tweak.xml", "refused"},
      {"Tweak.xml:644@1", "Tweak.xml", "refused", {}, true},  // another's, that the saver may only read
      {"Tweak.xml/", "Tweak.xml", "refused"},
      {chain(1), "game/real.xml", "new file", fs::perms(0640), true},
      {chain(40), "game/real.xml", "new file", fs::perms(0640), true},  // as many as Linux follows
      {chain(41), "game/real.xml", "refused", {}, true},
      {"game/;Tweak.xml>game/new.xml", "game/new.xml", "new file", fs::perms(0644), true},
      {k_long + ";Tweak.xml>" + k_long, k_long, "new file", fs::perms(0644), true},
      {"Tweak.xml>nowhere/real.xml", "nowhere/real.xml", "refused", {}, true},
      {"Tweak.xml|", "Tweak.xml", "refused", {}, true},
      {chain(1) + ";game/:555", "game/real.xml", "in place", fs::perms(0640), true},  // its copy in the temporary folder
      {"game/:555;Tweak.xml>game/new.xml", "game/new.xml", "refused", {}, true},
      {"Tweak.xml:664@1", "Tweak.xml", "in place", fs::perms(0664), true, true},  // a file the saver cannot give away
      {"game/real.xml:640;Tweak.xml>game/real.xml@1", "game/real.xml", "new file", fs::perms(0640), true},
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
    std::optional<HeldLock> held;
    arrange(dir.path(), c.layout, held);
    const bool was_link = fs::is_symlink(dir / "Tweak.xml");
    const auto old_content = test_support::read_file(dir / c.lands);
    const bool saved = c.how == "new file" || c.how == "in place";
    const auto old_owned = owned(dir / c.lands, c.group);
    // A reader of the old file keeps reading it, unless it is written over in
    // place (no pipe: it would wait; and Windows would not replace a file open).
    std::ifstream reader(old_content && !k_on_windows ? dir / c.lands : fs::path());
    auto expected_tree = test_support::list_tree(dir.path());
    if (saved && !old_content) expected_tree.push_back(c.lands);
    std::sort(expected_tree.begin(), expected_tree.end());

    const std::string outcome = test_support::run_unprivileged(dir.path(), [&] { return save(dir / "Tweak.xml", k_new); });
    EXPECT_EQ(outcome, saved ? "saved" : c.how);
    EXPECT_EQ(test_support::read_file(dir / c.lands), saved ? k_new : old_content);
    if (saved) {
      // Windows has no modes: a file is read-only or it is not.
      EXPECT_EQ(fs::status(dir / c.lands).permissions() & fs::perms(0777), k_on_windows ? fs::perms(0666) : c.mode);
    }
    EXPECT_EQ(old_content ? owned(dir / c.lands, c.group) : old_owned, old_owned);
    const std::string read = c.how == "in place" ? k_new : "old";
    EXPECT_EQ(reader ? std::string(std::istreambuf_iterator<char>(reader), {}) : read, read);
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
  EXPECT_TRUE(replacement && replacement->commit().kind == savefile::Outcome::Kind::unchanged);
}

#ifndef _WIN32
// A signal that ends the process, sent from another thread, removes the
// guarded file, then reaches the handler that was there before (here one
// that exits with 7, or none); held, it waits until the release; once the
// guard is dropped, it leaves the file, and guards the next one.
TEST(FileReplacement, ASignalRemovesTheGuardedFile) {
  for (const auto& [held, handled, dropped] : {std::tuple(false, false, false), std::tuple(true, false, false),
                                               std::tuple(false, true, false), std::tuple(false, false, true)}) {
    test_support::TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
      if (handled) ::signal(SIGTERM, [](int) { ::_exit(7); });
      savefile::Disk& disk = savefile::system_disk();
      std::error_code error;
      savefile::NewFile made = disk.create(dir.path(), ".t.", error);
      if (made.name.empty()) made.name = disk.give_name(*made.file, dir.path(), ".t.", error);
      if (held) disk.hold_signals();
      if (dropped) {  // the guard is there for the next file
        disk.drop_guard();
        made = disk.create(dir.path(), ".t.", error);
        if (made.name.empty()) made.name = disk.give_name(*made.file, dir.path(), ".t.", error);
      }
      std::thread([] { ::kill(::getpid(), SIGTERM); }).join();
      if (fs::exists(made.name) && held) fs::rename(made.name, dir / "waited");
      disk.release_signals();
      ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, handled ? 7 << 8 : SIGTERM) << held;
    EXPECT_EQ(test_support::list_tree(dir.path()).size(), held || dropped ? 1u : 0u) << held << dropped;
  }
}
#else
// A new version, hidden until then as a name starting with a dot hides it
// elsewhere, takes the old one's place hidden only where the old one was, or
// shown where there was none.
TEST(FileReplacement, TheNewFileIsHiddenOnlyWhereTheTargetWas) {
  for (const DWORD attributes : {DWORD{0}, DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN}}) {
    test_support::TempDir dir;
    if (attributes != 0) {
      test_support::write_file(dir / "target", "old");
      ASSERT_TRUE(::SetFileAttributesW((dir / "target").c_str(), attributes));
    }
    std::error_code error;
    savefile::NewFile made = savefile::system_disk().create(dir.path(), ".t.", error);
    ASSERT_FALSE(made.file->close());
    EXPECT_EQ(::GetFileAttributesW(made.name.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_FALSE(savefile::system_disk().rename(made.name, dir / "target", true));
    EXPECT_EQ(::GetFileAttributesW((dir / "target").c_str()) & FILE_ATTRIBUTE_HIDDEN, attributes & FILE_ATTRIBUTE_HIDDEN);
  }
}
#endif

}  // namespace
