#include "linescan/regular_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "test_support/files.h"

namespace {

TEST(OpenRegularFile, OpensOnlyRegularFiles) {
  test_support::TempDir dir;
  test_support::write_file(dir / "file", "x");
  std::filesystem::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir / "file", dir / "link");

  EXPECT_TRUE(linescan::open_regular_file(dir / "file"));
  EXPECT_TRUE(linescan::open_regular_file(dir / "link"));
  for (const auto& refused : {dir / "missing", dir / "folder", dir / "pipe", std::filesystem::path("/dev/zero")}) {
    EXPECT_FALSE(linescan::open_regular_file(refused)) << refused;  // a pipe without a writer: no wait either
  }
}

}  // namespace
