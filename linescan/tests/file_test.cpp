#include "linescan/file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

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
  // Bytes as they are: a C runtime's text mode would end the file at the
  // byte that meant its end to DOS, and drop the CR.
  test_support::write_file(dir / "file", "<a/>\n\x1A<b/>\r\n");
  test_support::write_file(dir / "locked", "x");
  fs::create_directory(dir / "folder");
  EXPECT_EQ(opened(dir / "file"), "<a/>\n\x1A<b/>\r\n");
  EXPECT_EQ(opened(dir / "missing"), "missing");
  EXPECT_EQ(opened(dir / "missing" / "file"), "missing");
  EXPECT_EQ(opened(dir / "folder"), "missing");
  EXPECT_EQ(test_support::while_unreadable(dir / "locked", [&] { return opened(dir / "locked"); }), "unreadable");
  if (test_support::k_on_windows) return;  // no named pipe, device or /proc in a Windows folder
  // Without waiting for a pipe's writer.
  ASSERT_TRUE(test_support::make_pipe(dir / "pipe"));
  EXPECT_EQ(opened(dir / "pipe"), "missing");
  EXPECT_EQ(opened("/dev/zero"), "missing");
  // Regular files to stat(), but views of the running system: some reads
  // never end (/proc/kmsg), none is a tweak file.
  for (const char* path : {"/proc/self/status", "/proc/self/mem", "/sys/kernel/uevent_seqnum"}) {
    if (fs::exists(path)) {
      EXPECT_EQ(opened(path), "unreadable") << path;
    }
  }
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

#ifndef _WIN32
extern "C" void on_signal(int) {}

// A read or a write that a signal interrupts before any byte moves is tried
// again, not taken for an error: here a signal comes while each waits on a
// pipe, then a byte, or room for one.
TEST(File, ASignalDoesNotCutAReadOrAWrite) {
  struct sigaction action {};
  action.sa_handler = on_signal;  // without SA_RESTART the call itself ends, with EINTR
  struct sigaction previous {};
  ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  linescan::File reader(ends[0]);
  linescan::File writer(ends[1]);
  const auto interrupt_then = [self = ::pthread_self()](auto then) {
    return std::thread([=] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ::pthread_kill(self, SIGUSR1);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      then();
    });
  };
  std::thread helper = interrupt_then([&] { EXPECT_EQ(::write(ends[1], "x", 1), 1); });
  char byte = 0;
  EXPECT_EQ(reader.read({&byte, 1}), 1);
  helper.join();

  // Filled, the pipe makes the write wait.
  ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
  while (::write(ends[1], "f", 1) == 1) {
  }
  ::fcntl(ends[1], F_SETFL, 0);
  helper = interrupt_then([&] {
    std::vector<char> room(1 << 16);
    EXPECT_GT(::read(ends[0], room.data(), room.size()), 0);
  });
  EXPECT_EQ(writer.write({"y", 1}), 1);
  helper.join();
  ::sigaction(SIGUSR1, &previous, nullptr);

  // The end of the input is no interruption, whatever errno still says.
  ASSERT_FALSE(writer.close());
  std::vector<char> rest(1 << 17);
  while (reader.read(rest) > 0) {
  }
  EXPECT_EQ(reader.read(rest), 0);
}

// Opened without waiting for a pipe's writer, a file is read as any other:
// its reads wait, as a descriptor's ordinarily do.
TEST(OpenRegularFile, GivesAnOrdinaryDescriptor) {
  test_support::TempDir dir;
  test_support::write_file(dir / "file", "x");
  std::error_code error;
  const linescan::File file = linescan::open_regular_file(dir / "file", error);
  ASSERT_TRUE(file);
  EXPECT_EQ(::fcntl(static_cast<int>(file.native()), F_GETFL) & O_NONBLOCK, 0);
}

TEST(File, CloseLetsTheFileGo) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[1]);
  linescan::File file(ends[0]);
  EXPECT_FALSE(file.close());
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(::fcntl(ends[0], F_GETFD), -1);
  EXPECT_FALSE(file.close());  // a second close is no error
}
#endif

}  // namespace
