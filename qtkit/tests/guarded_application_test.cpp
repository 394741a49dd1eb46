#include "qtkit/guarded_application.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <new>
#include <stdexcept>

#include "test_support/recording.h"

namespace {

// That the user is shown an exception that escapes the window, in French
// whatever its kind, however it escapes: thrown while the window is built, or
// by a handler in the loop, which the loop does not outlive; the exit code is
// 0. A write past the file-size limit fails, as on a full disk, and the
// program goes on to say so: the signal that would end it is ignored. Qt's
// own texts, a text box's menu among them, are French too.
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
      {[] { throw std::bad_alloc(); }, false, {"Mémoire insuffisante : l'opération a été abandonnée."}},
      {[] { throw 42; }, true, {"Erreur inattendue."}},
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
  EXPECT_EQ(std::signal(SIGXFSZ, SIG_IGN), SIG_IGN);
  EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Annuler");
}

// Why a start that Qt ends is said: in French where it is known (the
// display, or a platform plugin, that the start-up tests try), else after a
// French line, in Qt's own words.
TEST(GuardedStart, SaysWhyQtEndedItsStart) {
  const std::vector<std::string> said = {R"(Could not find the Qt platform plugin "xcb" in "")", "Could not load the Qt platform plugin"};
  EXPECT_EQ(qtkit::startup_failure("t", said, "no plugin", ":0"), "t : la fenêtre n'a pas pu s'ouvrir. Qt dit :\n" + said[0] + "\n" + said[1] + "\nno plugin\n");
  EXPECT_EQ(qtkit::startup_failure("t", {"Failed to create wl_display (No such file)"}, "", "wayland-0"),
            "t : aucun affichage graphique n'est ouvert (l'affichage «\u00A0wayland-0\u00A0» ne répond pas).\n");
}

}  // namespace
