#include "linescan/text_writer.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include "linescan/regular_file.h"
#include "test_support.h"

namespace {

using namespace std::literals;

std::string written(std::initializer_list<std::string_view> parts, std::size_t block_size) {
  test_support::TempDir dir;
  const auto path = dir / "out";
  linescan::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  linescan::TextWriter writer(fd.get(), block_size);
  for (const auto part : parts) writer.write(part);
  EXPECT_TRUE(writer.flush());
  return test_support::read_file(path).value_or("<unreadable>");
}

TEST(TextWriter, WritesEveryNewlineAsCrLfAndEveryOtherByteAsItIs) {
  for (const std::size_t block : {1, 2, 3, 64 * 1024}) {
    SCOPED_TRACE(block);
    EXPECT_EQ(written({"a\nb", "\n", "", "\r%i\0\n"sv}, block), "a\r\nb\r\n\r%i\0\r\n"sv);
    EXPECT_EQ(written({}, block), "");
  }
}

TEST(TextWriter, AFullDiskIsAFailure) {
  linescan::UniqueFd full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
  ASSERT_TRUE(full);
  linescan::TextWriter writer(full.get(), 4);
  writer.write("more than one block\n");
  EXPECT_TRUE(writer.failed());
  EXPECT_FALSE(writer.flush());
}

TEST(OpenRegularFile, OpensOnlyRegularFiles) {
  test_support::TempDir dir;
  test_support::write_file(dir / "file", "x");
  std::filesystem::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir / "file", dir / "link");

  EXPECT_TRUE(linescan::open_regular_file(dir / "file"));
  EXPECT_TRUE(linescan::open_regular_file(dir / "link"));
  EXPECT_FALSE(linescan::open_regular_file(dir / "missing"));
  EXPECT_FALSE(linescan::open_regular_file(dir / "folder"));
  EXPECT_FALSE(linescan::open_regular_file(dir / "pipe"));  // and does not wait for a writer
  EXPECT_FALSE(linescan::open_regular_file("/dev/zero"));
}

}  // namespace
