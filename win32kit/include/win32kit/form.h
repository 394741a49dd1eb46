#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "messaging/message_sink.h"
#include "win32kit/form_table.h"
#include "win32kit/message_box.h"

namespace win32kit {

// The base of a tool's window, built from its table: the window, its
// controls, their font, colours and tab order, the scroll bars' steps and the
// anchored controls' sizes, all scaled to the dots per inch of the screen the
// window is on, and scaled again when it moves to another. Each label comes
// just before the control it names in the window order, where screen
// readers look for a control's name. Handlers named in the table run on their events.
// What the window tells the user goes to the sink it was given (a test's
// recorder) or, without one, to message boxes over the window. An exception
// from a handler never leaves the window procedure: it is shown through the
// same sink and the message loop then ends.
class Form {
 public:
  Form(const FormTable& table, messaging::MessageSink* messages);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  [[nodiscard]] HWND handle() const { return window_; }
  // The table the form was built from.
  [[nodiscard]] const FormTable& table() const { return *table_; }
  // The control of that name; throws std::out_of_range for a name not in the table.
  [[nodiscard]] HWND control(std::wstring_view name) const;
  // Ends the message loop when the window is closed.
  void quit_when_closed() { quit_when_closed_ = true; }

 protected:
  [[nodiscard]] messaging::MessageSink& messages() { return messages_; }
  void set_background(HWND control, COLORREF colour);

  // A message the form itself answers before the defaults; true when it did.
  virtual bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

 private:
  // Controls are numbered from here in the order of the table.
  static constexpr int k_first_id = 100;

  struct Control {
    const Component* component;
    HWND window;
    HBRUSH brush = nullptr;
    COLORREF colour = 0;
  };

  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  void create_controls(const FormTable& table);
  // Destroys the window and what was made for its controls.
  void release();
  [[nodiscard]] Control* find(HWND window);
  void fit_caption(const Control& control);
  // A scroll bar's request: its code, and for the thumb where it was dragged to.
  void scroll(Control& bar, int code, int thumb);
  void follow_size();
  // Sets every control's place, font and caption's room for the form's
  // dots per inch.
  void lay_out();
  // A length of the table's, at 96 dpi, on this form's screen.
  [[nodiscard]] int scaled(int length) const { return MulDiv(length, dpi_, 96); }
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
  const FormTable* table_;
  int dpi_ = 96;
  bool quit_when_closed_ = false;
};

}  // namespace win32kit
