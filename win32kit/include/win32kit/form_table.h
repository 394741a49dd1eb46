#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

namespace win32kit {

class Form;

// A form's event handler: a member function of the form, named in its table.
using Handler = void (Form::*)();

// Turns a handler of a form class into the table's kind.
template <typename Derived>
constexpr Handler handler(void (Derived::*member)()) {
  return static_cast<Handler>(member);
}

enum class Kind {
  label,       // static text
  scroll_bar,  // horizontal scroll bar, 0 to `max`
  edit,        // single-line edit
  memo,        // multi-line edit with both scroll bars, no wrap
  button,      // push button
  check_box,   // check box that checks itself when clicked
  list_box,    // list box of `items`, several of which can be selected
};

// One control, laid out in pixels at 96 dpi within the form's client area;
// the form scales it to its screen's dots per inch.
struct Component {
  std::wstring_view name;
  Kind kind = Kind::label;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  // A label's, button's or check box's caption; an edit's initial text.
  std::wstring_view text = {};
  // A label: the control it names, which screen readers then read it for.
  std::wstring_view label_for = {};
  // What screen readers call a control that no label names.
  std::wstring_view accessible_name = {};
  // What screen readers say of the control after its name.
  std::wstring_view description = {};
  // The control's place in the tab order; -1 for one that takes no focus.
  int tab = -1;
  // Runs when a scroll bar's position has changed, or a button is clicked.
  Handler on_event = nullptr;
  int max = 0;   // scroll bar
  int page = 0;  // scroll bar: the step of Page Up and Page Down
  // A scroll bar that shows its position in a tooltip over the thumb as it moves.
  bool shows_value = false;
  bool enabled = true;
  // A hidden control is not drawn and takes no focus.
  bool visible = true;
  bool read_only = false;
  bool checked = false;
  // Clicked by Enter wherever the focus is, but in a control that takes Enter itself.
  bool default_button = false;
  // Keeps its distance to all four sides of the client area as the form is resized.
  bool anchored = false;
  std::optional<COLORREF> background = std::nullopt;
  std::span<const std::string_view> items = {};  // list box, UTF-8
  int item_height = 0;                           // list box
};

// A form: its window and its controls, in pixels at 96 dpi.
struct FormTable {
  std::wstring_view caption;
  int left = 0;
  int top = 0;
  // The client area that the controls are laid out in.
  int client_width = 0;
  int client_height = 0;
  // A resizable form has a sizing border and maximise button, and its window
  // size, outer and smallest, is given; a fixed one, a single border and the
  // minimise button only, and is sized to its client area.
  bool resizable = false;
  int width = 0;
  int height = 0;
  int min_width = 0;
  int min_height = 0;
  std::span<const Component> components;
};

}  // namespace win32kit
