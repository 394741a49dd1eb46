#pragma once

#include <QWidget>

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "formkit/form.h"
#include "messaging/message_sink.h"
#include "qtkit/message_box.h"

namespace qtkit {

// The base of a tool's window, built from its form's description: the window,
// wholly on the screen it opens on (see formkit::place_on_screen), and its
// controls with their captions, places, states, tab order and accessible
// names, in the forms' font. The anchored control keeps its distances to the
// window's sides as it is resized. What the window tells the user goes to the
// sink it was given (a test's recorder) or, without one, to message boxes
// over the window.
class Form : public QWidget {
 public:
  Form(const formkit::Form& form, messaging::MessageSink* messages, QWidget* parent);

  // The control of that name and class; throws std::out_of_range for a name
  // not in the description.
  template <typename Widget>
  [[nodiscard]] Widget& control(std::string_view name) const {
    auto* widget = findChild<Widget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (widget == nullptr) throw std::out_of_range("no control named " + std::string(name));
    return *widget;
  }

 protected:
  [[nodiscard]] messaging::MessageSink& messages() { return messages_; }

  void resizeEvent(QResizeEvent* event) override;
  // Enter presses the focused push button or, elsewhere, the form's default
  // button, as in a Windows dialog; a control that takes Enter itself (a
  // multi-line pane) keeps it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void place_on_screen(const formkit::Form& form);
  void create_controls(const formkit::Form& form);

  MessageBoxSink message_boxes_;
  messaging::MessageSink& messages_;
  const formkit::Form& form_;
  // The anchored control, and its description.
  std::pair<QWidget*, const formkit::Component*> anchored_{};
};

}  // namespace qtkit
