#pragma once

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <exception>
#include <functional>
#include <memory>

#include "qtkit/message_box.h"

namespace qtkit {

// The application object, made safe against exceptions: one that escapes an
// event handler (running out of memory, say) is shown in a message box and
// the event loop then ends, instead of the program aborting. A write past the
// file-size limit fails as a full disk would, rather than ending the program.
class GuardedApplication : public QApplication {
  Q_OBJECT

 public:
  GuardedApplication(int& argc, char** argv);

  // Ties the windows to the desktop entry desktop_id, whose icon they show:
  // the theme's where the tools are installed, else the one built in.
  void identify(const QString& desktop_id);

  // Where failure messages go; message boxes unless told otherwise.
  void set_failure_sink(messaging::MessageSink& sink) { failures_ = &sink; }

  bool notify(QObject* receiver, QEvent* event) override;

  // Called from a catch block: shows what was caught and ends the event loop.
  void report_failure();

 private:
  MessageBoxSink message_boxes_;
  messaging::MessageSink* failures_ = &message_boxes_;
};

// Builds the window that make_form returns, shows it and runs the event loop
// until it is closed. An exception from building the window or from the loop
// is shown through the application's failure sink. Always 0, the exit code.
int run_window(GuardedApplication& application, const std::function<std::unique_ptr<QWidget>()>& make_form);

// Whether a display is named for the windows (an X or a Wayland one, or a
// platform of Qt's own); where none is, a line on stderr says so in the
// name of program, since Qt would end the process with its own words.
[[nodiscard]] bool check_display(const char* program);

// A program's whole start: its application object, named for the desktop
// entry desktop_id (org.tweaktools.Tintmere) whose icon its window shows, and
// its one window, Form. Exit code 1 where there is no display, else 0.
template <typename Form>
int run_program(int argc, char** argv, const char* desktop_id) {
  if (!check_display(argv[0])) return 1;
  try {
    GuardedApplication application(argc, argv);
    application.identify(desktop_id);
    return run_window(application, [] { return std::make_unique<Form>(); });
  } catch (const std::exception& error) {
    // No application object, so no message box: the terminal is all there is.
    std::fprintf(stderr, "%s : %s\n", argv[0], error.what());
  }
  return 0;
}

}  // namespace qtkit
