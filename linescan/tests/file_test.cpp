#include "linescan/file.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

#include <gtest/gtest.h>


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
#ifdef _WIN32
  GTEST_SKIP() << "no /proc on Windows";
#else
  // Reads of this file fail: the start of the process's memory is unmapped.
  linescan::File memory(::open("/proc/self/mem", O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(memory);
  char block[16];
  EXPECT_EQ(memory.read(block), -1);
#endif
}

}  // namespace
