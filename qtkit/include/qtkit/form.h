#pragma once

#include <QMargins>
#include <QWidget>

#include "messaging/message_sink.h"
#include "qtkit/message_box.h"

namespace qtkit {

// The base of a tool's window: what the window tells the user goes to the
// sink it was given (a test's recorder) or, without one, to message boxes over
// the window.
class Form : public QWidget {
 public:
  explicit Form(messaging::MessageSink* messages, QWidget* parent)
      : QWidget(parent), message_boxes_(this), messages_(messages ? *messages : message_boxes_) {}

 protected:
  [[nodiscard]] messaging::MessageSink& messages() { return messages_; }

  // Keeps widget at the distances to the form's four sides that the form
  // lays it out at, so that it grows and shrinks with the form.
  void anchor(QWidget& widget);
  void resizeEvent(QResizeEvent* event) override;
  // Enter presses the focused push button or, elsewhere, the form's default
  // button, as in a Windows dialog; a control that takes Enter itself (a
  // multi-line pane) keeps it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MessageBoxSink message_boxes_;
  messaging::MessageSink& messages_;
  QWidget* anchored_ = nullptr;
  QMargins anchored_margins_;
};

}  // namespace qtkit
