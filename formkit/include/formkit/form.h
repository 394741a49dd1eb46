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
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
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
  int left = 0;
  int top = 0;
  // The client area that the controls are laid out in.
  int client_width = 0;
  int client_height = 0;
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
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
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

}  // namespace formkit
