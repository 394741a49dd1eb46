#pragma once

#include <QWidget>

#include "formkit/message_box.h"
#include "messaging/message_sink.h"

namespace formkit {

// The base of a tool's window: what the window tells the user goes to the
// sink it was given (a test's recorder) or, without one, to message boxes over
// the window.
class Form : public QWidget {
 public:
  explicit Form(messaging::MessageSink* messages, QWidget* parent)
      : QWidget(parent), message_boxes_(this), messages_(messages ? *messages : message_boxes_) {}

 protected:
  [[nodiscard]] messaging::MessageSink& messages() { return messages_; }

 private:
  MessageBoxSink message_boxes_;
  messaging::MessageSink& messages_;
};

}  // namespace formkit
