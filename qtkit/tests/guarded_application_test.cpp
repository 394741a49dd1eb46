#include "qtkit/guarded_application.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

#include "test_support/recording.h"

namespace {

using Messages = std::vector<std::string>;

class GuardedStart : public testing::Test {
 protected:
  GuardedStart() { application.set_failure_sink(failures); }

  qtkit::GuardedApplication& application = *qobject_cast<qtkit::GuardedApplication*>(QCoreApplication::instance());
  static inline test_support::RecordingMessages failures;  // the application keeps pointing at it
  void SetUp() override { failures.shown.clear(); }
};

// Throws from its event handler, as a handler that runs out of memory would.
class Thrower : public QObject {
 protected:
  bool event(QEvent*) override { throw std::runtime_error("disque absent"); }
};

TEST_F(GuardedStart, AnExceptionFromAHandlerStopsAtTheApplication) {
  Thrower thrower;
  QEvent event(QEvent::User);
  EXPECT_NO_THROW(EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event)));
  EXPECT_EQ(failures.shown, Messages{"Erreur inattendue : disque absent"});
}

// That the user is shown an exception that escapes the window, however it
// escapes: thrown while the window is built, or by a handler in the loop.
// What the message says of each kind is the messaging library's.
TEST_F(GuardedStart, ShowsAnEscapingExceptionAndEndsWithExitCodeZero) {
  const struct {
    const char* name;
    std::function<void()> raise;
    bool while_building;
    Messages shown;
  } cases[] = {
      {"closed normally", [] { QCoreApplication::quit(); }, false, {}},
      {"from a handler", [] { throw std::runtime_error("disque absent"); }, false, {"Erreur inattendue : disque absent"}},
      {"while building", [] { throw std::runtime_error("forme"); }, true, {"Erreur inattendue : forme"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
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
    EXPECT_EQ(code, 0);
    EXPECT_EQ(failures.shown, c.shown);
    EXPECT_EQ(shown, !c.while_building);
  }
}

}  // namespace
