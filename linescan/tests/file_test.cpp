#include "linescan/file.h"

#ifndef _WIN32
#include <fcntl.h>
#endif

#include <gtest/gtest.h>

#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;

// What an open comes to: the file's bytes, or why there are none. The tools
// say "missing" when nothing there is a file to read, "unreadable" when the
// file there may not be read.
std::string opened(const fs::path& path) {
  std::error_code error;
  linescan::File file = linescan::open_regular_file(path, error);
  if (error) return file ? "an open file and an error" : linescan::is_missing(error) ? "missing" : "unreadable";
  std::string bytes(64, '\0');
  const std::ptrdiff_t count = file.read(bytes);
  return count < 0 ? "read error" : bytes.substr(0, static_cast<std::size_t>(count));
}

TEST(OpenRegularFile, OpensOnlyAFileToReadAndSaysWhyNot) {
  test_support::TempDir dir;
  // Bytes as they are: no C runtime's text mode ends the file at 0x1A.
  test_support::write_file(dir / "file", "<a/>\n\x1A<b/>\r\n");
  test_support::write_file(dir / "locked", "x");
  fs::create_directory(dir / "folder");
  EXPECT_EQ(opened(dir / "file"), "<a/>\n\x1A<b/>\r\n");
  EXPECT_EQ(opened(dir / "missing" / "file"), "missing");
  EXPECT_EQ(opened(dir / "folder"), "missing");
  EXPECT_EQ(test_support::while_unreadable(dir / "locked", [&] { return opened(dir / "locked"); }), "unreadable");
#ifndef _WIN32  // no named pipe, device or /proc in a Windows folder
  ASSERT_TRUE(test_support::make_pipe(dir / "pipe"));
  EXPECT_EQ(opened(dir / "pipe"), "missing");  // at once, with no writer
  EXPECT_EQ(opened("/dev/zero"), "missing");
  // A regular file to stat(), but a view of the running system.
  EXPECT_EQ(opened("/proc/self/status"), "unreadable");
#else
  EXPECT_EQ(opened("CON"), "missing");  // a device, which may not open at all without a console
#endif
}

#ifndef _WIN32
// A read that fails is no end of the file.
TEST(File, ReportsARealReadError) {
  // Reads of this file fail: the start of the process's memory is unmapped.
  linescan::File memory(::open("/proc/self/mem", O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(memory);
  char block[16];
  EXPECT_EQ(memory.read(block), -1);
}
#endif

}  // namespace
