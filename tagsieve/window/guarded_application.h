#pragma once

#include <QApplication>

#include "linescan/user_interface.h"
#include "message_box.h"

namespace tagsieve {

// The application object, made safe against exceptions: one that escapes an
// event handler (running out of memory, say) is shown in a message box and
// the event loop then ends with exit code 0, instead of the program aborting.
class GuardedApplication : public QApplication {
  Q_OBJECT

 public:
  GuardedApplication(int& argc, char** argv);

  // Where the failure message goes; message boxes unless told otherwise.
  void set_failure_sink(linescan::MessageSink& sink) { failures_ = &sink; }

  bool notify(QObject* receiver, QEvent* event) override;

  // Called from a catch block: shows what was caught and ends the event loop.
  void report_failure();

 private:
  MessageBoxSink message_boxes_;
  linescan::MessageSink* failures_ = &message_boxes_;
};

// Runs the tag viewer: the window until it is closed. Always exit code 0.
int run_tagsieve(int argc, char** argv);

}  // namespace tagsieve
