// Each tool's form as the kit that is built makes it, checked against its
// description, and driven by the keys.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tagsieve/form1.h"
#include "tintmere/form1.h"
#include "window.h"

namespace {

using formkit::Kind;
using test_support::Key;

// A form as its layout table reads: the window, then each control's place,
// size, tab position and settings.
std::string layout(const formkit::Form& form) {
  std::ostringstream out;
  out << form.left << ',' << form.top << ' ' << form.client_width << 'x' << form.client_height;
  if (form.resizable) out << " outer " << form.width << 'x' << form.height << " least " << form.min_width << 'x' << form.min_height;
  for (const formkit::Component& c : form.components) {
    out << '\n' << c.name << ' ' << c.left << ',' << c.top << ' ' << c.width << 'x' << c.height << " tab " << c.tab;
    if (c.max > 0) out << " 0-" << c.max << " page " << c.page << (c.shows_value ? " shown" : "");
    if (c.background) out << " background " << *c.background;
    if (c.item_height > 0) out << ' ' << c.items.size() << " items of " << c.item_height;
    out << (c.enabled ? "" : " disabled") << (c.visible ? "" : " hidden") << (c.read_only ? " read-only" : "")
        << (c.checked ? " checked" : "") << (c.default_button ? " default" : "") << (c.anchored ? " anchored" : "");
  }
  return out.str();
}

// A window opens at its place where it fits wholly in the screen's work area;
// else it is moved in, and a resizable one shrunk, never below its least size.
TEST(PlaceOnScreen, KeepsTheWindowWhollyInTheWorkArea) {
  using formkit::Rect;
  const Rect area{0, 40, 1280, 760};  // below a top bar
  const struct {
    Rect wanted;
    bool resizable;
    Rect placed;
    int least_height = 260;
  } cases[] = {
      {{272, 178, 628, 532}, true, {272, 178, 628, 532}},    // fits
      {{0, 40, 1280, 760}, false, {0, 40, 1280, 760}},       // fills it exactly
      {{272, 267, 942, 798}, true, {272, 40, 942, 760}},     // too tall: up, and shrunk
      {{900, 500, 500, 400}, false, {780, 400, 500, 400}},   // past the corner: moved in
      {{-50, 10, 400, 300}, false, {0, 40, 400, 300}},       // before it: moved in
      {{100, 100, 2000, 1000}, true, {0, 40, 1280, 760}},    // shrunk to the area
      {{100, 100, 2000, 1000}, false, {0, 40, 2000, 1000}},  // too large to fit: its corner in view
      {{100, 100, 900, 900}, true, {100, 40, 900, 800}, 800},  // never below its least size
  };
  for (const auto& c : cases) {
    const Rect placed = formkit::place_on_screen(c.wanted, area, c.resizable, 625, c.least_height);
    EXPECT_EQ(placed, c.placed) << placed.left << ',' << placed.top << ' ' << placed.width << 'x' << placed.height;
  }
}

// Each form is laid out as the game's players have always had it.
TEST(Form1Layout, IsTheToolsOwn) {
  EXPECT_EQ(layout(tintmere::k_form1),
            "288,143 329x118\nScrollBar1 64,8 257x15 tab 0 0-255 page 16 shown\nLabel1 8,8 38x13 tab -1\n"
            "Label2 8,24 25x13 tab -1\nLabel3 8,40 27x13 tab -1\nScrollBar2 64,24 257x15 tab 1 0-255 page 16 shown\n"
            "ScrollBar3 64,40 257x15 tab 2 0-255 page 16 shown\nEdit1 8,64 313x21 tab 3 background 0 disabled read-only\n"
            "Button1 0,88 289x22 tab 4\nListBox1 8,120 313x57 tab 5 17 items of 13 hidden\nButton2 296,88 23x22 tab 6");
  EXPECT_EQ(layout(tagsieve::k_form1),
            "272,178 620x505 outer 628x532 least 625x260\nRichEdit1 0,48 619x457 tab 0 anchored\nLabel1 8,0 151x13 tab -1\n"
            "Edit1 168,0 449x21 tab 1\nLabel2 8,24 84x13 tab -1\nEdit2 168,24 137x21 tab 2\n"
            "CheckBox1 312,24 185x17 tab 3 checked\nButton1 504,24 113x17 tab 4 default");
}

class Form1 : public testing::TestWithParam<const formkit::Form*> {
 protected:
  const formkit::Form& description = *GetParam();
  int events = 0;
  std::unique_ptr<test_support::KitForm> form = test_support::make_form(description, [this] { ++events; });
  test_support::Window window{*form};
};

INSTANTIATE_TEST_SUITE_P(BothTools, Form1, testing::Values(&tintmere::k_form1, &tagsieve::k_form1));

// Every control where the description puts it, with its text and state; a
// caption takes the room it needs in the forms' font (a label its own width, a
// check box at least the width laid out); the focus starts on the first in the
// tab order and Tab and Shift+Tab go round it, past what is disabled or hidden.
TEST_P(Form1, IsBuiltAsDescribedAndTabGoesRoundItsTabOrder) {
  std::map<int, std::string_view> tab_order;
  for (const formkit::Component& component : description.components) {
    const test_support::Seen seen = window.seen(component.name);
    const bool sized_by_caption = component.kind == Kind::label || component.kind == Kind::check_box;
    EXPECT_EQ(seen, (test_support::Seen{component.left, component.top, sized_by_caption ? seen.width : component.width,
                                        component.height, std::string(component.text), component.visible, component.enabled,
                                        component.checked}))
        << component.name;
    EXPECT_GE(seen.width, component.kind == Kind::label ? 0 : component.width);
    if (component.tab >= 0 && component.visible && component.enabled) tab_order[component.tab] = component.name;
  }
  for (std::size_t step = 0; step <= tab_order.size(); ++step) {
    EXPECT_TRUE(window.has_focus(std::next(tab_order.begin(), step % tab_order.size())->second)) << step;
    window.press(Key::tab);
  }
  window.press(Key::shift_tab);
  EXPECT_TRUE(window.has_focus(tab_order.begin()->second));
}

// The keys step a slider as a Windows scroll bar's do, its value shows, and its
// handler runs once for each change, only then.
TEST(Form1Keys, StepASliderWithinItsRange) {
  int events = 0;
  const auto form = test_support::make_form(tintmere::k_form1, [&] { ++events; });
  test_support::Window window(*form);
  const struct {
    Key key;
    int from;
    int to;
  } cases[] = {{Key::right, 0, 1}, {Key::down, 0, 1},     {Key::left, 5, 4},   {Key::up, 5, 4},     {Key::page_down, 0, 16},
               {Key::page_up, 20, 4}, {Key::page_up, 3, 0}, {Key::page_down, 250, 255}, {Key::end, 0, 255}, {Key::home, 200, 0},
               {Key::right, 255, 255}};
  for (const auto& c : cases) {
    window.slide("ScrollBar1", c.from);
    const int before = events;
    window.press(c.key);
    EXPECT_EQ(std::tuple(window.position("ScrollBar1"), window.tip(), events - before),
              std::tuple(c.to, std::to_string(c.to), c.to == c.from ? 0 : 1))
        << static_cast<int>(c.key) << " from " << c.from;
  }
}

// Enter, on the keypad too, clicks the focused button or else the default
// one, but a pane takes it as a new line; Escape closes nothing.
TEST(Form1Keys, EnterClicksTheDefaultButtonButIsANewLineInThePane) {
  int clicks = 0;
  const auto form = test_support::make_form(tagsieve::k_form1, [&] { ++clicks; });
  test_support::Window window(*form);
  for (const auto& [focus, key, expected] : {std::tuple("Edit1", Key::enter, 1), std::tuple("CheckBox1", Key::keypad_enter, 2),
                                             std::tuple("RichEdit1", Key::enter, 2), std::tuple("RichEdit1", Key::escape, 2)}) {
    while (!window.has_focus(focus)) window.press(Key::tab);
    window.press(key);
    EXPECT_EQ(clicks, expected) << focus;
  }
  EXPECT_EQ(window.seen("RichEdit1").text, "\n");
}

}  // namespace
