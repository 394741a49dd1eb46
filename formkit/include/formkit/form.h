#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// A form as both front ends build it: its window and its controls, laid out in
// pixels at 96 dpi, each front end scaling them to its screen. Texts are UTF-8.
// Each tool describes each of its forms once, here, and the Qt kit and the
// Win32 kit both build their windows from that one description.
namespace formkit {

enum class Kind {
  label,       // static text
  scroll_bar,  // horizontal scroll bar, 0 to `max`
  edit,        // single-line edit
  memo,        // multi-line edit with both scroll bars, no wrap
  button,      // push button
  check_box,   // check box that checks itself when clicked
  list_box,    // list box of `items`, several of which can be selected
};

// One control, placed within the form's client area.
struct Component {
  std::string_view name;
  Kind kind = Kind::label;
  // Every description gives the place and size.
  int left;
  int top;
  int width;
  int height;
  // A label's, button's or check box's caption; an edit's initial text.
  std::string_view text = {};
  // A label: the control it names, which screen readers then read it for.
  std::string_view label_for = {};
  // What screen readers call a control that no label names.
  std::string_view accessible_name = {};
  // What screen readers say of the control after its name.
  std::string_view description = {};
  // The control's place in the tab order; -1 for one that takes no focus.
  int tab = -1;
  int max = 0;   // scroll bar
  int page = 0;  // scroll bar: the step of Page Up and Page Down
  // A scroll bar that shows its position in a tooltip over the thumb as it moves.
  bool shows_value = false;
  bool enabled = true;
  // A hidden control is not drawn, takes no focus and is nothing to a screen reader.
  bool visible = true;
  bool read_only = false;
  bool checked = false;
  // Clicked by Enter wherever the focus is, but in a control that takes Enter itself.
  bool default_button = false;
  // Keeps its distance to all four sides of the client area as the form is resized.
  bool anchored = false;
  // Red in the low byte, green in the second, blue in the third.
  std::optional<std::uint32_t> background = std::nullopt;
  std::span<const std::string_view> items = {};  // list box
  int item_height = 0;                           // list box
};

struct Form {
  std::string_view caption;
  // Where the window opens on the screen.
  int left;
  int top;
  // The client area that the controls are laid out in.
  int client_width;
  int client_height;
  // A resizable form has a sizing border and a maximise button, and its outer
  // size and smallest outer size are given; a fixed one has a single border and
  // the minimise button only, and is sized to its client area.
  bool resizable = false;
  int width = 0;
  int height = 0;
  int min_width = 0;
  int min_height = 0;
  std::span<const Component> components;
};

// A window's place and outer size on the screen, in the screen's pixels.
struct Rect {
  int left;
  int top;
  int width;
  int height;
  bool operator==(const Rect&) const = default;
};

// Where a window that would open at `wanted` goes on a screen whose work area
// (the screen less its task bars) is `area`: at `wanted` where the whole
// window fits in the area; otherwise moved into it, and a resizable window
// first shrunk to it, but never below least_width by least_height. A window
// still larger than the area keeps its top left corner, its title, in view.
[[nodiscard]] constexpr Rect place_on_screen(Rect wanted, const Rect& area, bool resizable, int least_width,
                                             int least_height) {
  if (resizable) {
    wanted.width = std::max(std::min(wanted.width, area.width), least_width);
    wanted.height = std::max(std::min(wanted.height, area.height), least_height);
  }
  const auto within = [](int start, int size, int area_start, int area_size) {
    return std::max(area_start, std::min(start, area_start + area_size - size));
  };
  wanted.left = within(wanted.left, wanted.width, area.left, area.width);
  wanted.top = within(wanted.top, wanted.height, area.top, area.height);
  return wanted;
}

// A length of the description's, laid out at 96 dpi, on a screen of `dpi`,
// rounded to the nearest pixel, a half up, as Windows's MulDiv rounds.
[[nodiscard]] constexpr int scaled(int length, int dpi) {
  return length * dpi / 96 + (length * dpi % 96 >= 48 ? 1 : 0);
}

// Where a control goes on a screen of `dpi`, in a client area of
// client_width by client_height of that screen's pixels: the description's
// place, scaled; an anchored control keeps its scaled distances to the four
// sides, and shrinks to nothing, never less.
[[nodiscard]] constexpr Rect control_rect(const Form& form, const Component& control, int client_width, int client_height,
                                          int dpi) {
  Rect rect{scaled(control.left, dpi), scaled(control.top, dpi), scaled(control.width, dpi), scaled(control.height, dpi)};
  if (control.anchored) {
    rect.width = std::max(0, client_width - scaled(form.client_width - control.left - control.width, dpi) - rect.left);
    rect.height = std::max(0, client_height - scaled(form.client_height - control.top - control.height, dpi) - rect.top);
  }
  return rect;
}

// What moves a scroll bar's thumb, by key or by click: a line (1) or a page
// either way, or to either end.
enum class Scroll { line_left, line_right, page_left, page_right, to_left, to_right };

// The position that a scroll of a bar of 0 to max, at position, with Page Up
// and Page Down stepping by page, leads to: never outside 0 to max.
[[nodiscard]] constexpr int scrolled(Scroll scroll, int position, int page, int max) {
  switch (scroll) {
    case Scroll::line_left: return std::max(position - 1, 0);
    case Scroll::line_right: return std::min(position + 1, max);
    case Scroll::page_left: return std::max(position - page, 0);
    case Scroll::page_right: return std::min(position + page, max);
    case Scroll::to_left: return 0;
    case Scroll::to_right: return max;
  }
  return position;
}

}  // namespace formkit
