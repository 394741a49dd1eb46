#include "linescan/file.h"

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

TEST(OpenRegularFile, OpensOnlyRegularFiles) {
  test_support::TempDir dir;
  test_support::write_file(dir / "file", "x");
  fs::create_directory(dir / "folder");
  EXPECT_TRUE(opens(dir / "file"));
  EXPECT_FALSE(opens(dir / "missing"));
  EXPECT_FALSE(opens(dir / "folder"));
}

TEST(OpenRegularFile, RefusesPipesAndDevicesWithoutWaiting) {
  if (k_on_windows) GTEST_SKIP() << "Windows has no named pipe or device in a folder's listing";
  test_support::TempDir dir;
  ASSERT_TRUE(test_support::make_pipe(dir / "pipe"));
  EXPECT_FALSE(opens(dir / "pipe"));  // a pipe without a writer
  EXPECT_FALSE(opens("/dev/zero"));
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
