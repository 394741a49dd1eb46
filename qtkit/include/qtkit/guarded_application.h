#pragma once

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// What program says on its terminal where Qt ends its start with the fatal
// message fatal, having said the lines said before it: that a platform plugin
// could not be found, or that the display named does not answer, in French;
// for any other cause, that the window could not open, then Qt's own lines.
[[nodiscard]] std::string startup_failure(const std::string& program, const std::vector<std::string>& said,
                                          const std::string& fatal, const std::string& display);

// While an application object is made, which is when Qt reaches the display:
// where it cannot (a DISPLAY whose server is gone), Qt would abort with words
// of its own, and this says why in French instead (startup_failure()), in
// the name of program, and ends the process with exit code 1. What Qt says
// meanwhile is held back until then, and said when the object goes.
class DisplayWatch {
 public:
  explicit DisplayWatch(const char* program);
  ~DisplayWatch();
  DisplayWatch(const DisplayWatch&) = delete;
  DisplayWatch& operator=(const DisplayWatch&) = delete;
};

// The application object, made under a DisplayWatch.
template <typename Application>
std::unique_ptr<Application> open_application(const char* program, int& argc, char** argv) {
  const DisplayWatch watch(program);
  return std::make_unique<Application>(argc, argv);
}

// A program's whole start: its application object, named for the desktop
// entry desktop_id (org.tweaktools.Tintmere) whose icon its window shows, and
// its one window, Form, given the command line's first argument as a file,
// its bytes as they are, where it takes one (take_file). Exit code 1 where
// there is no display, else 0.
template <typename Form>
int run_program(int argc, char** argv, const char* desktop_id,
                void (Form::*take_file)(const std::filesystem::path&) = nullptr) {
  if (!check_display(argv[0])) return 1;
  try {
    const auto application = open_application<GuardedApplication>(argv[0], argc, argv);
    application->identify(desktop_id);
    return run_window(*application, [&] {
      auto form = std::make_unique<Form>();
      // Qt has taken its own options out of the command line by now.
      if (take_file != nullptr && argc > 1) ((*form).*take_file)(argv[1]);
      return form;
    });
  } catch (const std::exception& error) {
    // No application object, so no message box: the terminal is all there is.
    std::fprintf(stderr, "%s : %s\n", argv[0], error.what());
  }
  return 0;
}

}  // namespace qtkit
