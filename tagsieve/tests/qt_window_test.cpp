#include <QCoreApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tform1.h"
#include "window.h"

namespace {

// The first local file of a drop goes to the path box, wherever it lands; a
// drop of no file is refused.
TEST(TagWindow, ADroppedFileGoesToThePathBox) {
  tagsieve::TForm1 form;
  auto& path_box = form.control<QLineEdit>("Edit1");
  for (const bool a_file : {true, false}) {
    path_box.setText("before");
    QMimeData data;
    data.setUrls({QUrl("https://example.org/a.xml"), a_file ? QUrl::fromLocalFile("/a/weaptwk.xml") : QUrl()});
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QWidget* target = a_file ? form.control<QPlainTextEdit>("RichEdit1").viewport() : &form;
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_EQ(std::pair(enter.isAccepted() && drop.isAccepted(), path_box.text()), std::pair(a_file, QString(a_file ? "/a/weaptwk.xml" : "before")));
  }
}
#if defined(__SANITIZE_ADDRESS__)
constexpr bool k_address_sanitizer = true;
#elif defined(__has_feature)
constexpr bool k_address_sanitizer = __has_feature(address_sanitizer);
#else
constexpr bool k_address_sanitizer = false;
#endif

// With little address space left, a scan of a million values says that memory
// ran out and leaves the pane empty; the window goes on, and the next scan
// works. This runs in a child process, this program started again with only
// this test and the environment variable below, so that the limit is its own.
constexpr const char* k_memory_limit_run = "TAGSIEVE_TEST_MEMORY_LIMIT_RUN";

TEST(TagWindow, AScanTooLargeForMemorySaysSoAndTheWindowGoesOn) {
  if (k_address_sanitizer) GTEST_SKIP() << "AddressSanitizer maps more address space than the limit leaves";
  if (std::getenv(k_memory_limit_run) == nullptr) {
    const std::string command = std::string(k_memory_limit_run) + "=1 timeout 60 /proc/" + std::to_string(::getpid()) +
                                "/exe --gtest_filter=TagWindow.AScanTooLargeForMemorySaysSoAndTheWindowGoesOn";
    EXPECT_EQ(std::system(command.c_str()), 0) << "the run under a limit failed";
    return;
  }
  test_support::TempDir dir;
  std::string text = "<Damage>5</Damage>\n";
  test_support::write_file(dir / "small.xml", text);
  for (int i = 0; i < 1'000'000; ++i) text += "<V>" + std::to_string(i) + "</V>\n";
  test_support::write_file(dir / "big.xml", text);
  test_support::RecordingMessages messages;
  tagsieve::TForm1 form(&messages);
  test_support::Window window(form);
  const auto scan = [&](const char* file, const char* tag) {
    window.type("Edit1", (dir / file).string());
    window.type("Edit2", tag);
    window.click("Button1");
    return window.seen("RichEdit1").text;
  };
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  const rlimit limit{pages * static_cast<std::size_t>(::getpagesize()) + (96 << 20), RLIM_INFINITY};
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &limit), 0);
  EXPECT_EQ(scan("big.xml", "V"), "");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Mémoire insuffisante : l'opération a été abandonnée."});
  EXPECT_EQ(scan("small.xml", "Damage"), "5");
}

}  // namespace
