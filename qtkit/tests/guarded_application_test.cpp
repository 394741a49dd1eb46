#include "qtkit/guarded_application.h"

#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "qtkit/message_box.h"
#include "test_support/recording.h"

namespace {

// (Before the tests below, which end the application's event loop.)
// A message box shows the text with the ordinary pointer, over a wait cursor
// too, which comes back after; the windows are tied to their desktop entry,
// whose icon they show.
TEST(MessageBoxSink, ShowsTheTextWithTheOrdinaryPointer) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QString text;
  Qt::CursorShape during = Qt::BlankCursor;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::tie(text, during) = std::pair(box->text(), QGuiApplication::overrideCursor()->shape());
      box->accept();
    }
  });
  answer.start(10);
  qtkit::MessageBoxSink().show_message("Fichier \xC3\xA9" "crit");
  EXPECT_EQ(std::tuple(text, during, QGuiApplication::overrideCursor()->shape()),
            std::tuple(QString::fromUtf8("Fichier \xC3\xA9" "crit"), Qt::ArrowCursor, Qt::WaitCursor));
  QGuiApplication::restoreOverrideCursor();
  qobject_cast<qtkit::GuardedApplication*>(QCoreApplication::instance())->identify("org.tweaktools.Tintmere");
  EXPECT_EQ(QGuiApplication::desktopFileName(), "org.tweaktools.Tintmere");
  EXPECT_FALSE(QApplication::windowIcon().isNull());
}

// That the user is shown an exception that escapes the window, however it
// escapes: thrown while the window is built, or by a handler in the loop,
// which the loop does not outlive; the exit code is 0. What the message says
// of each kind of exception is the messaging library's.
TEST(GuardedStart, ShowsAnEscapingExceptionAndEndsWithExitCodeZero) {
  auto& application = *qobject_cast<qtkit::GuardedApplication*>(QCoreApplication::instance());
  static test_support::RecordingMessages failures;  // the application keeps pointing at it
  application.set_failure_sink(failures);
  const struct {
    std::function<void()> raise;
    bool while_building;
    std::vector<std::string> shown;
  } cases[] = {
      {[] { QCoreApplication::quit(); }, false, {}},
      {[] { throw std::runtime_error("disque absent"); }, false, {"Erreur inattendue : disque absent"}},
      {[] { throw std::runtime_error("forme"); }, true, {"Erreur inattendue : forme"}},
  };
  for (const auto& c : cases) {
    failures.shown.clear();
    bool shown = false;
    const int code = qtkit::run_window(application, [&] {
      if (c.while_building) c.raise();
      auto form = std::make_unique<QWidget>();
      QTimer::singleShot(0, form.get(), [&, window = form.get()] {
        shown = window->isVisible();
        c.raise();
      });
      return form;
    });
    EXPECT_EQ(std::tuple(code, failures.shown, shown), std::tuple(0, c.shown, !c.while_building));
  }
}

// Under a file-size limit, a write past it fails as a full disk would and
// the program goes on to say so.
TEST(GuardedApplication, AWritePastTheFileSizeLimitFails) {
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit small{100, RLIM_INFINITY};
    std::FILE* file = std::tmpfile();
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool failed = ::write(::fileno(file), std::string(200, 'x').data(), 200) == 100 &&
                        ::write(::fileno(file), "x", 1) == -1 && errno == EFBIG;
    ::_exit(failed ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
