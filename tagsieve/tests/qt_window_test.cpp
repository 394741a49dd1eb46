#include <QCoreApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <set>
#include <cstdio>

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

// With little address space left, a scan of many long values either lists
// them all or says that memory ran out and leaves the pane empty, whatever
// the room left; it never ends the program, and the next scan works. Each
// room is tried in a child process, this program started again with only
// this test and the environment variable below, which gives the room in
// megabytes once the window is up, so that the limit is the child's own.
constexpr const char* k_memory_limit_run = "TAGSIEVE_TEST_MEMORY_LIMIT_RUN";
constexpr int k_values = 300'000;

TEST(TagWindow, AScanTooLargeForMemorySaysSoAndTheWindowGoesOn) {
  if (k_address_sanitizer) GTEST_SKIP() << "AddressSanitizer maps more address space than the limit leaves";
  enum Outcome { listed, refused, wrong };
  const char* room = std::getenv(k_memory_limit_run);
  if (room == nullptr) {
    // From too little for the scan to more than it takes; Qt's own growth
    // once failed to fit in about a tenth of that.
    std::set<int> outcomes;  // an exit code, or a signal (negative)
    for (const int megabytes : {160, 240, 255, 270, 380, 520}) {
      const std::string command = std::string(k_memory_limit_run) + "=" + std::to_string(megabytes) + " timeout 120 /proc/" +
                                  std::to_string(::getpid()) + "/exe --gtest_filter=TagWindow.AScanTooLarge* >/dev/null";
      const int status = std::system(command.c_str());
      outcomes.insert(WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
    }
    EXPECT_EQ(outcomes, (std::set<int>{listed, refused}));
    return;
  }
  test_support::TempDir dir;
  test_support::write_file(dir / "small.xml", "<Damage>5</Damage>\n");
  std::string text;
  for (int i = 0; i < k_values; ++i) text += "<V>" + std::string(64, 'v') + std::to_string(10'000'000 + i) + "</V>\n";
  test_support::write_file(dir / "big.xml", text);
  text = {};
  test_support::RecordingMessages messages;
  tagsieve::TForm1 form(&messages);
  test_support::Window window(form);
  const auto scan = [&](const char* file, const char* tag) {
    window.type("Edit1", (dir / file).string());
    window.type("Edit2", tag);
    window.click("Button1");
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    ::setrlimit(RLIMIT_AS, &unlimited);  // room for the test's own copy of the pane
    return window.seen("RichEdit1").text;
  };
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  const rlimit limit{pages * static_cast<std::size_t>(::getpagesize()) + (std::stoul(room) << 20), RLIM_INFINITY};
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &limit), 0);
  const std::string shown = scan("big.xml", "V");
  const bool whole = messages.shown.empty() && std::count(shown.begin(), shown.end(), '\n') == k_values - 1;
  const bool said = shown.empty() && messages.shown == std::vector<std::string>{"Mémoire insuffisante : l'opération a été abandonnée."};
  std::fprintf(stderr, "room %s: %s\n", room, whole ? "listed" : said ? "refused" : "wrong");
  std::exit(scan("small.xml", "Damage") != "5" ? wrong : whole ? listed : said ? refused : wrong);
}

}  // namespace
