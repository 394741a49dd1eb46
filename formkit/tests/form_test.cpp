// A form of the tests' own as the kit that is built makes it, driven by the keys.
#include <gtest/gtest.h>

#include <map>

#include "window.h"

namespace {

using formkit::Component;
using formkit::Kind;
using test_support::Key;

// clang-format off
// A slider first in the tab order, a box, a check box, a disabled button and
// a hidden one, which the focus passes by, a pane and a default button.
constexpr Component k_controls[] = {
    {.name = "Button1", .kind = Kind::button, .left = 200, .top = 8, .width = 90, .height = 21, .tab = 6, .default_button = true},
    {.name = "RichEdit1", .kind = Kind::memo, .left = 8, .top = 40, .width = 280, .height = 150, .tab = 5, .anchored = true},
    {.name = "Button3", .kind = Kind::button, .left = 100, .top = 8, .width = 40, .height = 21, .tab = 4, .visible = false},
    {.name = "Button2", .kind = Kind::button, .left = 150, .top = 8, .width = 40, .height = 21, .tab = 3, .enabled = false},
    {.name = "CheckBox1", .kind = Kind::check_box, .left = 100, .top = 8, .width = 40, .height = 17, .tab = 2},
    {.name = "Edit1", .kind = Kind::edit, .left = 50, .top = 8, .width = 40, .height = 21, .tab = 1},
    {.name = "ScrollBar1", .kind = Kind::scroll_bar, .left = 8, .top = 8, .width = 40, .height = 17, .tab = 0, .max = 255, .page = 16},
};
// clang-format on
constexpr formkit::Form k_resizable{.caption = "Essai", .left = 0, .top = 0, .client_width = 300, .client_height = 200,
                                    .resizable = true, .width = 308, .height = 227, .min_width = 200, .min_height = 100,
                                    .components = k_controls};
// The same controls, but for the default button, in a form of fixed size.
constexpr formkit::Form k_fixed{.caption = "Essai", .left = 0, .top = 0, .client_width = 300, .client_height = 200,
                                .components = std::span(k_controls).subspan(1)};

// The focus starts on the first control in the tab order, and Tab and
// Shift+Tab go round it, past what is disabled or hidden; only a resizable
// form may be resized.
TEST(Form, TabGoesRoundItsTabOrder) {
  for (const formkit::Form* description : {&k_resizable, &k_fixed}) {
    const auto form = test_support::make_form(*description, [] {});
    test_support::Window window(*form);
    EXPECT_EQ(window.resizable(), description->resizable);
    std::map<int, std::string_view> order;
    for (const Component& control : description->components) {
      if (control.tab >= 0 && control.visible && control.enabled) order[control.tab] = control.name;
    }
    for (std::size_t step = 0; step <= order.size(); ++step) {
      EXPECT_TRUE(window.has_focus(std::next(order.begin(), step % order.size())->second)) << step;
      window.press(Key::tab);
    }
    window.press(Key::shift_tab);
    EXPECT_TRUE(window.has_focus(order.begin()->second));
  }
}

// Enter, on the keypad too, clicks the focused button or else the default
// one, but a pane takes it as a new line; Escape closes nothing. A form with
// no default button clicks nothing at Enter on a slider.
TEST(Form, EnterClicksTheDefaultButtonButIsANewLineInThePane) {
  int clicks = 0;
  const auto form = test_support::make_form(k_resizable, [&] { ++clicks; });
  test_support::Window window(*form);
  for (const auto& [focus, key, expected] : {std::tuple("Edit1", Key::enter, 1), std::tuple("CheckBox1", Key::keypad_enter, 2),
                                             std::tuple("RichEdit1", Key::enter, 2), std::tuple("RichEdit1", Key::escape, 2)}) {
    while (!window.has_focus(focus)) window.press(Key::tab);
    window.press(key);
    EXPECT_EQ(clicks, expected) << focus;
  }
  EXPECT_EQ(window.text("RichEdit1"), "\n");
  const auto fixed = test_support::make_form(k_fixed, [&] { ++clicks; });
  test_support::Window(*fixed).press(Key::enter);
  EXPECT_EQ(clicks, 2);
}

}  // namespace
