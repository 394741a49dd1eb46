#include "linescan/file.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

#include <gtest/gtest.h>

#include <fstream>

#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;
using test_support::k_on_windows;

bool opens(const fs::path& path) {
  std::error_code error;
  const linescan::File file = linescan::open_regular_file(path, error);
  EXPECT_EQ(file.is_open(), !error);
  return file.is_open();
}

// Whether the open failed because nothing there is a file, or because the
// file there may not be read: the tools say one or the other.
std::string refusal(const fs::path& path) {
  std::error_code error;
  const linescan::File file = linescan::open_regular_file(path, error);
  if (!error) return file ? "opened" : "no file, no error";
  return linescan::is_missing(error) ? "missing" : "unreadable";
}

TEST(OpenRegularFile, TellsAMissingFileFromOneThatMayNotBeRead) {
  test_support::TempDir dir;
  test_support::write_file(dir / "file", "x");
  test_support::write_file(dir / "locked", "x");
  fs::create_directory(dir / "folder");
  EXPECT_EQ(refusal(dir / "file"), "opened");
  EXPECT_EQ(refusal(dir / "missing"), "missing");
  EXPECT_EQ(refusal(dir / "missing" / "file"), "missing");
  EXPECT_EQ(refusal(dir / "folder"), "missing");
  EXPECT_EQ(test_support::while_unreadable(dir / "locked", [&] { return refusal(dir / "locked"); }), "unreadable");
}

TEST(OpenRegularFile, RefusesTheKernelsOwnFilesAtOnce) {
  if (k_on_windows) GTEST_SKIP() << "no /proc or /sys on Windows";
  // Regular files to stat(), but views of the running system: some reads
  // never end (/proc/kmsg), none is a tweak file.
  for (const char* path : {"/proc/self/status", "/proc/self/mem", "/sys/kernel/uevent_seqnum"}) {
    if (!fs::exists(path)) continue;
    EXPECT_EQ(refusal(path), "unreadable") << path;
  }
}

TEST(OpenRegularFile, RefusesPipesAndDevicesWithoutWaiting) {
  if (k_on_windows) GTEST_SKIP() << "Windows has no named pipe or device in a folder's listing";
  test_support::TempDir dir;
  ASSERT_TRUE(test_support::make_pipe(dir / "pipe"));
  EXPECT_FALSE(opens(dir / "pipe"));  // a pipe without a writer
  EXPECT_FALSE(opens("/dev/zero"));
}

TEST(File, ReportsARealReadError) {
  if (k_on_windows) GTEST_SKIP() << "no /proc on Windows";
  // Reads of this file fail: the start of the process's memory is unmapped.
  linescan::File memory(::open("/proc/self/mem", O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(memory);
  char block[16];
  EXPECT_EQ(memory.read(block), -1);
}

TEST(ReplaceFile, WaitsForAProgramThatHoldsTheTargetOpen) {
  test_support::TempDir dir;
  // Another program reads the target meanwhile: Windows refuses to replace
  // it until it is let go; elsewhere nothing stops the replacement.
  for (const int let_go_after : {3, 100}) {
    SCOPED_TRACE(let_go_after);
    test_support::write_file(dir / "new", "new");
    test_support::write_file(dir / "target", "old");
    auto reader = std::make_unique<std::ifstream>(dir / "target");
    int pauses = 0;
    const std::error_code error = linescan::replace_file(dir / "new", dir / "target", [&] {
      if (++pauses == let_go_after) reader.reset();
    });
    const bool replaced = !k_on_windows || let_go_after == 3;
    EXPECT_EQ(!error, replaced) << error.message();
    EXPECT_EQ(pauses, k_on_windows ? std::min(let_go_after, 9) : 0);
    EXPECT_EQ(test_support::read_file(dir / "target"), replaced ? "new" : "old");
  }
}

TEST(CreateUniqueFile, NeverReplacesAFile) {
  test_support::TempDir dir;
  std::vector<fs::path> made(20);
  for (fs::path& path : made) {
    std::error_code error;
    EXPECT_TRUE(linescan::create_unique_file(dir.path(), ".t.", path, error)) << error.message();
    EXPECT_EQ(path.parent_path(), dir.path());
    EXPECT_TRUE(path.filename().string().starts_with(".t."));
  }
  EXPECT_EQ(test_support::list_tree(dir.path()).size(), made.size());
}

}  // namespace
