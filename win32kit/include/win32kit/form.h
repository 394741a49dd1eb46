#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "formkit/form.h"
#include "messaging/message_sink.h"
#include "win32kit/message_box.h"

namespace win32kit {

class Form;

// A form's event handler: a member function of the form.
using Handler = void (Form::*)();

// Turns a handler of a form class into the base's kind.
template <typename Derived>
constexpr Handler handler(void (Derived::*member)()) {
  return static_cast<Handler>(member);
}

// The base of a tool's window, built from its form's description: the window,
// wholly in its screen's work area (see formkit::place_on_screen), its
// controls, their font, colours and tab order, the scroll bars' steps and the
// anchored controls' sizes, all scaled to the dots per inch of the screen the
// window is on, and scaled again when it moves to another. Each label comes
// just before the control it names in the window order, where screen
// readers look for a control's name. A handler bound to a control runs when a
// scroll bar's position has changed or a button is clicked.
// What the window tells the user goes to the sink it was given (a test's
// recorder) or, without one, to message boxes over the window. An exception
// from a handler never leaves the window procedure: it is shown through the
// same sink and the message loop then ends.
class Form {
 public:
  Form(const formkit::Form& form, messaging::MessageSink* messages);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  [[nodiscard]] HWND handle() const { return window_; }
  // The control of that name; throws std::out_of_range for a name not in the description.
  [[nodiscard]] HWND control(std::string_view name) const;
  // Ends the message loop when the window is closed.
  void quit_when_closed() { quit_when_closed_ = true; }

 protected:
  [[nodiscard]] messaging::MessageSink& messages() { return messages_; }
  // Runs on_event on the named control's event; throws std::out_of_range
  // for a name not in the description.
  void bind(std::string_view name, Handler on_event);
  void set_background(HWND control, COLORREF colour);
  // Tells screen readers what to say of a control after its name from now on.
  void describe(HWND control, std::string_view utf8);

  // A message the form itself answers before the defaults; true when it did.
  virtual bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

 private:
  // Controls are numbered from here in the order of the description.
  static constexpr int k_first_id = 100;

  struct Control {
    const formkit::Component* component;
    HWND window;
    Handler on_event = nullptr;
    HBRUSH brush = nullptr;
    COLORREF colour = 0;
    std::string description;
  };

  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  void create_controls(const formkit::Form& form);
  // Destroys the window and what was made for its controls.
  void release();
  [[nodiscard]] Control* find(HWND window);
  // The control of that name; throws std::out_of_range for a name not in the description.
  [[nodiscard]] Control& named(std::string_view name);
  void fit_caption(const Control& control);
  // A scroll bar's request: its code, and for the thumb where it was dragged to.
  void scroll(Control& bar, int code, int thumb);
  void follow_size();
  // Sets every control's place, font and caption's room for the form's
  // dots per inch.
  void lay_out();
  // A length of the description's, at 96 dpi, on this form's screen.
  [[nodiscard]] int scaled(int length) const { return formkit::scaled(length, dpi_); }
  void change_dpi(int dpi, const RECT& suggested);
  // The position of a scroll bar that shows its value, in the tooltip kept
  // for it, over the thumb; shown only while the form is, for a while.
  void show_value(const Control& bar, int position, int max);
  void hide_value();

  MessageBoxSink message_boxes_;
  messaging::MessageSink& messages_;
  HFONT font_ = nullptr;
  HWND window_ = nullptr;
  HWND focus_ = nullptr;      // the control that gets the focus back when the window is activated
  HWND value_tip_ = nullptr;  // made when first needed
  std::vector<Control> controls_;
  const formkit::Form* form_;
  int dpi_ = 96;
  bool quit_when_closed_ = false;
};

}  // namespace win32kit
